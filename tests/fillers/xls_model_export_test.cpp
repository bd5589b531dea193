// The spreadsheet filler: marker cells, the "#DBF" row expanded once per record with its
// formulas and a widening total, empty cells for zero amounts, the free "Rap" names, and
// what the clerk is told when a template or a name is missing. The filled workbook is
// read back by an outside converter where it is installed.

#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "fillers/xls_model_export.h"
#include "support/scripted_services.h"
#include "workbook/workbook.h"

#include <QDate>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace vartesa;
using workbook::CellType;

namespace {

class XlsModelExportTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return env_.folders().program + '/' + name; }

    // A list template: title markers, headings in row 7, the "#DBF" row 8 (marker in K8)
    // and a totals row 9 summing G7:G8.
    QString makeTemplate() {
        workbook::Workbook book;
        workbook::Sheet& s = book.sheet(0);
        s.setText(0, 0, " #primaria ");
        s.setText(1, 0, "#PERIOADA");
        s.setText(1, 6, "#SOLD");
        s.setText(6, 0, "Nr.");
        s.setText(6, 1, "Nume");
        s.setText(6, 6, "Suma");
        s.setText(7, 0, "%NRCRT");
        s.setText(7, 1, "#NUME");
        s.setText(7, 2, "#COD");
        s.setText(7, 3, "#DATAI");
        s.setText(7, 4, "#NR");
        s.setText(7, 5, "#NECUNOSCUT");
        s.setText(7, 6, "#SUMA");
        s.setFormula(7, 7, "G8*2");
        s.setText(7, 10, "#dbf");
        s.setText(8, 5, "Total");
        s.setFormula(8, 6, "SUM(G7:G8)");
        const QString file = path("Model.xls");
        book.save(file);
        return file;
    }

    db::Query records(int count) {
        const QString table = env_.folders().program + "/Lista.dbf";
        db_.exec(QStringLiteral("CREATE TABLE \"%1\" (NUME CHAR(20), COD CHAR(5), DATAI DATE, NR DECIMAL(6,0), "
                                "SUMA DECIMAL(6,0))").arg(table));
        const QVariantList rows[] = {{"POPESCU ION", "0", QDate(2015, 3, 2), 0, 150},
                                     {"IONESCU ANA", "A7", QDate(2015, 3, 3), 12, 0},
                                     {"SC \"ALFA\" SRL", "", QDate(), 4, 275}};
        for (int i = 0; i < count; ++i)
            db_.exec(QStringLiteral("INSERT INTO \"%1\" (NUME, COD, DATAI, NR, SUMA) VALUES (?, ?, ?, ?, ?)").arg(table),
                     rows[i]);
        return db_.query(QStringLiteral("SELECT NUME, COD, DATAI, NR, SUMA FROM \"%1\"").arg(table));
    }

    // Opens a saved list through the outside converter; its cells as CSV lines.
    static QStringList convertedLines(const QString& file) {
        QProcess converter;
        const QString csv = file + ".csv";
        converter.start(QStandardPaths::findExecutable("ssconvert"), {"--recalc", file, csv});
        EXPECT_TRUE(converter.waitForFinished(60000));
        EXPECT_EQ(converter.exitCode(), 0) << converter.readAllStandardError().toStdString();
        QFile f(csv);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return QString::fromUtf8(f.readAll()).split('\n');
    }

    test::TestServices env_;
    db::Database db_;
    TExportXLSModel xls_{env_.services()};
};

