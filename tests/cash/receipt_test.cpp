// The printed receipt: its layout (two copies, eight rows, totals, the codes), the way out
// chosen by the clerk's options, and the text of the PDF it becomes.

#include "cash_test_util.h"

#include "cash/receipt.h"
#include "cash/ui/document_printing.h"
#include "report/ui/report_output.h"
#include "admin/admin_constants.h"
#include "support/gui_application.h"
#include "support/tool_run.h"

#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

using namespace vartesa;

namespace {

const QString kDash = QStringLiteral(" - ");

/// Records what would have gone to the preview or the printer.
class RecordingOutput final : public report::Output {
public:
    bool printerReady = true;
    int printed = 0, previewed = 0;
    bool print(const report::Layout&) override {
        ++printed;
        return printerReady;
    }
    void preview(const report::Layout&) override { ++previewed; }
};

QString pdfText(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished(30000));
    return QString::fromUtf8(p.readAllStandardOutput());
}

/// One line of document `id`: 100 current, 20 arrears, 5 penalties, 10 bonus.
void addLine(test::CashFolder& f, qint64 id, const QString& group, const QString& kind = "C",
             const QString& personType = "F", const QString& taxpayer = "POPA ION") {
    f.db().exec(QStringLiteral("INSERT INTO \"%1\" (IDCHIT, IDGOS, SERIA, NR, DATAI, ROL, GRUPA, DENUM, CODCLAS, NUMEP, "
                               "CNP, ADRESA, TIPF, PLATNUME, INCANUME, LEGITIMA, RESTANTA, MAJOREST, DEPOZIT, CURENT, "
                               "MAJOR, REDUCERE, TOTAL, TIP) VALUES (?, 1, 'AB', 17, ?, '42', ?, 'detaliu', '070201', ?, "
                               "'1234567890123', 'Str. Mare 1', ?, 'PLATITOR', 'CASIER1', 'L-9', 20, 2, 0, 100, 3, 10, "
                               "115, ?)")
                    .arg(f.path("Chitante.dbf")),
                {id, QDate(2015, 3, 2), group, taxpayer, personType, kind});
}

class ReceiptTest : public ::testing::Test {
protected:
    void SetUp() override { test::ensureGuiApplication(); }

    void line(qint64 id, const QString& group, const QString& kind = "C", const QString& personType = "F",
              const QString& taxpayer = "POPA ION") {
        addLine(f, id, group, kind, personType, taxpayer);
    }
    ReceiptDocument read(qint64 id) { return ReadReceipt(f.db(), f.path("Chitante.dbf"), id); }
    report::Page page(qint64 id) {
        const report::Layout l = report::LayOut(ReceiptReport(read(id), town));
        EXPECT_EQ(l.pages.size(), 1u);
        return l.pages.at(0);
    }

    test::CashFolder f;
    TownHall town{QStringLiteral("Cluj"), QStringLiteral("Primaria Corbu"), QStringLiteral("123"), QStringLiteral("Corbu")};
};

TEST_F(ReceiptTest, ShowsTheLinesAndFillsTheRestOfTheEightRowsOfEachCopyWithDashes) {
    for (const char* g : {"Impozit pe cladiri", "Taxa apa", "Amenzi"}) line(7, g);
    const report::Report r = ReceiptReport(read(7), town);
    ASSERT_EQ(r.rows.size(), size_t(kReceiptRows));
    EXPECT_EQ(r.rows[0].cells, (QStringList{"Amenzi - detaliu", "070201", "100", "20", "5", "10", "115"}));
    for (int n = 3; n < kReceiptRows; ++n) EXPECT_EQ(r.rows[size_t(n)].cells, QStringList(7, kDash)) << n;
    // Both copies: five dashed rows of seven cells, and the missing company code.
    EXPECT_EQ(page(7).count(kDash), 2 * (5 * 7 + 1));
}

TEST_F(ReceiptTest, TenLinesShowEightRowsButTotalAllTen) {
    for (int n = 0; n < 10; ++n) line(8, QStringLiteral("Taxa %1").arg(n));
    const report::Report r = ReceiptReport(read(8), town);
    EXPECT_EQ(r.rows.size(), size_t(kReceiptRows));
    EXPECT_EQ(r.rows.back().cells.at(0), "Taxa 7 - detaliu");
    ASSERT_TRUE(r.totals);
    EXPECT_EQ(r.totals->cells, (QStringList{"T O T A L ", "", "1000", "200", "50", "100", "1150"}));
}

TEST_F(ReceiptTest, PlacesTheCodeByPersonType) {
    struct Case {
        const char* type;
        QStringList expected; // the person mark, then the two code fields
    } cases[] = {{"F", {"PF", "1234567890123", kDash}}, {"J", {"PJ", kDash, "1234567890123"}}};
    qint64 id = 20;
    for (const Case& c : cases) {
        line(++id, "Taxa apa", "C", c.type);
        const QStringList texts = page(id).textsInOrder();
        const auto after = [&](const char* label) { return texts.value(texts.indexOf(QLatin1String(label)) + 1); };
        EXPECT_EQ(page(id).count(c.expected[0]), 2) << c.type;
        EXPECT_EQ(after("Cod numeric personal"), c.expected[1]) << c.type;
        EXPECT_EQ(after("Cod unic de inregistrare"), c.expected[2]) << c.type;
    }
}

