#pragma once
// The summonses and enforcement titles, Somatii.dbf, and their lines per claim, SomDet.dbf.
// A summons is issued "NU" and unconfirmed (DATACONF 0); the delivery date and way are
// recorded on it later, or it is cancelled ("DA") with a reason. Rows are never deleted.
//
// Dates are stored as day numbers (whole days since 30.12.1899): a value above 99 is a date,
// lower values mean none; a confirmation counts when above 1000. The writers run one
// statement each inside the caller's transaction and bind every value.

#include <QDate>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace vartesa {

namespace db {
class Database;
}

/// The columns of Somatii.dbf.
struct SummonsColumns {
    static inline const QString id = QStringLiteral("IDSOM");
    static inline const QString role = QStringLiteral("IDGOS");
    static inline const QString number = QStringLiteral("NR");
    static inline const QString issued = QStringLiteral("DINDATA");
    static inline const QString total = QStringLiteral("SUMA");
    static inline const QString confirmed = QStringLiteral("DATACONF");
    static inline const QString way = QStringLiteral("TIPCONF");
    static inline const QString cancelled = QStringLiteral("ANULAT");
    static inline const QString reason = QStringLiteral("OBS");
};

/// The columns of SomDet.dbf.
struct SummonsLineColumns {
    static inline const QString summons = QStringLiteral("IDSOM");
    static inline const QString role = QStringLiteral("IDGOS");
    static inline const QString group = QStringLiteral("GRUPA");
    static inline const QString due = QStringLiteral("TERMEN");
    static inline const QString arrears = QStringLiteral("RAMASITA");
    static inline const QString current = QStringLiteral("CURENT");
    static inline const QString increments = QStringLiteral("ACCESORII");
    static inline const QString document = QStringLiteral("DOCJUS");
};

/// "DA" / "NU" of ANULAT.
inline const QString kSummonsCancelled = QStringLiteral("DA");
inline const QString kSummonsStanding = QStringLiteral("NU");

/// One row of Somatii.dbf.
struct SummonsRecord {
    qint64 id = 0;           // IDSOM
    qint64 roleId = 0;       // IDGOS
    qint64 number = 0;       // NR, always IDSOM
    QDate issued;            // DINDATA; invalid when the stored day number is 99 or less
    std::int64_t total = 0;  // SUMA, lei
    QDate confirmed;         // DATACONF; invalid when not above 1000
    QString way;             // TIPCONF: "POSTA", "INTERNET" or empty
    QString cancelled;       // ANULAT: "DA" or "NU"
    QString reason;          // OBS
    bool isCancelled() const { return cancelled.trimmed() == kSummonsCancelled; }
};

/// One line of a summons (SomDet.dbf and the lines prepared before it is stored).
struct SummonsLine {
    QString group;              // GRUPA
    QDate due;                  // TERMEN
    std::int64_t arrears = 0;   // RAMASITA
    std::int64_t current = 0;   // CURENT
    std::int64_t increments = 0; // ACCESORII
    QString document;           // DOCJUS
    std::int64_t total() const { return arrears + current + increments; }
    bool operator==(const SummonsLine&) const = default;
};

/// Day number <-> date as these tables store them.
qint64 SummonsDay(const QDate& date);
QDate SummonsDate(qint64 day, qint64 above = 99);

/// The summons `id`, if stored.
std::optional<SummonsRecord> ReadSummons(db::Database& db, const QString& dataFolder, qint64 id);
/// The lowest-numbered summons of role `roleId` that is delivered and not cancelled: it
/// blocks a new one.
std::optional<SummonsRecord> FindOpenSummons(db::Database& db, const QString& dataFolder, qint64 roleId);
/// Whether a summons numbered `id` is stored, and the highest IDSOM (0 without any).
bool SummonsStored(db::Database& db, const QString& dataFolder, qint64 id);
qint64 HighestSummonsId(db::Database& db, const QString& dataFolder);
/// The lines of summons `id`, in stored order.
std::vector<SummonsLine> ReadSummonsLines(db::Database& db, const QString& dataFolder, qint64 id);

/// Adds the summons row and its lines.
void InsertSummons(db::Database& db, const QString& dataFolder, const SummonsRecord& summons);
void InsertSummonsLine(db::Database& db, const QString& dataFolder, qint64 id, qint64 roleId, const SummonsLine& line);
/// Records the delivery of summons `id`; returns the rows changed (0: none such).
int SetSummonsDelivery(db::Database& db, const QString& dataFolder, qint64 id, const QDate& day, const QString& way);
/// Cancels summons `id` with `reason`; returns the rows changed.
int SetSummonsCancelled(db::Database& db, const QString& dataFolder, qint64 id, const QString& reason);
/// Takes the folder's write lock for the running transaction (a statement changing no row).
void LockSummonses(db::Database& db, const QString& dataFolder);

} // namespace vartesa