TEST_F(XlsModelExportTest, TheTemplateRowBecomesOneRowPerRecordAndTheTotalWidens) {
    ASSERT_TRUE(xls_.OpenTemplate(makeTemplate()));
    xls_.SetTextCell("#PRIMARIA", "Primaria CORBU");
    xls_.SetTextCell("#perioada", "01.03.2015 - 31.03.2015");
    xls_.SetAmountCell("#SOLD", 1250);
    db::Query rows = records(3);
    xls_.FillRows(rows);
    EXPECT_EQ(rows.position(), 0) << "the query is back where it was";
    xls_.SaveAndOpen();
    ASSERT_EQ(xls_.lastResult(), path("Rap0.xls"));
    EXPECT_EQ(env_.desktop().opened(), QStringList({path("Rap0.xls")}));
    EXPECT_FALSE(xls_.isOpen());

    const workbook::Workbook book = workbook::Workbook::open(path("Rap0.xls"));
    const workbook::Sheet& s = book.sheet(0);
    EXPECT_EQ(s.text(0, 0), "Primaria CORBU");
    EXPECT_EQ(s.text(1, 0), "01.03.2015 - 31.03.2015");
    EXPECT_EQ(s.number(1, 6), 1250);
    for (int row : {7, 8, 9}) {
        EXPECT_EQ(s.number(row, 0), row - 6) << "running number of row " << row + 1;
        EXPECT_EQ(s.cellType(row, 10), CellType::Blank) << "K" << row + 1 << " holds no marker";
        EXPECT_EQ(s.text(row, 5), "#NECUNOSCUT") << "a marker naming no field stays";
        ASSERT_EQ(s.formulaReferences(row, 7).size(), 1u);
        EXPECT_EQ(s.formulaReferences(row, 7).front(), (workbook::CellRange{row, row, 6, 6})) << "H follows its row";
    }
    EXPECT_EQ(s.text(7, 1), "POPESCU ION");
    EXPECT_EQ(s.text(9, 1), "SC \"ALFA\" SRL");
    EXPECT_EQ(s.cellType(7, 2), CellType::Text) << "a character field holding 0 is the text 0";
    EXPECT_EQ(s.text(7, 2), "0");
    EXPECT_EQ(s.cellType(7, 4), CellType::Blank) << "a number 0 is an empty cell";
    EXPECT_EQ(s.cellType(8, 6), CellType::Blank);
    EXPECT_EQ(s.number(8, 4), 12);
    EXPECT_EQ(s.number(7, 3), QDate(1899, 12, 30).daysTo(QDate(2015, 3, 2))) << "dates are day numbers";
    EXPECT_EQ(s.cellType(9, 3), CellType::Blank) << "an empty date stays empty";
    EXPECT_EQ(s.text(10, 5), "Total") << "the totals row is right below the filled rows";
    ASSERT_EQ(s.formulaReferences(10, 6).size(), 1u);
    EXPECT_EQ(s.formulaReferences(10, 6).front(), (workbook::CellRange{6, 9, 6, 6})) << "G7:G10";
    EXPECT_EQ(s.lastRow(), 10) << "the template row is gone";

    if (QStandardPaths::findExecutable("ssconvert").isEmpty()) GTEST_SKIP() << "ssconvert is not installed";
    const QStringList lines = convertedLines(path("Rap0.xls"));
    ASSERT_GE(lines.size(), 11);
    EXPECT_EQ(lines[7], "1,\"POPESCU ION\",0,42065,,#NECUNOSCUT,150,300") << lines[7].toStdString();
    EXPECT_TRUE(lines[8].startsWith("2,\"IONESCU ANA\",A7,")) << lines[8].toStdString();
    EXPECT_EQ(lines[10], ",,,,,Total,425,") << "the total covers exactly the filled rows: " << lines[10].toStdString();
}

TEST_F(XlsModelExportTest, MarkersAreFoundOnASheetReachingItsLastRowAndColumn) {
    // A template whose used area is the whole sheet: the scan visits the cells that
    // exist, not every position of the area (a scan per position does not end).
    workbook::Workbook book;
    workbook::Sheet& sheet = book.sheet(0);
    sheet.setText(0, 0, "#PRIMARIA");
    sheet.setText(workbook::MaxRows - 1, workbook::MaxColumns - 1, "#PRIMARIA");
    book.save(path("Mare.xls"));
    ASSERT_TRUE(xls_.OpenTemplate(path("Mare.xls")));
    xls_.SetTextCell("#PRIMARIA", "Primaria CORBU");
    xls_.SaveAndOpen();
    const workbook::Workbook filled = workbook::Workbook::open(xls_.lastResult());
    EXPECT_EQ(filled.sheet(0).text(workbook::MaxRows - 1, workbook::MaxColumns - 1), "Primaria CORBU");
}

