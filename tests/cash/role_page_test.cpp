// The role page: the ledger rows, the running balance, the workbook rows of the batch mode,
// the PDF of the command line, and the "Lista de incasat" dialog().

#include "cash_test_util.h"

#include "cash/role_page.h"
#include "cash/ui/collection_list_dialog.h"
#include "support/gui_application.h"
#include "support/layout_guard.h"
#include "support/tool_run.h"
#include "workbook/workbook.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QFile>
#include <QProcess>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>

using namespace vartesa;
using vartesa::test::Balance;

namespace {

/// A printed line as "document|debit|credit|balance|penalties".
QString shown(const RolePageLine& l) {
    return QStringList{l.document, l.debit, l.credit, l.balance, l.penalties}.join('|');
}

/// The printed lines of one tax, blank lines left out.
QStringList linesOf(const RolePage& page, const QString& group) {
    QStringList out;
    for (const RolePageLine& l : page.lines)
        if (!l.isBlank() && l.group == group) out << shown(l);
    return out;
}

class RolePageTest : public ::testing::Test {
protected:
    // The page as one role reads it; the listing of many roles, which reads every table
    // once, must print the very same lines.
    RolePage build(qint64 role) {
        const RolePageRole which{role, "1", "CORBU"};
        RolePage page = BuildRolePage(f.db(), f.env.folders().data, which, 2015, QDate(2015, 5, 4));
        const auto sources = ReadRolePageSources(f.db(), f.env.folders().data);
        const RolePage listed = BuildRolePage(sources.count(role) ? sources.at(role) : RolePageSource{}, which, 2015,
                                              QDate(2015, 5, 4));
        const auto all = [](const RolePage& p) {
            QStringList out{p.name, p.objects};
            for (const RolePageLine& l : p.lines) out << l.group + '|' + shown(l);
            return out;
        };
        EXPECT_EQ(all(listed), all(page));
        return page;
    }
    void receipt(qint64 role, const QString& group, qint64 current, qint64 reduction, qint64 penalties,
                 const QString& kind = "C") {
        f.db().exec(QStringLiteral("INSERT INTO \"%1\" (IDCHIT, IDGOS, NR, DATAI, GRUPA, CURENT, REDUCERE, MAJOR, TOTAL, "
                                   "TIP) VALUES (?, ?, 31, ?, ?, ?, ?, ?, ?, ?)")
                        .arg(f.path("Chitante.dbf")),
                    {++ids, role, QDate(2015, 3, 2), group, current, reduction, penalties,
                     current - reduction + penalties, kind});
    }

