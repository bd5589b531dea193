#pragma once
// Sate.lst: the villages offered by the add/edit form, one name a line, in the order they
// were added. Windows-1250 with CRLF line ends as the other workstations expect; LF alone
// is read too.

#include <QString>
#include <QStringList>

namespace vartesa {

/// The names in the file, blank lines skipped; empty when there is no file.
QStringList ReadVillageList(const QString& path);
/// Replaces the file with the names, each ended by CRLF. Throws vartesa::Error when the
/// file cannot be written; the old file then stays.
void WriteVillageList(const QString& path, const QStringList& villages);

} // namespace vartesa
