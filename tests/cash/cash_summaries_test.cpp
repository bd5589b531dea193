// The register's lists and summaries, read back cell by cell from the saved workbooks, on a
// small month whose totals are worked out by hand below.
//
//   doc 1  C AB 5   02.03 ANA  ION (F, rol 12): Impozit pe cladiri  ram 100 maj 10 cur 200 bonif 20 major 5 = 295
//                                               Taxa salubrizare    ram 30 cur 50                        =  80
//   doc 2  C BB 9   03.03 BOB  SC ALFA (J, 40): Impozit pe cladiri  cur 400                              = 400
//                                               Amenzi (cod 350102, not in CODCL.dbf) cur 25              =  25
//   doc 3  O  - 7   03.03 ANA  ION:             Taxa salubrizare    cur -50                              = -50
//   doc 4  V  - 8   04.03 ANA  ION:             Impozit pe cladiri  cur 70                               =  70
//   doc 5  N  - 11  05.03 ANA  ION:             Impozit pe cladiri 60, Taxa salubrizare -60              =   0
//   doc 6  C AB 6   01.04 ANA  (outside March)                                                           = 999
//   manual: 04.03 ANA paid 120 "Dispozitie plata 3"; 04.03 BOB collected 35
//
// Cash (C, O) in March: 375 + 425 - 50 = 750; with the transfer 820.

#include "cash_register_util.h"

#include "cash/cash_summaries.h"

#include <gtest/gtest.h>

using namespace vartesa;
using namespace vartesa::test;

