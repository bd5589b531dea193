// The purchases and sales of the old year turned into changes of the copied pages: what one
// Debit.dbf row assigns, and why a row that cannot be applied safely is refused.

#include "datafolder/new_year_pages.h"

#include "shell/catalog.h"

#include <gtest/gtest.h>

#include <map>

using namespace vartesa;

namespace {

const db::Layout* catalogLayout(const QString& file) {
    static std::map<QString, db::Layout> layouts;
    auto it = layouts.find(file);
    if (it == layouts.end()) {
        db::Layout l;
        l.fields = CatalogTable(file).fields;
        it = layouts.emplace(file, l).first;
    }
    return &it->second;
}

YearDebit debit(const QString& kind, const QString& file, std::vector<std::pair<QString, QString>> pairs) {
    YearDebit d;
    d.id = 7;
    d.roleId = 3;
    d.kind = kind;
    d.object.file = file;
    d.object.pairs = std::move(pairs);
    return d;
}

struct PlanCase {
    const char* what;
    YearDebit debit;
    const char* assignments; // PageChange::text()
    bool refused;
};

TEST(NewYearPageChange, AssignmentsOfPurchasesAndSales) {
    const PlanCase cases[] = {
        {"purchase: comma read as a point", debit("Cumparare", "PAG2", {{"C1S", "25,5"}}), "C1S=C1S+25.5", false},
        {"sale lowers the area", debit("Vanzare", "PAG2", {{"C1S", "25,5"}}), "C1S=C1S-25.5", false},
        {"year and material of a purchase only fill an empty slot",
         debit("CUMPARARE", "pag2", {{"C1A", "1990"}, {"C1C", "1"}, {"C1Z", "B"}}),
         "C1A=1990 (daca este 0), C1C=1 (daca este 0), C1Z='B'", false},
        {"year of a sale cleared only when equal", debit("Vanzare", "PAG2", {{"C1A", "1990"}}), "C1A=0 (daca este 1990)",
         false},
        {"empty, 0 and INV1 pairs skipped", debit("Cumparare", "PAG4", {{"CCA", ""}, {"INV1", "5"}, {"CCB", "0"}, {"CCC", "10"}}),
         "CCC=CCC+10", false},
        {"all eight pairs", debit("Cumparare", "PAG1", {{"L1A", "1"}, {"L1B", "1"}, {"L1C", "1"}, {"L1D", "1"},
                                                         {"L2A", "1"}, {"L2B", "1"}, {"L2C", "1"}, {"L2D", "2"}}),
         "L1A=L1A+1, L1B=L1B+1, L1C=L1C+1, L1D=L1D+1, L2A=L2A+1, L2B=L2B+1, L2C=L2C+1, L2D=L2D+2", false},
        {"a date field", debit("Cumparare", "PAG2", {{"DINV1", "01.02.2014"}}), "DINV1=01.02.2014", false},
        {"unknown column", debit("Cumparare", "PAG2", {{"XYZ", "1"}}), "", true},
        {"the role key", debit("Cumparare", "PAG2", {{"IDGOS", "5"}}), "", true},
        {"no page table", debit("Cumparare", "GOSPODAR", {{"NUMEP", "X"}}), "", true},
        {"not a number for a numeric column", debit("Cumparare", "PAG2", {{"C1S", "abc"}}), "", true},
        {"a text too long", debit("Cumparare", "PAG2", {{"C1Z", "B' OR 1=1"}}), "", true},
        {"a bad date", debit("Cumparare", "PAG2", {{"DINV1", "2014-02-01"}}), "", true},
    };
    for (const PlanCase& c : cases) {
        const PageChange change = PlanPageChange(c.debit, catalogLayout);
        EXPECT_EQ(change.refused(), c.refused) << c.what << ": " << change.refusal.toStdString();
        if (!c.refused) EXPECT_EQ(change.text().toStdString(), c.assignments) << c.what;
    }
}

} // namespace
