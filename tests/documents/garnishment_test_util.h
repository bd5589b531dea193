#pragma once
// A data folder for the garnishments: the summonses' folder with both garnishment templates
// and budget accounts in CODCL.dbf.

#include "summons_test_util.h"

#include "admin/budget_codes.h"
#include "documents/garnishments.h"

namespace vartesa::test {

class GarnishmentFolder : public SummonsFolder {
public:
    GarnishmentFolder() {
        WriteResourceToFile(QStringLiteral("POPBANCA"), QStringLiteral("MODEL"), path("PopBanca2.rtf"));
        WriteResourceToFile(QStringLiteral("POPANGAJ"), QStringLiteral("MODEL"), path("PopAngaj2.rtf"));
        CountersFile c = counters();
        BudgetCodes(db(), env.folders().data, c).EnsureCodesTable(); // the starting claims, accounts empty
        // Two rows of the buildings tax (the greatest account wins); the fine is paid into the
        // buildings' account of a person; the hotel tax has no row.
        for (const auto& [group, person, company] : {std::tuple{"Impozit pe cladiri", "F-CLADIRI-1", "J-CLADIRI-2"},
                                                     {"Impozit pe cladiri", "F-CLADIRI-2", "J-CLADIRI-1"},
                                                     {"Amenda", "F-CLADIRI-2", "J-AMENZI"}})
            db().exec(QStringLiteral("INSERT INTO \"%1\" (IDCOD, GRUPA, CODCLF, CODCLJ, TIP) VALUES (?, ?, ?, ?, 'T')")
                          .arg(path("CodCL.dbf")),
                      {++codes_ + 100, group, person, company});
    }
    /// A role owing 120 lei of buildings tax, a fine of 60 + 20 and 30 lei of hotel tax.
    qint64 debtor(const QString& name, const QString& type = "FIZICA") {
        const qint64 role = addRole(name, type);
        balance(role, {"Impozit pe cladiri", 120, 120});
        ledgerLine(role, "Amenda", 60, 20);
        ledgerLine(role, "Taxa hoteliera", 30, 0);
        return role;
    }

private:
    int codes_ = 0;
};

} // namespace vartesa::test
