// The split editor, the confirmation dialog "Operare" and "&OPEREAZA" run from the account
// screen, driven as the cashier would.

#include "cash_test_util.h"

#include "cash/ui/account_grid_model.h"
#include "cash/ui/account_window.h"
#include "cash/ui/payment_dialog.h"
#include "cash/ui/payment_operation.h"
#include "cash/ui/split_editor.h"
#include "admin/admin_constants.h"
#include "admin/budget_codes.h"
#include "support/gui_application.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

using namespace vartesa;

namespace {

using test::pressEnter;
using test::type;
using test::whenShown;

// --- the split editor ----------------------------------------------------------------------

struct SplitCase {
    const char* what;
    std::int64_t arrears, current, reduction; // typed in "Ramasita", "Curente", "Reducere"
    bool accepted;
    const char* message; // the refusal shown, empty when accepted
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.what; }

class SplitEditorTest : public ::testing::TestWithParam<SplitCase> {
protected:
    void SetUp() override { test::ensureGuiApplication(); }
    test::TestServices env;
};

TEST_P(SplitEditorTest, AcceptsOnlyASplitThatKeepsTheTotalAndFitsTheReceipt) {
    const SplitCase& c = GetParam();
    TDetaliiModificari editor(env.services().messages());
    PaymentLine line;
    line.arrears = 100;
    line.current = 60;
    line.reduction = 10;
    editor.setParts(line);
    whenShown(editor, [&] {
        EXPECT_EQ(editor.focusWidget(), editor.Restanta);
        type(editor.Restanta, QString::number(c.arrears));
        type(editor.Curent, QString::number(c.current));
        type(editor.Reducere, QString::number(c.reduction));
        editor.MemoreazaBut->click();
    });
    EXPECT_EQ(editor.ShowSplitEditor("Impozit pe cladiri", 150), c.accepted);
    EXPECT_EQ(editor.TitluL->text(), "Impozit pe cladiri");
    const auto& shown = env.messages().shown();
    EXPECT_EQ(shown.empty() ? QString() : shown[0].text, QString::fromLatin1(c.message));
    PaymentLine read;
    editor.readParts(read);
    EXPECT_EQ(read.current, c.current) << "the values stay as typed";
}

INSTANTIATE_TEST_SUITE_P(
    Parts, SplitEditorTest,
    ::testing::Values(SplitCase{"unchanged", 100, 60, 10, true, ""},
                      SplitCase{"current 70", 100, 70, 10, false,
                                "Suma totala incasata trebuie sa fie 150!\rAcum aveti suma 160. Mai studiati problema..."},
                      SplitCase{"negative arrears", -20, 170, 0, true, ""},
                      SplitCase{"seven digits", 0, 1000140, 999990, false,
                                "La Impozit pe cladiri, Curente de 1000140 lei nu incape pe chitanta!\r"
                                "Sumele au cel mult 6 cifre, intre -99999 si 999999."},
                      SplitCase{"below -99999", -100000, 100150, 0, false,
                                "La Impozit pe cladiri, Ramasita de -100000 lei nu incape pe chitanta!\r"
                                "Sumele au cel mult 6 cifre, intre -99999 si 999999."}),
    [](const auto& info) {
        QString name = QString::fromLatin1(info.param.what);
        name.replace(QRegularExpression("[^A-Za-z0-9]"), "_");
        return name.toStdString();
    });

TEST(SplitEditorKeys, EnterWalksThePartsToTheButtonAndNeverAcceptsFromAField) {
    test::ensureGuiApplication();
    test::TestServices env;
    TDetaliiModificari editor(env.services().messages());
    editor.setParts(PaymentLine{});
    bool stillOpen = false;
    whenShown(editor, [&] {
        QWidget* walk[] = {editor.Depozit, editor.Majorest, editor.Restanta, editor.Curent, editor.Reducere,
                           editor.Major, editor.MemoreazaBut};
        editor.Depozit->setFocus();
        for (int i = 0; i + 1 < int(std::size(walk)); ++i) {
            pressEnter(walk[i]);
            EXPECT_EQ(editor.focusWidget(), walk[i + 1]) << i;
        }
        stillOpen = editor.isVisible();
        pressEnter(editor.MemoreazaBut);
    });
    EXPECT_TRUE(editor.ShowSplitEditor("Impozit pe cladiri", 0));
    EXPECT_TRUE(stillOpen);
}

// --- the confirmation dialog ------------------------------------------------------------

class PaymentDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ensureGuiApplication();
        role = f.addRole("POPA ION");
        CountersFile counters = f.counters();
        BudgetCodes codes(f.db(), f.env.folders().data, counters);
        codes.EnsureCodesTable();
        for (const BudgetCode& c : codes.all())
            if (c.kind == "I") codes.modify(c.id, "21A070200", "21A070201");
        setup.role = OpenAccountRole(f.db(), f.env.folders().data, {}, role, 2015);
        setup.date = QDate(2015, 3, 2);
        setup.numbering = {"VZ", 41};
        setup.total = 150;
    }
    PaymentLine line(const QString& group, std::int64_t current, const QString& code = "21A070200") {
        PaymentLine l;
        l.group = group;
        l.document = "CHITANTA";
        l.code = code;
        l.current = current;
        l.letter = QChar(char(setup.kind));
        return l;
    }

    test::CashFolder f;
    qint64 role = 0;
    PaymentDialogSetup setup;
};

