// The budget codes table, its checks and its window.

#include "shell/startup.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "admin/budget_codes.h"
#include "shell/counters.h"
#include "shell/table_helpers.h"
#include "admin/ui/codes_window.h"
#include "support/scripted_services.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QTest>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>

#include <gtest/gtest.h>

using namespace vartesa;

namespace {

class Codes : public ::testing::Test {
protected:
    test::TestServices env;
    CountersFile counters = env.services().counters();
    BudgetCodes codes{env.services().database(), env.folders().data, counters};
    db::Database& db = env.services().database();

    void SetUp() override { codes.EnsureCodesTable(); }

    QString receipts() const { return env.folders().data + QStringLiteral("/Chitante.dbf"); }
    void receiptLine(int id, const QString& group, const QString& payerKind, const QString& account) {
        db.exec(QStringLiteral("INSERT INTO \"%1\" (IDCHIT, GRUPA, TIPF, CODCLAS) VALUES (?, ?, ?, ?)").arg(receipts()),
                {id, group, payerKind, account});
    }
    QString accountOfLine(int id) {
        return db.scalar(QStringLiteral("SELECT CODCLAS FROM \"%1\" WHERE IDCHIT = ?").arg(receipts()), {id}).toString();
    }
};

} // namespace

TEST_F(Codes, NewDatabaseHasTheTwelveClaimsWithEmptyAccounts) {
    db::Query q = db.query(QStringLiteral("SELECT IDCOD, GRUPA, CODCLF, CODCLJ, TIP FROM \"%1\" ORDER BY IDCOD").arg(codes.path()));
    ASSERT_EQ(q.count(), 12);
    const QStringList expected = {"Impozit pe cladiri", "Impozit pe teren intravilan", "Impozit pe mijloace de transport",
                                  "Impozit pe teren extravilan", "Salubritate", "Concesionari", "Iluminat", "PSI", "Paza",
                                  "Taxa pe pasune", "Vehicule lente", "Auto neinmatriculate"};
    for (int i = 0; i < 12; ++i, q.next()) {
        SCOPED_TRACE(i);
        EXPECT_EQ(q.integer("IDCOD"), i + 1);
        EXPECT_EQ(q.text("GRUPA"), expected[i]);
        EXPECT_EQ(q.text("CODCLF"), QString());
        EXPECT_EQ(q.text("CODCLJ"), QString());
        EXPECT_EQ(q.text("TIP"), i < 4 ? "I" : "T");
    }
    EXPECT_EQ(counters.ReadCounter("SERVER", "IDCOD"), "13");
    codes.EnsureCodesTable(); // an existing table is left alone
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(codes.path())).toInt(), 12);
}

TEST_F(Codes, ChecksRunInTheirOrder) {
    using F = ClaimProblem::Field;
    struct Row {
        const char *name, *person, *company;
        std::optional<F> field;
        const char* message;
    };
    const Row rows[] = {
        {"", "", "", F::Name, "Lipseste denumirea creantei!"},
        {"Taxa noua", "", "", F::PersonAccount, "Lipseste contul!"},
        {"Taxa noua", "21.02.01", "", F::CompanyAccount, "Lipseste contul!"},
        {"Taxa noua", "RO49AAAA1B31007593840000", "RO49AAAA1B31007593840000", std::nullopt, ""},
        {"Taxa noua", "RO49AAAA1B31007593840001", "21.02.01", F::PersonAccount, "Cont incorect!"},
        {"Taxa noua", "21.02.01", "RO49AAAA1B31007593840001", F::CompanyAccount, "Cont incorect!"},
        {"Taxa noua", "21.02.01", "21.02.02", std::nullopt, ""},
        {"impozit pe cladiri", "21.02.01", "21.02.01", F::Name, "Exista deja creanta in lista!!"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name + std::string("/") + r.person + "/" + r.company);
        const auto problem = codes.check(r.name, r.person, r.company);
        ASSERT_EQ(problem.has_value(), r.field.has_value());
        if (problem) {
            EXPECT_EQ(problem->field, *r.field);
            EXPECT_EQ(problem->message, QString::fromLatin1(r.message));
        }
    }
    // The row being changed does not count as its own duplicate.
    EXPECT_FALSE(codes.check("Impozit pe cladiri", "21.01", "21.01", 1).has_value());
}

TEST_F(Codes, ChangingTheCompanyAccountRewritesOnlyCompanyReceiptLines) {
    CreateReceiptLayoutTable(db, receipts());
    receiptLine(1, "Salubritate", "F", "VECHIF");
    receiptLine(2, "Salubritate", "J", "VECHIJ");
    receiptLine(3, "Iluminat", "J", "ALTUL");
    codes.modify(5, "", "NOUJ");
    EXPECT_EQ(accountOfLine(1), "VECHIF");
    EXPECT_EQ(accountOfLine(2), "NOUJ");
    EXPECT_EQ(accountOfLine(3), "ALTUL");
    const auto row = codes.byId(5);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->companyAccount, "NOUJ");
    EXPECT_EQ(row->personAccount, "");

    codes.modify(5, "NOUF", "NOUJ");
    EXPECT_EQ(accountOfLine(1), "NOUF");
    EXPECT_EQ(accountOfLine(2), "NOUJ");
}

