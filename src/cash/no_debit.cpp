#include "cash/no_debit.h"

#include "cash/receipt_numbers.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "roles/role_checks.h"
#include "shell/counters.h"
#include "shell/table_helpers.h"
#include "shell/text_helpers.h"
#include "shell/table_files.h"

#include <numeric>

namespace vartesa {

namespace {

const QString kServer = QStringLiteral("SERVER");
const QString kOrderKey = QStringLiteral("OP");
const QString kReceiptKey = QStringLiteral("CHIT");

// A legal person is identified by its fiscal code; the personal numeric code is for persons.
bool acceptableCode(const QString& code, bool physical) {
    if (code.isEmpty() || IsValidCnp(code)) return true;
    return !physical && IsValidFiscalCode(code);
}

} // namespace

NoDebitNumbering ReadNoDebitNumbering(const CountersFile& counters, const QString& user, NoDebitType type) {
    if (type == NoDebitType::Payment)
        return {QString(), counters.ReadCounter(kServer, kOrderKey, QStringLiteral("1")).toLongLong()};
    return {counters.ReadCounter(user, QStringLiteral("SERIA")),
            counters.ReadCounter(user, kReceiptKey, QStringLiteral("1")).toLongLong()};
}

std::optional<NoDebitProblem> NoDebitDocument::setType(NoDebitType type) {
    if (type == type_) return std::nullopt;
    if (!lines_.empty())
        return NoDebitProblem{NoDebitField::Type, QStringLiteral("Stergeti mai intai liniile de pe chitanta!")};
    type_ = type;
    return std::nullopt;
}

std::optional<NoDebitProblem> NoDebitDocument::addLine(const QString& account, const QString& details,
                                                       std::int64_t amount) {
    if (amount <= 0) return NoDebitProblem{NoDebitField::Amount, QStringLiteral("Nu ati trecut suma!")};
    if (account.trimmed().isEmpty()) return NoDebitProblem{NoDebitField::Account, QStringLiteral("Nu ales grupa!")};
    NoDebitLine l{++counter_, {}};
    l.line.group = account.left(60);
    l.line.name = details.trimmed().left(50);
    l.line.current = l.line.total = amount;
    lines_.push_back(l);
    return std::nullopt;
}

void NoDebitDocument::removeLine(int nrcrt) {
    std::erase_if(lines_, [nrcrt](const NoDebitLine& l) { return l.nrcrt == nrcrt; });
}

std::int64_t NoDebitDocument::total() const {
    return std::accumulate(lines_.begin(), lines_.end(), std::int64_t(0),
                           [](std::int64_t sum, const NoDebitLine& l) { return sum + l.amount(); });
}

QStringList NoDebitAccounts(db::Database& db, const QString& dataFolder) {
    db::Query q = db.query(QStringLiteral("SELECT DISTINCT GRUPA FROM \"%1\" WHERE TIP IS NULL OR "
                                          "TRIM(TIP) <> 'I' ORDER BY GRUPA")
                               .arg(dataFolder + '/' + tables::BudgetCodes));
    QStringList out;
    for (q.first(); !q.eof(); q.next())
        if (const QString g = q.text(QStringLiteral("GRUPA")).trimmed(); !g.isEmpty()) out << g;
    return out;
}

std::optional<NoDebitProblem> CheckNoDebitDocument(const NoDebitDocument& document, const NoDebitPayer& payer) {
    if (document.lines().empty())
        return NoDebitProblem{NoDebitField::Grid, QStringLiteral("Nu aveti nimic pe chitanta!")};
    if (CollapseSpaces(payer.holder).isEmpty())
        return NoDebitProblem{NoDebitField::Holder, QStringLiteral("Nu ati specificat Titularul!")};
    if (!acceptableCode(payer.code.trimmed(), payer.physical))
        return NoDebitProblem{NoDebitField::Code, QStringLiteral("C.N.P. incorect!")};
    if (CollapseSpaces(payer.address).isEmpty())
        return NoDebitProblem{NoDebitField::Address, QStringLiteral("Lipseste adresa!")};
    if (CollapseSpaces(payer.payer).isEmpty())
        return NoDebitProblem{NoDebitField::Payer, QStringLiteral("Lipseste numele platitorului!")};
    // What the tables cannot hold would be stored as "?".
    const std::pair<NoDebitField, const QString*> texts[] = {{NoDebitField::Holder, &payer.holder},
                                                             {NoDebitField::Address, &payer.address},
                                                             {NoDebitField::Payer, &payer.payer}};
    for (const auto& [field, text] : texts)
        if (const QString bad = UnstorableCharacter(*text); !bad.isEmpty())
            return NoDebitProblem{field,
                                  QStringLiteral("Textul contine caracterul \"%1\", care nu se poate memora!").arg(bad)};
    return std::nullopt;
}

StoredNoDebit StoreNoDebitDocument(db::Database& db, const QString& dataFolder, CountersFile& counters,
                                   const NoDebitDocument& document, const QDate& date, const NoDebitPayer& payer,
                                   const QString& cashier, const QString& badge,
                                   const std::function<void()>& beforeCommit) {
    const bool receipt = document.type() == NoDebitType::Collection;
    StoredNoDebit numbers;
    const NumberSeries series =
        receipt ? NumberSeries{cashier, kReceiptKey, counters.ReadCounter(cashier, QStringLiteral("SERIA")).trimmed()}
                : NumberSeries{kServer, kOrderKey, QString()};
    numbers.series = series.series;
    numbers.idchit = counters.NextId(kServer, QStringLiteral("IDCHIT")).toLongLong();

    const QString table = ReceiptsTable(dataFolder);
    db::Transaction transaction(db);
    // The number is the first free one under the write lock; the counter follows once the
    // document is committed, so a failure leaves no gap in the series.
    LockDocumentNumbers(db, dataFolder);
    numbers.number = NextFreeNumber(db, dataFolder, counters, series);
    for (const NoDebitLine& l : document.lines()) {
        ReceiptLine stored = l.line;
        stored.idchit = numbers.idchit;
        stored.idgos = stored.idanul = kNoDebit;
        stored.series = numbers.series.left(10);
        stored.number = numbers.number;
        stored.date = date;
        stored.code = BudgetCodeOfGroup(db, dataFolder, l.account(), payer.physical);
        stored.taxpayer = CollapseSpaces(payer.holder);
        stored.cnp = payer.code.trimmed();
        stored.address = CollapseSpaces(payer.address);
        stored.personType = payer.physical ? QStringLiteral("F") : QStringLiteral("J");
        stored.payer = CollapseSpaces(payer.payer);
        stored.cashier = cashier.left(32);
        stored.badge = badge.left(32);
        stored.letter = receipt ? QChar('C') : QChar('O');
        InsertReceiptLine(db, table, stored);
    }
    if (beforeCommit) beforeCommit();
    transaction.commit();
    try {
        KeepNumber(counters, series, numbers.number);
    } catch (const Error&) {
        // The document stands; the next drawing finds its number taken and goes past it.
    }
    return numbers;
}

} // namespace vartesa
