// TGospodarii: adding, changing and deleting a role.

#include "roles/ui/role_register_window.h"

#include "roles/ui/role_dialog.h"
#include "roles/village_list.h"
#include "admin/admin_catalog.h"
#include "admin/admin_constants.h"
#include "shell/counters.h"
#include "shell/services.h"
#include "shell/startup.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTableView>

namespace vartesa {

BlankPageDefaults TGospodarii::blankPageDefaults() const {
    BlankPageDefaults d;
    d.zone = constants_.text(DefaultZoneControl().key);
    d.rank = constants_.text(DefaultRankControl().key);
    d.revaluationDate = QDate(WorkingYear().toInt(), 1, 1);
    return d;
}

// A village the screen's list lacks joins it; after an addition the whole list replaces
// Sate.lst, so the next form offers it.
void TGospodarii::addVillage(const QString& village, bool writeList) {
    if (villages_.contains(village)) return;
    QStringList list = villages_;
    list << village;
    setVillageList(list);
    if (writeList) WriteVillageList(s_.folders.data + QStringLiteral("/Sate.lst"), villages_);
}

// After a write: the register read again, the village chosen, the name typed and the role
// current, as if the clerk had searched for it.
void TGospodarii::reopenAt(const QString& village, const QString& name, qint64 id) {
    runSearch([this, village, name, id] {
        search_.open();
        search_.villageChanged(village);
        search_.nameChanged(name);
        search_.locate(id);
    });
}

void TGospodarii::AddGospodarie() {
    TAddGosF& d = *dialog_;
    d.ResetRoleDialog(ReadVillageList(s_.folders.data + QStringLiteral("/Sate.lst")), roles_.addresses());
    if (const QString chosen = SatCombo->currentText().trimmed(); !chosen.isEmpty() && d.SatCombo->findText(chosen) >= 0)
        d.SatCombo->setCurrentText(chosen);
    d.ROLEd->setText(roles_.ProposeRoleNumber());
    if (!d.ShowRoleDialog(kAddRoleCaption)) return;
    Role role = d.role();
    CountersFile counters = s_.counters();
    role.id = roles_.addRole(role, counters, blankPageDefaults());
    addVillage(role.village, true);
    reopenAt(role.village, role.name, role.id);
}

void TGospodarii::EditGospodarie() {
    const Role* current = search_.currentRole();
    if (!current) {
        s_.messages().ShowProblemHint(QStringLiteral("Nu aveti ce modifica!"), SMDBGrid3);
        return;
    }
    TAddGosF& d = *dialog_;
    // The villages of Sate.lst, so a village typed over the role's own is checked against them.
    const QStringList addresses = roles_.addresses();
    d.ResetRoleDialog(ReadVillageList(s_.folders.data + QStringLiteral("/Sate.lst")), addresses);
    d.FillRoleDialog(*current, addresses);
    if (!d.ShowRoleDialog(kEditRoleCaption)) return;
    const Role role = d.role();
    roles_.editRole(role);
    addVillage(role.village, false);
    reopenAt(role.village, role.name, role.id);
}

void TGospodarii::DelGospodarie() {
    const Role* current = search_.currentRole();
    if (!current) {
        s_.messages().ShowProblemHint(QStringLiteral("Nu aveti ce sterge!"), SMDBGrid3);
        return;
    }
    const QString title = QStringLiteral("Stergere gospodarie");
    Messages& m = s_.messages();
    const QStringList questions = {
        QStringLiteral("Doriti sa stergeti gospodaria cu \rnr.ROL ") + current->number + QStringLiteral(" din ") +
            current->village + '?',
        QStringLiteral("Stergem toata istoria omului din calculator ?!"),
        QStringLiteral("Se sterg toate chitantele omului de-a lungul vremii !!!\r"
                       "Va dati seama ca se modifica toate soldurile ?!")};
    for (const QString& q : questions)
        if (!m.askYesNoDefaultNu(title, q)) return;
    if (!m.askYesNoDefaultNu(title, QStringLiteral("Deci va asumati riscul sa schimbati toate rapoartele de pana acum ?!"))) {
        m.showInformation(QStringLiteral("Emotii mari"), QStringLiteral("Bine ati revenit cu picioarele pe pamant !"));
        return;
    }
    const qint64 id = current->id;
    const qint64 neighbour = search_.neighbourOfCurrent();
    roles_.deleteRole(id, s_.progress());
    runSearch([this, neighbour] {
        search_.open(); // the fields follow the role now current
        search_.locate(neighbour);
    });
}

} // namespace vartesa