TEST_F(ReceiptTest, TheSealNoteOnlyForVeltorani) {
    line(9, "Taxa apa");
    const QString note = QStringLiteral("Chitantele sunt valabile numai daca au aplicat pe verso");
    EXPECT_EQ(page(9).count(note), 0);
    town.locality = QStringLiteral("Comuna Veltorani");
    EXPECT_EQ(page(9).count(note), 2);
}

TEST_F(ReceiptTest, ADocumentWithoutReceiptLinesPrintsNothing) {
    line(10, "Taxa apa", "N");
    AdminConstants constants;
    RecordingOutput out;
    PrintReceipt(f.env.services(), constants, 10, f.path("Chitante.dbf"), out);
    ASSERT_EQ(f.env.messages().shown().size(), 1u);
    EXPECT_EQ(f.env.messages().shown()[0].title, "Listare chitanta");
    EXPECT_EQ(f.env.messages().shown()[0].text, "Chitanta nu contine nimic!");
    EXPECT_EQ(out.printed + out.previewed, 0);
}

TEST_F(ReceiptTest, GoesWhereTheOptionsSay) {
    struct Case {
        const char* pdf;
        const char* preview;
        bool printerReady;
        int opened, previewed, printed, messages;
    } cases[] = {{"DA", "DA", true, 1, 0, 0, 0},
                 {"NU", "DA", true, 0, 1, 0, 0},
                 {"NU", "NU", true, 0, 0, 1, 0},
                 {"NU", "NU", false, 0, 0, 1, 1}};
    for (const Case& c : cases) {
        test::CashFolder g;
        addLine(g, 11, "Taxa apa");
        AdminConstants constants;
        constants.setText("FormatPDF", c.pdf);
        constants.setText("PreviewC", c.preview);
        RecordingOutput out;
        out.printerReady = c.printerReady;
        PrintReceipt(g.env.services(), constants, 11, g.path("Chitante.dbf"), out);
        EXPECT_EQ(g.env.desktop().opened().size(), size_t(c.opened)) << c.pdf << c.preview;
        EXPECT_EQ(out.previewed, c.previewed) << c.pdf << c.preview;
        EXPECT_EQ(out.printed, c.printed) << c.pdf << c.preview;
        ASSERT_EQ(g.env.messages().shown().size(), size_t(c.messages));
        if (c.messages) {
            EXPECT_EQ(g.env.messages().shown()[0].text, "Imprimanta nu este pregatita sau nu este instalata!\r"
                                                        "Intrati la istoric chitante si listati din nou!");
        }
    }
}

TEST_F(ReceiptTest, RomanianLettersReachThePdfText) {
    line(12, "Taxa apa", "C", "F", QStringLiteral("ŞTEFĂNESCU ÎONUŢ ÂNCA"));
    AdminConstants constants;
    constants.setText("FormatPDF", "DA");
    constants.setText("PrimariaLab", QStringLiteral("Primăria comunei Vârteșa"));
    constants.setText("JudetulLab", QStringLiteral("Bistrița-Năsăud"));
    RecordingOutput out;
    PrintReceipt(f.env.services(), constants, 12, f.path("Chitante.dbf"), out);
    ASSERT_EQ(f.env.desktop().opened().size(), 1u);
    EXPECT_EQ(QFileInfo(f.env.desktop().opened()[0]).fileName(), "Chit0.pdf");
    const QString text = pdfText(f.env.desktop().opened()[0]);
    EXPECT_EQ(text.count(QStringLiteral("Primăria comunei Vârteșa")), 2) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("Judetul Bistrița-Năsăud"))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("ŞTEFĂNESCU ÎONUŢ ÂNCA"))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("Cod inregistrare fiscala"))) << qPrintable(text); // no "fi" ligature
}

TEST_F(ReceiptTest, TheToolWritesThePdfOrRefusesWithoutReceiptLines) {
    line(13, "Taxa apa");
    line(14, "Taxa apa", "N");
    const QString pdf = f.env.root() + "/chitanta.pdf";
    QString out;
    EXPECT_EQ(test::runTool({"receipt", f.env.folders().data, "13", "--pdf", pdf}, &out), 0) << qPrintable(out);
    EXPECT_EQ(pdfText(pdf).count("PENTRU CREANTE ALE BUGETELOR LOCALE"), 2);
    const QString refused = f.env.root() + "/nimic.pdf";
    EXPECT_EQ(test::runTool({"receipt", f.env.folders().data, "14", "--pdf", refused}, &out), 1);
    EXPECT_TRUE(out.contains("Chitanta nu contine nimic!")) << qPrintable(out);
    EXPECT_FALSE(QFileInfo::exists(refused));
}

} // namespace