TEST_F(XlsModelExportTest, AnEmptyQueryLeavesNeitherDataNorTemplateRow) {
    ASSERT_TRUE(xls_.OpenTemplate(makeTemplate()));
    db::Query rows = records(0);
    xls_.FillRows(rows);
    xls_.SaveAndOpen();
    const workbook::Workbook book = workbook::Workbook::open(xls_.lastResult());
    EXPECT_EQ(book.sheet(0).text(7, 5), "Total");
    EXPECT_EQ(book.sheet(0).lastRow(), 7);
}

TEST_F(XlsModelExportTest, AListLongerThanTheSheetIsRefusedNamingItsLength) {
    ASSERT_TRUE(xls_.OpenTemplate(makeTemplate()));
    // The template row stays while it is copied: with the seven rows above it and the totals
    // row below, 65,527 copies fit.
    for (const int count : {workbook::MaxRows - 9, workbook::MaxRows - 8}) {
        std::vector<std::vector<QVariant>> many(size_t(count), {QStringLiteral("ION")});
        db::Query rows = db::Query::fromRows({"NUME"}, std::move(many));
        if (count == workbook::MaxRows - 9) {
            EXPECT_NO_THROW(xls_.FillRows(rows));
            ASSERT_TRUE(xls_.OpenTemplate(makeTemplate()));
            continue;
        }
        try {
            xls_.FillRows(rows);
            FAIL() << "a list of " << count << " rows does not fit";
        } catch (const Error& e) {
            EXPECT_TRUE(e.text().startsWith(QStringLiteral("Lista are %1 randuri").arg(count))) << e.text().toStdString();
        }
    }
}

TEST_F(XlsModelExportTest, AListHeldOpenIsNotOverwritten) {
    QFile held(path("Rap0.xls"));
    ASSERT_TRUE(held.open(QIODevice::WriteOnly));
    held.write("lista de ieri");
    held.close();
    QFile lock(path(".~lock.Rap0.xls#"));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.close();

    ASSERT_TRUE(xls_.OpenTemplate(makeTemplate()));
    xls_.SaveAndOpen();
    EXPECT_EQ(xls_.lastResult(), path("Rap1.xls"));
    EXPECT_EQ(env_.desktop().opened(), QStringList({path("Rap1.xls")}));
    ASSERT_TRUE(held.open(QIODevice::ReadOnly));
    EXPECT_EQ(held.readAll(), "lista de ieri");
}

TEST_F(XlsModelExportTest, TheClerkIsToldWhenNoNameIsFree) {
    for (int n = 0; n <= 100; ++n) {
        QFile lock(path(QStringLiteral(".~lock.Rap%1.xls#").arg(n)));
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
        QFile held(path(QStringLiteral("Rap%1.xls").arg(n)));
        ASSERT_TRUE(held.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(xls_.OpenTemplate(makeTemplate()));
    xls_.SaveAndOpen();
    EXPECT_FALSE(xls_.isOpen());
    EXPECT_TRUE(env_.desktop().handed().isEmpty());
    ASSERT_EQ(env_.messages().shown().size(), 1u);
    EXPECT_EQ(env_.messages().shown().front().title, "Liste");
    EXPECT_TRUE(env_.messages().shown().front().text.startsWith("Lista nu poate fi salvata"));
}

TEST_F(XlsModelExportTest, AMissingTemplateIsReportedAndNothingIsSaved) {
    EXPECT_FALSE(xls_.OpenTemplate(path("Lipsa.xls")));
    ASSERT_EQ(env_.messages().shown().size(), 1u);
    EXPECT_EQ(env_.messages().shown().front().text,
              "Lipseste modelul " + path("Lipsa.xls") + " !\rLista nu poate fi realizata.");
    EXPECT_THROW(xls_.SetTextCell("#PRIMARIA", "x"), Error);
    xls_.SaveAndOpen();
    EXPECT_TRUE(env_.desktop().handed().isEmpty());
    EXPECT_FALSE(QFile::exists(path("Rap0.xls")));
}

} // namespace