TEST_F(PaymentDialogTest, KindSetsTheListTheSeriesTheNumberAndThePayer) {
    struct Case {
        DocumentKind kind;
        QStringList items;
        QString series, number;
        bool numberEditable, payerEditable;
    };
    const Case cases[] = {
        {DocumentKind::Receipt, {"CHITANTA", "VIRAMENT"}, "VZ", "41", false, true},
        {DocumentKind::PaymentOrder, {"Ordin de plata"}, "-", "", true, true},
        {DocumentKind::AccountingNote, {"Nota contabila"}, "-", "", true, false},
    };
    TChitantaF dialog(f.env.services());
    for (const Case& c : cases) {
        setup.kind = c.kind;
        std::vector<PaymentLine> lines{line("Impozit pe cladiri", 150)};
        dialog.prepare(setup, lines);
        QStringList items;
        for (int i = 0; i < dialog.TipDoc->count(); ++i) items << dialog.TipDoc->itemText(i);
        const std::string kind(1, char(c.kind));
        EXPECT_EQ(items, c.items) << kind;
        EXPECT_EQ(dialog.SeriaL->text(), c.series) << kind;
        EXPECT_EQ(dialog.NumarC->text(), c.number) << kind;
        EXPECT_EQ(!dialog.NumarC->isReadOnly(), c.numberEditable) << kind;
        EXPECT_EQ(!dialog.PlatitorE->isReadOnly(), c.payerEditable) << kind;
        EXPECT_EQ(dialog.PlatitorE->text(), "POPA ION") << kind;
        EXPECT_EQ(dialog.DinData->date(), setup.date) << kind;
    }
}

TEST_F(PaymentDialogTest, ViramentTakesATypedNumberAndChitantaRestoresTheReceiptNumber) {
    std::vector<PaymentLine> lines{line("Impozit pe cladiri", 150)};
    TChitantaF dialog(f.env.services());
    dialog.prepare(setup, lines);
    dialog.TipDoc->setCurrentIndex(1);
    ASSERT_FALSE(dialog.NumarC->isReadOnly());
    type(dialog.NumarC, "7788");
    EXPECT_EQ(dialog.document().kind, DocumentKind::Transfer);
    EXPECT_EQ(dialog.document().number, 7788);
    dialog.TipDoc->setCurrentIndex(0);
    EXPECT_TRUE(dialog.NumarC->isReadOnly());
    EXPECT_EQ(dialog.NumarC->text(), "41");
    EXPECT_EQ(dialog.document().kind, DocumentKind::Receipt);
}

