#pragma once
// The debits raised during the year, Debit.dbf: a tax object bought or sold, a vehicle
// registered or deregistered, a one-off increase, decrease or fee, each with the object it
// describes. SUMAINI is the amount as established (signed) and SUMAC what is still to collect:
// payments lower SUMAC only, so their difference is what was collected.
//
// The writers run one statement each inside the caller's transaction; they throw
// vartesa::Error and a statement that fails changes nothing.

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <utility>
#include <vector>

namespace vartesa {

class StoredFields;
namespace db {
class Database;
class Query;
}

/// The CAMP/VAL pairs a debit row holds.
constexpr int kDebitPairs = 8;

/// The columns of Debit.dbf (the pairs are CAMP1, VAL1 ... CAMP8, VAL8).
struct DebitColumns {
    static inline const QString id = QStringLiteral("IDDEB");
    static inline const QString role = QStringLiteral("IDGOS");
    static inline const QString tax = QStringLiteral("GRUPA");
    static inline const QString explanation = QStringLiteral("DOCJUS");
    static inline const QString docNumber = QStringLiteral("NR");
    static inline const QString kind = QStringLiteral("CATEG");
    static inline const QString name = QStringLiteral("DENUM");
    static inline const QString from = QStringLiteral("DINDATA");
    static inline const QString monthStart = QStringLiteral("PENDATA");
    static inline const QString file = QStringLiteral("FISIER");
    static inline const QString amount = QStringLiteral("SUMAINI");
    static inline const QString toCollect = QStringLiteral("SUMAC");
    /// CAMP<n> and VAL<n>, n from 1 to kDebitPairs.
    static QString pairField(int n) { return QStringLiteral("CAMP%1").arg(n); }
    static QString pairValue(int n) { return QStringLiteral("VAL%1").arg(n); }
};

/// The description stored with a debit: the declaration-page fields its object occupies.
struct DebitObject {
    QString name;                                   // DENUM
    QString file;                                   // FISIER
    std::vector<std::pair<QString, QString>> pairs; // CAMP<n>, VAL<n> by position n (at most 8); a
                                                    // pair with an empty CAMP names no field
};

/// One row of Debit.dbf. Texts are as stored (trailing blanks dropped); the pairs come trimmed,
/// each at its position, up to the last one that holds anything.
struct YearDebit {
    qint64 id = 0;         // IDDEB
    qint64 roleId = 0;     // IDGOS
    QString tax;           // GRUPA: one of the four main taxes
    QString explanation;   // DOCJUS
    qint64 docNumber = 0;  // NR
    QString kind;          // CATEG
    DebitObject object;    // DENUM, FISIER and the CAMP/VAL pairs
    QDate from;            // DINDATA
    QDate monthStart;      // PENDATA: first day of the month of DINDATA
    qint64 amount = 0;     // SUMAINI, signed
    qint64 toCollect = 0;  // SUMAC

    /// A receipt, order or note was booked on the debit.
    bool hasOperation() const { return amount != toCollect; }
};

/// Every column of Debit.dbf, in the order of the file the program creates.
const QStringList& DebitColumnNames();
/// The values of `debit` in the order of DebitColumnNames().
QVariantList YearDebitValues(const YearDebit& debit);
/// The debit in stored fields.
YearDebit YearDebitFrom(const StoredFields& fields);

/// How the debits of a role come.
enum class DebitOrder {
    Stored, // in record order
    ByTax,  // by GRUPA, DINDATA and IDDEB
};

/// Every debit of role `roleId`.
std::vector<YearDebit> ReadYearDebits(db::Database& db, const QString& dataFolder, qint64 roleId,
                                      DebitOrder order = DebitOrder::Stored);
/// Every debit of the table in record order (a run over many roles).
std::vector<YearDebit> ReadAllYearDebits(db::Database& db, const QString& dataFolder);
/// The role's debits with something left to collect (SUMAC not 0), in record order.
std::vector<YearDebit> ReadOpenYearDebits(db::Database& db, const QString& dataFolder, qint64 roleId);
/// The debits numbered IDDEB `id` in record order: one, or none when it is gone.
std::vector<YearDebit> ReadYearDebitsWithId(db::Database& db, const QString& dataFolder, qint64 id);
/// Every column of the role's debits exactly as the file holds them, by tax: for the command
/// line's dump of the table.
db::Query YearDebitRowsAsStored(db::Database& db, const QString& dataFolder, qint64 roleId);

/// Adds `debit` with every field as given (its IDDEB drawn by the caller).
void InsertYearDebit(db::Database& db, const QString& dataFolder, const YearDebit& debit);
/// Rewrites every field after IDGOS of the stored debit `debit.id`.
void UpdateYearDebit(db::Database& db, const QString& dataFolder, const YearDebit& debit);
/// Sets what is still to collect (SUMAC) on debit `id` of role `roleId`: a payment lowers it,
/// a cancellation gives it back.
void SetDebitRemainder(db::Database& db, const QString& dataFolder, qint64 roleId, qint64 id, qint64 toCollect);
/// Deletes debit `id`.
void DeleteYearDebit(db::Database& db, const QString& dataFolder, qint64 id);

} // namespace vartesa
