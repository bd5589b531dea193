// Summonses: their lines as the account owes them, the open summons that blocks a new one,
// the one transaction that stores them under a drawn number, confirmation and cancellation.

#include "summons_test_util.h"

#include "datafolder/synthetic_commune.h"
#include "db/error.h"
#include "db/query.h"

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::test::Balance;
using vartesa::test::SummonsFolder;

namespace {

const QDate kOctober{2015, 10, 10};
const QDate kArrearsDue{2014, 12, 31}, kFirstDue{2015, 3, 31}, kSecondDue{2015, 9, 30};
const QString kBuildings = QStringLiteral("Impozit pe cladiri");

SummonsLine line(const QDate& due, std::int64_t arrears, std::int64_t current, std::int64_t increments,
                 const QString& group = kBuildings, const QString& document = {}) {
    return {group, due, arrears, current, increments, document};
}

TEST(SummonsDetail, OwesWhatTheAccountOwesLineByLine) {
    const struct {
        const char* name;
        Balance row;
        QDate date;
        bool spared; // NOTAX "DA" with FARAMAJORARI on
        std::vector<SummonsLine> lines;
    } cases[] = {
        {"120 lei, 40 paid: 20 + 3 and 60 + 1 = 84", {kBuildings, 120, 80}, kOctober, false,
         {line(kFirstDue, 0, 20, 3), line(kSecondDue, 0, 60, 1)}},
        {"50 lei falls due 25 + 25", {kBuildings, 50, 50}, kOctober, false,
         {line(kFirstDue, 0, 25, 4), line(kSecondDue, 0, 25, 1)}},
        {"51 lei falls due 25 + 26", {kBuildings, 51, 51}, kOctober, false,
         {line(kFirstDue, 0, 25, 4), line(kSecondDue, 0, 26, 1)}},
        {"31 March: only the arrears", {kBuildings, 120, 120, 0, 0, 100}, {2015, 3, 31}, false,
         {line(kArrearsDue, 100, 0, 4)}},
        {"1 April: the first instalment only", {kBuildings, 120, 120}, {2015, 4, 1}, false,
         {line(kFirstDue, 0, 60, 1)}},
        {"a credit of 30 goes against the first instalment: 95", {kBuildings, 120, 120, 0, 0, 0, 30}, kOctober, false,
         {line(kFirstDue, 0, 30, 4), line(kSecondDue, 0, 60, 1)}},
        {"a credit beyond both instalments: no line", {kBuildings, 120, 120, 0, 0, 0, 200}, kOctober, false, {}},
        {"carried increments without arrears", {kBuildings, 0, 0, 0, 0, 0, 0, 15}, kOctober, false,
         {line(kArrearsDue, 0, 0, 15)}},
        {"an exempted tax owes only its arrears", {kBuildings, 80, 80, 8, 30, 50}, kOctober, false,
         {line(kArrearsDue, 50, 0, 9)}},
        {"a role spared penalties", {kBuildings, 120, 120, 0, 0, 100, 0, 15}, kOctober, true,
         {line(kArrearsDue, 100, 0, 0), line(kFirstDue, 0, 60, 0), line(kSecondDue, 0, 60, 0)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SummonsFolder f;
        const qint64 role = f.addRole("POPA ION", "FIZICA", c.spared);
        f.balance(role, c.row);
        const AccountRules rules{c.spared, true, true, {}};
        const AccountGrids grids = f.account(role, c.date, rules);
        const SummonsDetail d = BuildSummonsDetail(grids, c.date, c.spared);
        EXPECT_EQ(d.lines, c.lines);
        std::int64_t sum = 0;
        for (const SummonsLine& l : c.lines) sum += l.total();
        EXPECT_EQ(d.total, sum);
        if (c.date > kSecondDue) EXPECT_EQ(d.total, std::max<std::int64_t>(grids.total, 0)) << "the account's DEPLATA";
    }
}

TEST(SummonsDetail, TakesAFineWholeWithoutItsReduction) {
    SummonsFolder f;
    const qint64 role = f.addRole("POPA ION");
    f.ledgerLine(role, "Amenda", 60, 20, 5);
    f.ledgerLine(role, "Salubritate", 0, 0, 0);
    const SummonsDetail d = BuildSummonsDetail(f.account(role, kOctober), kOctober, false);
    EXPECT_EQ(d.lines, std::vector<SummonsLine>{line({2015, 1, 1}, 20, 60, 0, "Amenda")});
    EXPECT_EQ(d.total, 80);
}

TEST(SummonsDetail, AgreesWithEveryAccountOfASyntheticCommune) {
    test::TestServices env;
    CreateSyntheticCommune(env.services(), {40, 3, true});
    db::Database& db = env.services().database();
    const AccountRules rules{false, true, true, {}};
    int checked = 0;
    const db::Query ids = db.query(QStringLiteral("SELECT IDGOS FROM \"%1/Gospodar.dbf\"").arg(env.folders().data));
    for (int row = 0; row < ids.count(); ++row) {
        const QVariant id = ids.cell(row, 0);
        const AccountRole role = OpenAccountRole(db, env.folders().data, rules, id.toLongLong(), 2015);
        const AccountGrids g = BuildAccountGrids(db, env.folders().data, role, kOctober);
        const SummonsDetail d = BuildSummonsDetail(g, kOctober, role.noPenalty);
        for (const TaxRow& t : g.taxes) {
            std::int64_t sum = 0;
            for (const SummonsLine& l : d.lines)
                if (l.group == t.group && l.document.isEmpty() && l.due != QDate(2015, 1, 1)) sum += l.total();
            EXPECT_EQ(sum, std::max<std::int64_t>(t.due, 0)) << id.toLongLong() << ' ' << t.group.toStdString();
            ++checked;
        }
    }
    EXPECT_GT(checked, 40);
}

TEST(Summonses, AConfirmedSummonsBlocksTheNextUntilCancelled) {
    SummonsFolder f;
    const qint64 role = f.owing();
    const SummonsIssue first = f.issue(role, kOctober);
    ASSERT_NE(first.id, 0);
    const SummonsIssue second = f.issue(role, {2015, 10, 12});
    ASSERT_NE(second.id, 0) << "an unconfirmed summons does not block";
    ASSERT_FALSE(ConfirmSummons(f.db(), f.env.folders().data, second.id, {2015, 10, 14}, "POSTA"));
    ASSERT_FALSE(ConfirmSummons(f.db(), f.env.folders().data, first.id, {2015, 10, 20}, "INTERNET"));
    f.env.messages().clearShown();
    EXPECT_EQ(f.issue(role, {2015, 11, 2}).id, 0);
    ASSERT_EQ(f.env.messages().shown().size(), 1u);
    EXPECT_EQ(f.env.messages().shown()[0].text,
              QStringLiteral("La acest ROL mai este Somatia %1 / 10.10.2015 nesolutionata!").arg(first.id));
    ASSERT_FALSE(CancelSummons(f.db(), f.env.folders().data, first.id, "retrimisa"));
    EXPECT_EQ(f.env.messages().shown().size(), 1u);
    f.issue(role, {2015, 11, 2});
    EXPECT_EQ(f.env.messages().shown().back().text,
              QStringLiteral("La acest ROL mai este Somatia %1 / 12.10.2015 nesolutionata!").arg(second.id));
}

TEST(Summonses, NothingOwedOrNoTemplateStoresNothing) {
    SummonsFolder f;
    const qint64 role = f.addRole("POPA ION");
    f.balance(role, {kBuildings, 120, 120, 0, 0, 0, 500});
    EXPECT_EQ(f.issue(role, kOctober).id, 0);
    EXPECT_EQ(f.env.messages().shown().back().text, "Nu exista restante la acest ROL!");
    QFile::remove(f.env.folders().data + "/Titlu.rtf");
    EXPECT_EQ(f.issue(f.owing("ALTUL"), kOctober).id, 0);
    EXPECT_TRUE(f.env.messages().shown().back().text.startsWith("Va lipseste fisierul "));
    EXPECT_EQ(f.rows("Somatii.dbf") + f.rows("SomDet.dbf"), 0);
}

TEST(Summonses, AreStoredWholeOrNotAtAll) {
    SummonsFolder f;
    const qint64 role = f.owing();
    const SummonsDetail d = BuildSummonsDetail(f.account(role, kOctober), kOctober, false);
    CountersFile counters = f.counters();
    EXPECT_THROW(StoreSummons(f.db(), f.env.folders().data, counters, role, kOctober, d,
                              [] { throw Error(QStringLiteral("injected")); }),
                 Error);
    EXPECT_EQ(f.rows("Somatii.dbf") + f.rows("SomDet.dbf"), 0);
    const qint64 id = StoreSummons(f.db(), f.env.folders().data, counters, role, kOctober, d);
    EXPECT_EQ(id, 1) << "the failure used no number";
    const std::optional<SummonsRecord> s = ReadSummons(f.db(), f.env.folders().data, id);
    ASSERT_TRUE(s);
    EXPECT_EQ((std::tuple(s->number, s->issued, s->total, s->cancelled, s->confirmed.isValid())),
              (std::tuple(id, kOctober, std::int64_t(129), QString("NU"), false)));
    EXPECT_EQ(ReadSummonsLines(f.db(), f.env.folders().data, id), d.lines);
}

TEST(Summonses, ANumberAlreadyStoredIsPassed) {
    SummonsFolder f;
    const qint64 role = f.owing();
    const SummonsDetail d = BuildSummonsDetail(f.account(role, kOctober), kOctober, false);
    CountersFile counters = f.counters();
    for (int i = 0; i < 3; ++i) StoreSummons(f.db(), f.env.folders().data, counters, role, kOctober, d);
    counters.WriteCounter("SERVER", "IDSOM", "2"); // a counters file put back from a copy
    EXPECT_EQ(StoreSummons(f.db(), f.env.folders().data, counters, role, kOctober, d), 4);
    EXPECT_EQ(counters.ReadCounter("SERVER", "IDSOM"), "5");
}

TEST(Summonses, ConfirmationAndCancellationAreChecked) {
    SummonsFolder f;
    const qint64 id = f.issue(f.owing(), kOctober).id;
    const QString data = f.env.folders().data;
    const struct {
        QDate day;
        bool refused;
    } days[] = {{{2015, 10, 11}, true}, {{2015, 10, 12}, false}};
    for (const auto& c : days)
        EXPECT_EQ(ConfirmSummons(f.db(), data, id, c.day, "POSTA").value_or(""),
                  c.refused ? "Data Confirmarii ese incorecta!" : "");
    EXPECT_EQ(ReadSummons(f.db(), data, id)->confirmed, QDate(2015, 10, 12));
    const struct {
        QString typed, stored; // "" stored: refused
    } reasons[] = {{" a ", ""}, {"abc", "abc"}, {"  plecat   in \"strainatate\" ", "plecat in \"strainatate\""},
                   {QString(33, 'x'), ""}};
    for (const auto& r : reasons) {
        const std::optional<QString> refused = CancelSummons(f.db(), data, id, r.typed);
        EXPECT_EQ(refused.value_or(ReadSummons(f.db(), data, id)->reason), r.stored.isEmpty() ? "Lipseste motivul!" : r.stored);
    }
    EXPECT_TRUE(ReadSummons(f.db(), data, id)->isCancelled());
}

} // namespace
