#pragma once
// The choices behind the lists to collect ("Lista de incasat"): the villages offered and the
// check of the chosen village and date.

#include <QDate>
#include <QString>
#include <QStringList>

namespace vartesa {

namespace db {
class Database;
}

/// The first entry of the village list: every village.
inline const QString kAnyVillage = QStringLiteral(" * indiferent *");

/// The villages of Sate.lst in the data folder; when the file is missing, the distinct
/// villages of GOSPODAR.dbf in ascending order, and the file is written with them.
QStringList CollectionListVillages(db::Database& db, const QString& dataFolder);

/// The check of "Arata Lista": "Nu ati ales satul!" without a village, "Data aleasa nu poate
/// fi din trecut!" for a date before `today`; empty when the choice is accepted.
QString CheckCollectionListChoice(const QString& village, const QDate& date, const QDate& today);

} // namespace vartesa
