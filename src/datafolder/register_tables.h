#pragma once
// The tables of the agricultural register as the register's own program writes them, read
// by field name whatever their type and width: a number may be kept as N or F, a year as a
// number or as text, and a table may hold memo fields and others our codec does not write.
// Those are skipped, not refused; a table whose header disagrees with its size is refused.
// Also the writer of such tables for the demonstration register and the tests.

#include "db/dbf_format.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

namespace vartesa {

/// One register table held in memory, its live records in file order.
class RegisterTable {
public:
    /// The table `file` of `folder` (the name matched without regard to case); nothing when
    /// the folder has no such file. Throws vartesa::Error for a file that is no dBase table
    /// or is damaged ("Tabela X este deteriorata: ...").
    static std::optional<RegisterTable> open(const QString& folder, const QString& file);

    int rowCount() const { return int(records_.size()); }
    bool hasField(const QString& field) const { return fieldIndex(field) >= 0; }
    /// The field's text, trimmed; "" when the table lacks it or its type is unknown.
    QString text(int row, const QString& field) const;
    /// The field's number, from a number field or from a text holding one; nothing when it
    /// is blank, unreadable or missing.
    std::optional<double> number(int row, const QString& field) const;

private:
    int fieldIndex(const QString& field) const;
    const char* cell(int row, int field) const;

    QByteArray bytes_;             // the whole file
    db::Layout layout_;            // as its header describes it
    std::vector<int> records_;     // byte offset of each live record
};

/// One field of a table to write: the codec's types only.
using RegisterField = db::Field;

/// Writes a new dBase table at `path` (replacing it) with `fields` and `rows` (values in
/// field order; texts cut to the field on purpose, numbers must fit). Throws vartesa::Error.
void WriteRegisterTable(const QString& path, const std::vector<RegisterField>& fields,
                        const std::vector<QVariantList>& rows);

} // namespace vartesa