TEST_F(Codes, StartingClaimsStayAddedOnesCanGo) {
    EXPECT_FALSE(BudgetCodes::canDelete(12));
    EXPECT_THROW(codes.remove(12), Error);
    const qint64 id = codes.add("Taxa apa", "21.02.05", "21.02.05");
    EXPECT_EQ(id, 13);
    EXPECT_TRUE(BudgetCodes::canDelete(id));
    codes.remove(id);
    EXPECT_FALSE(codes.byId(id).has_value());
    EXPECT_EQ(codes.all().size(), 12u);
}

TEST_F(Codes, YearLockReadsTheWorkingYearKeyInAnyCase) {
    EXPECT_FALSE(IsYearLocked(counters));
    counters.WriteCounter("SERVER", "ADMINBLOCAT2015", "da");
    EXPECT_TRUE(IsYearLocked(counters));
    counters.WriteCounter("SERVER", "ADMINBLOCAT2015", "NU");
    EXPECT_FALSE(IsYearLocked(counters));
}

// --- the window --------------------------------------------------------------------------

namespace {

// Runs `act` on the claim dialog once it is shown modally.
void whenDialogShown(TFCodClas& dialog, std::function<void()> act) {
    QTimer::singleShot(0, &dialog, [&dialog, act] {
        if (dialog.isVisible()) act();
        else dialog.reject();
    });
}

void type(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->clear();
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(field, &press);
    }
}

} // namespace

TEST_F(Codes, WindowAddsWithBalloonsAndRefusesUnderTheYearLock) {
    TFCoduri window(env.services());
    window.reload();
    EXPECT_EQ(window.grid()->model()->rowCount(), 12);

    // A duplicate first: the balloon on the name keeps the dialog open; then a good name.
    whenDialogShown(window.dialog(), [&] {
        type(window.dialog().nameField(), "impozit  pe cladiri");
        type(window.dialog().personField(), "ro49aaaa1b31007593840000");
        EXPECT_EQ(window.dialog().companyField()->text(), "RO49AAAA1B31007593840000"); // copied, capitals
        window.dialog().MemoreazaClick();
        EXPECT_TRUE(window.dialog().isVisible());
        ASSERT_FALSE(env.messages().hints().empty());
        EXPECT_EQ(env.messages().hints().back().text, "Exista deja creanta in lista!!");
        type(window.dialog().nameField(), "  Taxa   de apa ");
        window.dialog().MemoreazaClick();
    });
    window.AdaugaClick();
    EXPECT_EQ(window.grid()->model()->rowCount(), 13);
    const auto added = codes.byId(13);
    ASSERT_TRUE(added);
    EXPECT_EQ(added->group, "Taxa de apa");
    EXPECT_EQ(window.currentId(), 13); // the grid stands on the new row

    counters.WriteCounter("SERVER", "ADMINBLOCAT2015", "DA");
    window.StergeClick();
    ASSERT_FALSE(env.messages().shown().empty());
    EXPECT_EQ(env.messages().shown().back().title, "An inchis");
    EXPECT_EQ(env.messages().shown().back().text, "Nu mai puteti opera in anul trecut!");
    EXPECT_TRUE(codes.byId(13).has_value());
}

TEST_F(Codes, WindowOpensInTableOrderAndSortsOnlyWhenATitleIsClicked) {
    codes.add("Apa", "X1", "X1");
    TFCoduri window(env.services());
    window.reload(13);
    window.show();
    QAbstractItemModel* rows = window.grid()->model();
    EXPECT_EQ(rows->index(0, 0).data().toString(), "Impozit pe cladiri"); // TIP, then GRUPA

    QHeaderView* titles = window.grid()->horizontalHeader();
    for (int click = 1; click <= 2; ++click) { // a second click still sorts A to Z
        QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, QPoint(titles->sectionViewportPosition(0) + 5, 5));
        EXPECT_EQ(rows->index(0, 0).data().toString(), "Apa") << click;
    }
    EXPECT_EQ(window.currentId(), 13); // the current row stays current
}

TEST_F(Codes, WindowDeletesOnlyAddedClaimsAfterTheQuestion) {
    const qint64 id = codes.add("Taxa de apa", "X1", "X1");
    TFCoduri window(env.services());
    window.reload(1);
    window.StergeClick();
    EXPECT_EQ(env.messages().shown().back().text, "Nu aveti voie sa stergeti aceasta creanta!");
    EXPECT_EQ(codes.all().size(), 13u);

    window.reload(id);
    env.messages().answerNext("NU");
    window.StergeClick();
    EXPECT_TRUE(codes.byId(id).has_value());
    env.messages().answerNext("DA");
    window.StergeClick();
    EXPECT_EQ(env.messages().shown().back().text, "Sunteti sigur ca vreti sa stergeti creanta?!");
    EXPECT_FALSE(codes.byId(id).has_value());
}