TEST_F(PaymentDialogTest, ARefusedCheckKeepsTheDialogOpenWithWhatWasTyped) {
    f.db().exec(QStringLiteral("INSERT INTO \"%1\" (IDCHIT, IDGOS, ROL, SERIA, NR, TIP) VALUES (9, 9, '77', 'VZ', 41, 'C')")
                    .arg(f.path("Chitante.dbf")));
    std::vector<PaymentLine> lines{line("Impozit pe cladiri", 150)};
    TChitantaF dialog(f.env.services());
    bool open = false;
    whenShown(dialog, [&] {
        type(dialog.PlatitorE, "   ");
        dialog.OpereazaBut->click(); // no payer: a hint on the field
        type(dialog.PlatitorE, "POPA  ANA");
        dialog.OpereazaBut->click(); // the receipt number is taken
        open = dialog.isVisible();
    });
    EXPECT_FALSE(dialog.ShowPaymentDialog(setup, lines));
    EXPECT_TRUE(open);
    ASSERT_EQ(f.env.messages().hints().size(), 1u);
    EXPECT_EQ(f.env.messages().hints()[0].text, "Nu ati scris Platitorul!");
    EXPECT_EQ(f.env.messages().hints()[0].anchor, "PlatitorE");
    EXPECT_EQ(f.env.messages().titles(), QStringList{"Verificare de dubluri"});
    EXPECT_TRUE(f.env.progress().descriptions().contains("Verific dubluri la chitanta..."));
    EXPECT_EQ(dialog.PlatitorE->text(), "POPA ANA") << "the payer as CollapseSpaces leaves it";
}

TEST_F(PaymentDialogTest, ClassificationCodesAreReadAgainAfterTheCodesWindow) {
    std::vector<PaymentLine> lines{line("Impozit pe cladiri", 150, "")};
    TChitantaF dialog(f.env.services());
    dialog.openCodesWindow = [&] {
        f.db().exec(QStringLiteral("UPDATE \"%1\" SET CODCLF = '21A070299' WHERE GRUPA = 'Impozit pe cladiri'")
                        .arg(f.path("CODCL.dbf")));
    };
    dialog.prepare(setup, lines);
    dialog.CoduriClick();
    EXPECT_EQ(lines[0].code, "21A070299");
    EXPECT_EQ(lines[0].number, 41) << "the receipt keeps its number";
}

TEST_F(PaymentDialogTest, DetailsRefuseAnEmptyDocumentAndAClaimWithoutAPersonAccount) {
    std::vector<PaymentLine> none;
    std::vector<PaymentLine> fee{line("Salubritate", 40, "21A360600")};
    TChitantaF dialog(f.env.services());
    for (std::vector<PaymentLine>* lines : {&none, &fee}) {
        dialog.prepare(setup, *lines);
        dialog.DetaliiClick();
    }
    ASSERT_EQ(f.env.messages().shown().size(), 2u);
    EXPECT_EQ(f.env.messages().shown()[0].text, "Nu aveti ce modifica!");
    EXPECT_TRUE(f.env.messages().shown()[1].text.startsWith("De aici puteti modifica numai impozitele!"));
}

TEST_F(PaymentDialogTest, TheSplitEditorChangesTheChosenLine) {
    std::vector<PaymentLine> lines{line("Impozit pe cladiri", 150)};
    TChitantaF dialog(f.env.services());
    dialog.prepare(setup, lines);
    TDetaliiModificari& editor = dialog.splitEditor();
    whenShown(editor, [&] {
        type(editor.Restanta, "50");
        type(editor.Curent, "100");
        editor.MemoreazaBut->click();
    });
    dialog.DetaliiClick();
    EXPECT_EQ(lines[0].arrears, 50);
    EXPECT_EQ(lines[0].current, 100);
    EXPECT_EQ(dialog.linesModel()->index(0, 3).data().toLongLong(), 50) << "the grid shows the new split";
}

// --- the whole operation from the account screen ----------------------------------------

