#pragma once
// A data folder with the register's tables, constants the test sets, and the ledger and
// balances of a role read back after "Adaugare la plata".

#include "role_test_util.h"

#include "db/query.h"
#include "roles/assessment.h"
#include "admin/admin_constants.h"

#include <QStringList>

#include <map>

namespace vartesa::test {

/// One ledger line as stored.
struct StoredLine {
    qint64 id = 0;
    QString unit;
    double quantity = 0;
    qint64 amount = 0, arrears = 0, reduction = 0, percent = 0, established = 0,
           arrearsEstablished = 0;
};

class AssessmentFolder : public RoleFolder {
public:
    /// Every constant the assessment reads starts at 0, the reductions too, so a test
    /// states exactly the rates it relies on.
    AssessmentFolder() {
        for (const AdminControl& c : AdminControls())
            if (c.kind == SettingKind::Number || c.kind == SettingKind::Coefficient)
                constants.setText(c.key, "0");
    }

    /// A role of village "Vârteşa" with its blank pages; `legal` makes it "JURIDICA".
    qint64 role(const QString& number, const QString& name = QStringLiteral("POPESCU ION"),
                bool legal = false) {
        const qint64 id = add(QStringLiteral("Vârteşa"), number, name);
        if (legal) change(id, [](Role& r) { r.personType = kPersonLegal; });
        return id;
    }
    /// Changes the stored role through the register.
    template <typename Fn> void change(qint64 id, Fn fn) {
        Role r = *roles.role(id);
        fn(r);
        roles.editRole(r);
    }
    /// Sets fields of the role's row of a page table: `assignments` like "C1S = ?, C1A = ?".
    void page(const QString& file, qint64 id, const QString& assignments,
              const QVariantList& values) {
        db().exec(
            QStringLiteral("UPDATE \"%1\" SET %2 WHERE IDGOS = ?").arg(path(file), assignments),
            values + QVariantList{id});
    }
    /// Runs the assessment of one role with the constants as they are now.
    bool assess(qint64 id) {
        CountersFile c = counters();
        Assessor assessor(db(), env.folders().data, c, constants);
        return assessor.assess(*roles.role(id));
    }
    /// The role's lines by "GRUPA|DENUM".
    std::map<QString, StoredLine> lines(qint64 id) {
        std::map<QString, StoredLine> out;
        db::Query q = db().query(
            QStringLiteral("SELECT * FROM \"%1\" WHERE IDGOS = ?").arg(path("Datorii.dbf")), {id});
        for (q.first(); !q.eof(); q.next()) {
            StoredLine l{q.integer("IDDAT"),  q.text("UM"),       q.real("CANT"),
                         q.integer("SUMA"),   q.integer("REST"),  q.integer("REDUC"),
                         q.integer("REDUCP"), q.integer("SUMA2"), q.integer("RESTINI")};
            out[q.text("GRUPA") + '|' + q.text("DENUM")] = l;
        }
        return out;
    }
    /// One line; a default line (id 0) when the role has none of that name.
    StoredLine line(qint64 id, const QString& group, const QString& name) {
        const auto all = lines(id);
        const auto it = all.find(group + '|' + name);
        return it == all.end() ? StoredLine{} : it->second;
    }
    /// A balance field of the role's row of one group.
    qint64 balance(qint64 id, const QString& group, const QString& field) {
        return db()
            .scalar(QStringLiteral("SELECT %1 FROM \"%2\" WHERE IDGOS = ? AND GRUPA = ?")
                        .arg(field, path("SoldCalc.dbf")),
                    {id, group})
            .toLongLong();
    }

    AdminConstants constants;
};

} // namespace vartesa::test