namespace {

const QDate kMarch1(2015, 3, 1), kMarch31(2015, 3, 31);

QString dayNumber(const QDate& d) { return QString::number(QDate(1899, 12, 30).daysTo(d)); }

class MonthFolder : public RegisterFolder {
public:
    MonthFolder() {
        db().exec(QStringLiteral("CREATE TABLE \"%1\" (FORMA CHAR(12), NUME CHAR(32), VALOARE CHAR(40))").arg(path("Ini.dbf")));
        db().exec(QStringLiteral("INSERT INTO \"%1\" VALUES ('FORM4', 'PrimariaLab', 'CORBU'), ('FORM4', 'ContabilLab', 'ENE ION')")
                      .arg(path("Ini.dbf")));
        db().exec(QStringLiteral("CREATE TABLE \"%1\" (IDCOD DECIMAL(10,0), GRUPA CHAR(60), CODCLF CHAR(24), CODCLJ CHAR(24), "
                                 "TIP CHAR(1))").arg(path("CODCL.dbf")));
        db().exec(QStringLiteral("INSERT INTO \"%1\" VALUES (1, 'Impozit pe cladiri', '070201', '070202', 'I'), "
                                 "(2, 'Taxa salubrizare', '360250', '360251', 'T')").arg(path("CODCL.dbf")));
        const QString cl = "Impozit pe cladiri", sal = "Taxa salubrizare";
        const QDate d2(2015, 3, 2), d3(2015, 3, 3), d4(2015, 3, 4), d5(2015, 3, 5);
        line({1, "C", "AB", 5, d2, "ANA", cl, "070201", "F", 100, 10, 200, 20, 5, 295});
        line({1, "C", "AB", 5, d2, "ANA", sal, "360250", "F", 30, 0, 50, 0, 0, 80});
        line({2, "C", "BB", 9, d3, "BOB", cl, "070202", "J", 0, 0, 400, 0, 0, 400, "40", "SC ALFA"});
        line({2, "C", "BB", 9, d3, "BOB", "Amenzi", "350102", "J", 0, 0, 25, 0, 0, 25, "40", "SC ALFA"});
        line({3, "O", " - ", 7, d3, "ANA", sal, "360250", "F", 0, 0, -50, 0, 0, -50});
        line({4, "V", " - ", 8, d4, "ANA", cl, "070201", "F", 0, 0, 70, 0, 0, 70});
        line({5, "N", " - ", 11, d5, "ANA", cl, "070201", "F", 0, 0, 60, 0, 0, 60});
        line({5, "N", " - ", 11, d5, "ANA", sal, "360250", "F", 0, 0, -60, 0, 0, -60});
        line({6, "C", "AB", 6, QDate(2015, 4, 1), "ANA", cl, "070201", "F", 0, 0, 999, 0, 0, 999});
        manual(50, d4, "ANA", 120, 0, "Dispozitie plata 3");
        manual(51, d4, "BOB", 0, 35, "Chitanta manuala");
    }
    // Builds the list, saves it and reads the file back.
    workbook::Workbook summary(SummaryKind kind, const SummaryRequest& r) {
        const QString file = env.folders().program + "/lista.xls";
        BuildSummary(env.services(), kind, r).save(file);
        return workbook::Workbook::open(file);
    }
};

struct Cell {
    int row, col;
    QString text;
};

struct SummaryCase {
    const char* what;
    SummaryKind kind;
    SummaryRequest request;
    std::vector<Cell> cells;
};

const SummaryRequest kMonth{kMarch1, kMarch31, false, {}};
const SummaryRequest kMonthWithTransfers{kMarch1, kMarch31, true, {}};

std::vector<SummaryCase> summaryCases() {
    return {
        {"register of 03.03: ANA paid out 50 net, BOB took 425, 375 from 02.03",
         SummaryKind::Register,
         {QDate(2015, 3, 3), QDate(2015, 3, 3), false, AnyCashier()},
         {{0, 0, "Primaria CORBU"}, {3, 0, "la data de 03.03.2015"}, {7, 2, "ANA"}, {7, 3, ""}, {7, 4, "50"},
          {8, 2, "BOB"}, {8, 3, "425"}, {9, 3, "425"}, {9, 4, "50"}, {10, 3, "375"}, {11, 3, "750"}, {15, 3, "ENE ION"}}},
        {"payments: the one manual payment", SummaryKind::Payments, kMonth,
         {{4, 0, "01.03.2015 - 31.03.2015"}, {7, 1, dayNumber(QDate(2015, 3, 4))}, {7, 2, "Dispozitie plata 3"},
          {7, 3, "120"}, {8, 3, "120"}}},
        {"arrears: the two lines of doc 1 that carry arrears", SummaryKind::Arrears, kMonth,
         {{0, 0, "U.A.T. CORBU"}, {6, 4, "Chitanta"}, {6, 7, "Impozit pe cladiri"}, {6, 8, "100"}, {6, 9, "10"},
          {7, 7, "Taxa salubrizare"}, {7, 8, "30"}, {8, 8, "130"}, {8, 9, "10"}}},
        {"by claim: local tax blocks by person type, one copied block per other name", SummaryKind::ByClaim, kMonth,
         {{0, 0, "UAT CORBU"}, {7, 7, "070201"}, {7, 13, "070202"}, {5, 55, "Amenzi"}, {7, 55, "-"},
          {5, 58, "Taxa salubrizare"}, {7, 58, "360250"},
          {10, 7, "100"}, {10, 8, "10"}, {10, 9, "200"}, {10, 10, "-20"}, {10, 11, "5"}, {10, 12, "295"},
          {10, 58, "30"}, {10, 59, "50"}, {10, 60, "80"}, {10, 61, "375"},
          {11, 15, "400"}, {11, 18, "400"}, {11, 56, "25"}, {11, 61, "425"},
          {12, 3, "O"}, {12, 59, "-50"}, {12, 61, "-50"}, {13, 61, "750"}, {13, 12, "295"}}},
        {"by claim with transfers: the V document is a row too", SummaryKind::ByClaim, kMonthWithTransfers,
         {{13, 3, "V"}, {13, 9, "70"}, {14, 61, "820"}}},
        {"by account: codes in list order, an unknown code first", SummaryKind::ByAccount, kMonth,
         {{0, 0, "PRIMARIA CORBU"}, {4, 0, "CENTRALIZATOR DE INCASARI SI PLATI PE NUMAR DE CONT"}, {6, 3, "350102"},
          {7, 3, "F.Debit"}, {6, 7, "070201"}, {7, 4, "Curent"}, {6, 16, "360250"}, {7, 17, "general"},
          {8, 2, "O.P. - 7 /03.03.2015"}, {8, 16, "-50"}, {8, 17, "-50"},
          {9, 2, "AB 5 /02.03.2015"}, {9, 4, "200"}, {9, 5, "20"}, {9, 6, "5"}, {9, 7, "100"}, {9, 8, "10"},
          {9, 9, "295"}, {9, 16, "80"}, {9, 17, "375"},
          {10, 3, "25"}, {10, 10, "400"}, {10, 15, "400"}, {10, 17, "425"},
          {11, 2, "Totaluri :"}, {11, 3, "25"}, {11, 16, "30"}, {11, 17, "750"}}},
        {"by cashier: one row per receipt, no transfer, no note", SummaryKind::ByCashier, kMonth,
         {{4, 0, "LISTA CHITANTELOR ELIBERATE"}, {7, 1, " - "}, {7, 2, "7"}, {7, 5, "-50"}, {8, 1, "AB"},
          {8, 5, "375"}, {9, 4, "BOB"}, {9, 5, "425"}, {10, 4, "TOTAL"}, {10, 5, "750"}}},
        {"by cashier with transfers asked: still no transfer", SummaryKind::ByCashier, kMonthWithTransfers,
         {{10, 5, "750"}}},
        {"accounts by cashier: a block per account with its total", SummaryKind::AccountsByCashier, kMonth,
         {{2, 0, "perioada 01.03.2015 - 31.03.2015"}, {5, 0, "Amenzi"}, {5, 4, "25"}, {7, 0, "Impozit pe cladiri"},
          {7, 3, "ANA"}, {7, 4, "295"}, {8, 3, "Total cont"}, {9, 1, "070202"}, {9, 4, "400"}, {11, 4, "30"},
          {13, 4, "750"}}},
        {"accounts total: per code", SummaryKind::AccountsTotal, kMonth,
         {{6, 1, "070201"}, {6, 2, "200"}, {6, 3, "20"}, {6, 4, "5"}, {6, 5, "100"}, {6, 6, "10"}, {6, 7, "295"},
          {8, 1, "350102"}, {9, 2, ""}, {9, 5, "30"}, {10, 2, "625"}, {10, 7, "750"}, {14, 5, "ENE ION"}}},
        {"accounts total with transfers", SummaryKind::AccountsTotal, kMonthWithTransfers,
         {{6, 2, "270"}, {6, 7, "365"}, {10, 7, "820"}}},
        {"compensations: the accounting note only", SummaryKind::Compensations, kMonth,
         {{4, 0, "CENTRALIZATOR COMPENSARI"}, {5, 3, "Impozit pe cladiri"}, {6, 3, "070201 / PF"}, {7, 3, "Curent"},
          {7, 8, "F.Debit"}, {8, 0, "12"}, {8, 2, "O.P. - 11 /05.03.2015"}, {8, 3, "60"}, {8, 7, "60"},
          {8, 8, "-60"}, {8, 9, ""}, {9, 3, "60"}}},
    };
}

TEST(CashSummaries, EachSummaryHoldsTheHandComputedCells) {
    MonthFolder f;
    for (const SummaryCase& c : summaryCases()) {
        const workbook::Workbook book = f.summary(c.kind, c.request);
        const workbook::Sheet& sheet = book.sheet(0);
        for (const Cell& cell : c.cells)
            EXPECT_EQ(sheet.text(cell.row, cell.col), cell.text)
                << c.what << ": row " << cell.row + 1 << " column " << cell.col + 1;
    }
}

TEST(CashSummaries, ACashierListsOnlyOwnDocumentsWhateverOperatorSays) {
    MonthFolder f;
    f.env.services().user = "BOB";
    f.env.services().grade = UserGrade::Cashier;
    const workbook::Workbook book = f.summary(SummaryKind::ByCashier, {kMarch1, kMarch31, false, "ANA"});
    EXPECT_EQ(book.sheet(0).text(1, 1), "BOB");
    EXPECT_EQ(book.sheet(0).text(7, 5), "425");
    EXPECT_EQ(book.sheet(0).text(8, 5), "425") << "the total of BOB's receipts alone";
}

TEST(CashSummaries, ArrearsAddUpPerDocumentAndClaimAndGoInClaimOrder) {
    MonthFolder f;
    const QDate d(2015, 3, 10);
    // Two lines of one note on one claim, then a receipt on a claim that sorts first, paying
    // only penalties on arrears; a line without arrears stays out.
    f.line({7, "N", "CC", 3, d, "ANA", "Taxa salubrizare", "360250", "F", 15, 0, 0, 0, 0, 15, "30"});
    f.line({7, "N", "CC", 3, d, "ANA", "Taxa salubrizare", "360250", "F", 25, 4, 0, 0, 0, 29, "30"});
    f.line({8, "C", "CC", 4, d, "ANA", "Amenzi", "350102", "F", 0, 6, 0, 0, 0, 6, "31"});
    f.line({9, "C", "CC", 5, d, "ANA", "Amenzi", "350102", "F", 0, 0, 9, 0, 0, 9, "32"});
    const workbook::Workbook book = f.summary(SummaryKind::Arrears, {d, d, false, {}});
    const workbook::Sheet& sheet = book.sheet(0);
    const std::vector<Cell> cells = {{6, 3, "31"}, {6, 4, "Chitanta"}, {6, 8, ""}, {6, 9, "6"},
                                     {7, 3, "30"}, {7, 4, "Nota contab."}, {7, 8, "40"}, {7, 9, "4"},
                                     {8, 8, "40"}, {8, 9, "10"}};
    for (const Cell& cell : cells)
        EXPECT_EQ(sheet.text(cell.row, cell.col), cell.text) << "row " << cell.row + 1 << " column " << cell.col + 1;
}

} // namespace