class PaymentOperationTest : public ::testing::Test {
protected:
    void SetUp() override {
        f.env.clock().setToday(QDate(2015, 3, 2));
        s.user = "CASIER";
        s.userCard = "L-12";
        f.counters().WriteCounter("CASIER", "SERIA", "VZ");
        f.counters().WriteCounter("CASIER", "CHIT", "41");
        role = f.addRole("POPA ION");
        f.balance(role, {"Impozit pe cladiri", 200, 200, 0, 0, 0, 0, 0});
        CountersFile counters = f.counters();
        BudgetCodes codes(f.db(), f.env.folders().data, counters);
        codes.EnsureCodesTable();
        codes.modify(codes.all().front().id, "21A070200", "21A070201");
        constants.load(s);
        account.attach("OperBut", [this] { payment.OperButClick(); });
        payment.printReceipt = [this](qint64 idchit) { printed.push_back(idchit); };
        account.prepareOpening(role, "CORBU");
    }
    qint64 storedRest() {
        return f.db().scalar(QStringLiteral("SELECT REST FROM \"%1\"").arg(f.path("SoldCalc.dbf"))).toLongLong();
    }

    bool gui = (test::ensureGuiApplication(), true); // before the windows below
    test::CashFolder f;
    Services& s = f.env.services();
    qint64 role = 0;
    AdminConstants constants;
    TGospodarieF account{s, constants};
    PaymentOperation payment{s, account};
    std::vector<qint64> printed;
};

TEST_F(PaymentOperationTest, OpereazaStoresOneReceiptRecalculatesAndLogs) {
    // The amount is still being typed when "&OPEREAZA" is pressed.
    auto* model = account.model(AccountGrid::Taxes);
    const QModelIndex cell = model->index(0, model->enteredColumn());
    account.ImpoziteGrid->setCurrentIndex(cell);
    account.ImpoziteGrid->edit(cell);
    type(account.ImpoziteGrid->findChild<QLineEdit*>("AchitatEd"), "120");
    TChitantaF& dialog = payment.dialog();
    QString number;
    whenShown(dialog, [&] {
        number = dialog.NumarC->text();
        pressEnter(dialog.PlatitorE); // Enter in the last field confirms
    });
    account.OperBut->click();

    EXPECT_EQ(number, "41");
    EXPECT_TRUE(f.env.messages().shown().empty()) << f.env.messages().titles().join(", ").toStdString();
    db::Query q = f.db().query(QStringLiteral("SELECT IDCHIT, SERIA, NR, CURENT, TOTAL, TIP, PLATNUME, INCANUME, LEGITIMA "
                                              "FROM \"%1\"").arg(f.path("Chitante.dbf")));
    ASSERT_EQ(q.count(), 1);
    EXPECT_EQ(q.text("SERIA"), "VZ");
    EXPECT_EQ(q.integer("NR"), 41);
    EXPECT_EQ(q.integer("TOTAL"), 120);
    EXPECT_EQ(q.text("TIP"), "C");
    EXPECT_EQ(q.text("PLATNUME"), "POPA ION");
    EXPECT_EQ(q.text("LEGITIMA"), "L-12");
    EXPECT_EQ(printed, std::vector<qint64>{q.integer("IDCHIT")});
    EXPECT_EQ(storedRest(), 80);
    EXPECT_EQ(account.TotalAchitatL->text(), "0") << "the account was computed again";
    EXPECT_EQ(account.TotPlata1->text(), "80");
    EXPECT_EQ(f.db()
                  .scalar(QStringLiteral("SELECT ACTIUNE FROM \"%1/Log.dbf\"").arg(f.env.folders().data))
                  .toString()
                  .trimmed(),
              "Operat Chitanta nr.41");
}

TEST_F(PaymentOperationTest, APaymentMadeMeanwhileElsewhereIsRefusedAndTheAccountShowsIt) {
    auto* model = account.model(AccountGrid::Taxes);
    model->setData(model->index(0, model->enteredColumn()), "120");
    TChitantaF& dialog = payment.dialog();
    whenShown(dialog, [&] {
        f.db().exec(QStringLiteral("UPDATE \"%1\" SET REST = 150").arg(f.path("SoldCalc.dbf"))); // another workstation
        dialog.OpereazaBut->click();
    });
    account.OperBut->click();
    EXPECT_EQ(f.env.messages().titles(), QStringList{"Operare"});
    EXPECT_EQ(f.db().scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(f.path("Chitante.dbf"))).toInt(), 0);
    EXPECT_EQ(storedRest(), 150);
    EXPECT_EQ(account.TotPlata1->text(), "150") << "the screen shows what the role owes now";
    EXPECT_TRUE(printed.empty());
}

} // namespace