    test::CashFolder f;
    qint64 ids = 500;
};

TEST_F(RolePageTest, OpensATaxWithItsArrearsLessCredit) {
    const qint64 role = f.addRole("POPA ION");
    f.balance(role, {"Impozit pe cladiri", 0, 0, 0, 0, 120, 20, 0});
    EXPECT_EQ(linesOf(build(role), "IMPOZIT PE CLADIRI").value(0), "L.R. / L.P.|100|0|100|0");
}

TEST_F(RolePageTest, AReceiptWithReductionLowersTheBalanceByPaidAndReduced) {
    const qint64 role = f.addRole("POPA ION");
    f.ledgerLine(role, "Impozit pe cladiri", 300, 0);
    receipt(role, "Impozit pe cladiri", 200, 20, 0);
    EXPECT_EQ(linesOf(build(role), "IMPOZIT PE CLADIRI"),
              (QStringList{"L.R. / L.P.|0|0|0|0", "Debit 2015|300|0|300|0", "Chit.31/02.03.2015|-20|180|100|0"}));
}

TEST_F(RolePageTest, AnotherClaimShowsItsArrearsDebitAndReductionApart) {
    const qint64 role = f.addRole("POPA ION");
    f.ledgerLine(role, "Taxa apa", 30, 12, 5);
    EXPECT_EQ(linesOf(build(role), "TAXA APA"),
              (QStringList{"L.R./L.P.|12|0|12|0", "BD 0/01.01.2015|30|0|42|0", "BS 0/01.01.2015|-5|0|37|0"}));
}

TEST_F(RolePageTest, TheFinesSectionIsAlwaysThere) {
    const RolePage page = build(f.addRole("POPA ION"));
    EXPECT_EQ(linesOf(page, "AMENZI"), QStringList{"L.R. / L.P.|0|0|0|0"});
}

TEST_F(RolePageTest, ARoleWithoutPenaltiesCountsThemAsPaidTax) {
    struct Case {
        bool noTax;
        QStringList expected;
    } cases[] = {{false, {"L.R. / L.P.|50|0|50|7", "Debit 2015|0|0|50|0", "Chit.31/02.03.2015|0|100|-50|5"}},
                 {true, {"L.R. / L.P.|50|0|50|0", "Debit 2015|0|0|50|0", "Chit.31/02.03.2015|0|105|-55|0"}}};
    for (const Case& c : cases) {
        const qint64 role = f.addRole(c.noTax ? "FARA MAJORARI" : "CU MAJORARI", "FIZICA", c.noTax);
        f.balance(role, {"Impozit pe cladiri", 0, 0, 0, 0, 50, 0, 7});
        receipt(role, "Impozit pe cladiri", 100, 0, 5);
        EXPECT_EQ(linesOf(build(role), "IMPOZIT PE CLADIRI"), c.expected) << c.noTax;
    }
}

TEST_F(RolePageTest, TheWalkSeparatesTaxesAndHeadsTheYearDebits) {
    const qint64 role = f.addRole("POPA ION");
    f.balance(role, {"Impozit pe cladiri", 0, 0, 0, 0, 10, 0, 0});
    f.debit(role, "CLADIRI", QDate(2015, 2, 1), 40, "Taxa apa");
    f.debit(role, "CLADIRI", QDate(2015, 2, 1), 15, "Taxa gunoi");
    const RolePage page = build(role);
    // Other names: an opening line and the year header before the debit; the fines keep no header.
    EXPECT_EQ(linesOf(page, "TAXA APA"),
              (QStringList{"L.R. / L.P.|0|0|0|0", "Debit 2015|0|0|0|0", "BD 0/01.02.2015|40|0|40|0"}));
    // Three blank lines after a local tax and after the fines, one after any other name.
    QStringList pattern;
    for (const RolePageLine& l : page.lines) pattern << (l.isBlank() ? QStringLiteral("_") : l.group.left(6));
    EXPECT_EQ(pattern.join(','), "IMPOZI,_,_,_,AMENZI,_,_,_,TAXA A,TAXA A,TAXA A,_,TAXA G,TAXA G,TAXA G");
}

TEST_F(RolePageTest, BatchModeWritesTheNonBlankLinesAndEndsTwoRowsLower) {
    const qint64 role = f.addRole("POPA ION");
    f.balance(role, {"Impozit pe cladiri", 0, 0, 0, 0, 120, 20, 0});
    f.ledgerLine(role, "Impozit pe cladiri", 300, 0);
    const RolePage page = build(role);
    workbook::Workbook book;
    workbook::Sheet& sheet = book.sheet(0);
    const int next = WriteRolePage(sheet, 3, page);
    EXPECT_EQ(sheet.text(4, 1), "ROL: 1");
    EXPECT_EQ(sheet.text(7, 0), "Impozit pe cladiri = 1 buc; ");
    EXPECT_EQ(sheet.text(10, 0), "IMPOZIT PE CLADIRI");
    EXPECT_EQ(sheet.number(10, 2), 100);
    EXPECT_EQ(sheet.cellType(10, 3), workbook::CellType::Empty); // a zero credit stays empty
    EXPECT_EQ(sheet.text(11, 0), "");                            // the tax name only where it changes
    EXPECT_EQ(sheet.number(11, 4), 400);
    EXPECT_EQ(sheet.text(12, 0), "AMENZI");
    const auto nonBlank = std::count_if(page.lines.begin(), page.lines.end(), [](auto& l) { return !l.isBlank(); });
    EXPECT_EQ(next, 10 + int(nonBlank) + 2);
}

TEST_F(RolePageTest, TheToolWritesTheRolePagePdf) {
    const qint64 role = f.addRole(QStringLiteral("ŢĂRANU ŞTEFAN"));
    f.balance(role, {"Impozit pe cladiri", 0, 0, 0, 0, 120, 20, 0});
    const QString pdf = f.env.root() + "/pagina.pdf";
    QString out;
    ASSERT_EQ(test::runTool({"role-page", f.env.folders().data, QString::number(role), "--pdf", pdf}, &out), 0)
        << qPrintable(out);
    QProcess text;
    text.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString page = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(page.contains(QStringLiteral("ŢĂRANU ŞTEFAN"))) << qPrintable(page);
    EXPECT_TRUE(page.contains("AMENZI")) << qPrintable(page);
    EXPECT_TRUE(page.contains("Pagina 1 din 1")) << qPrintable(page);
}

class CollectionListDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ensureGuiApplication();
        f.addRole("POPA ION");
        window = std::make_unique<TAddListDeInc>(f.env.services());
        window->prepare(true);
    }
    test::CashFolder f;
    std::unique_ptr<TAddListDeInc> window;
    TAddListDeInc& dialog() { return *window; }
};

TEST_F(CollectionListDialogTest, OffersTheVillagesAndWritesTheirList) {
    EXPECT_EQ(dialog().SatulX->itemText(0), " * indiferent *");
    EXPECT_EQ(dialog().SatulX->itemText(1), "CORBU");
    EXPECT_TRUE(QFile::exists(f.path("Sate.lst")));
}

TEST_F(CollectionListDialogTest, FitsTheClerksScreen) {
    dialog().show();
    QCoreApplication::processEvents();
    EXPECT_EQ(test::LayoutFaults(&dialog()), QStringList());
}

TEST_F(CollectionListDialogTest, RefusesAMissingVillageAndADateInThePast) {
    struct Case {
        const char* village;
        int daysFromToday;
        const char* hint; // empty: accepted
    } cases[] = {{"", 0, "Nu ati ales satul!"},
                 {"CORBU", -1, "Data aleasa nu poate fi din trecut!"},
                 {" * indiferent *", 0, ""},
                 {"CORBU", 3, ""}};
    for (const Case& c : cases) {
        dialog().prepare(false);
        dialog().setResult(QDialog::Rejected);
        dialog().SatulX->setEditText(c.village);
        dialog().DataC->setDate(f.env.clock().today().addDays(c.daysFromToday));
        f.env.messages().clearShown();
        dialog().ArataBut->click();
        const auto& hints = f.env.messages().hints();
        EXPECT_EQ(hints.empty() ? QString() : hints.back().text, QString(c.hint)) << c.village << c.daysFromToday;
        EXPECT_EQ(dialog().result() == QDialog::Accepted, QString(c.hint).isEmpty()) << c.village << c.daysFromToday;
    }
}

} // namespace
