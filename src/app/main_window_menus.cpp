// The two menus of the main window, "Utilitare" and "Liste si Formulare", with every
// entry, separator and submenu. Entries open the screen attached under their name.

#include "shell/action_log.h"
#include "documents/person_lists.h"
#include "admin/template_editing.h"
#include "shell/ui/action_history_window.h"
#include "app/main_window.h"

#include <QAction>
#include <QMenu>

namespace vartesa {

namespace {

QMenu* submenu(QMenu* parent, const QString& name, const QString& caption) {
    QMenu* menu = parent->addMenu(caption);
    menu->setToolTipsVisible(true);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    return menu;
}

} // namespace

void TForm3::buildUtilitiesMenu() {
    utilitiesMenu_ = new QMenu(this);
    utilitiesMenu_->setToolTipsVisible(true);
    utilitiesMenu_->setObjectName(QStringLiteral("UtilitareMenu"));
    QMenu* m = utilitiesMenu_;
    entry(m, QStringLiteral("SalvareRestaurare1"), QStringLiteral("Salvare - Restaurare Baza de date"));
    entry(m, QStringLiteral("PreluareRA1"), QStringLiteral("Preluare date din Registru Agricol 2015-2019"));
    m->addSeparator();

    QMenu* models = submenu(m, QStringLiteral("ModelelistareRetusare1"), QStringLiteral("Modele listare - Retusare"));
    QMenu* executare = nullptr;
    for (const TemplateEntry& t : TemplateEntries()) {
        QMenu* into = models;
        if (!t.group.isEmpty()) {
            if (!executare) executare = submenu(models, QStringLiteral("ModeleExecutaresilita1"), t.group);
            into = executare;
        }
        entry(into, t.action, t.caption);
        const QString file = t.file;
        screens_.insert(t.action, [this, file] { ModelEdit(file); });
    }
    m->addSeparator();

    entry(m, QStringLiteral("Contulmeu1"), QStringLiteral("Contul meu"));
    screens_.insert(QStringLiteral("Contulmeu1"), [this] { ContulMeuClick(); });
    entry(m, QStringLiteral("Verificarebaze1"), QStringLiteral("Verificare baze"));

    QMenu* history = submenu(m, QStringLiteral("Istoricmodificari1"), QStringLiteral("Istoric modificari"));
    entry(history, QStringLiteral("General1"), QStringLiteral("General"));
    entry(history, QStringLiteral("Depeacestcalculator1"), QStringLiteral("De pe acest calculator"));
    for (const bool whole : {true, false})
        screens_.insert(whole ? QStringLiteral("General1") : QStringLiteral("Depeacestcalculator1"), [this, whole] {
            TIstoric window(s_.database(), this);
            window.ShowActionHistory(s_.actionLog().logPath(whole));
        });

    connect(m, &QMenu::aboutToShow, this, &TForm3::UtilitareMenuPopup);
}

void TForm3::buildListsMenu() {
    listsMenu_ = new QMenu(this);
    listsMenu_->setToolTipsVisible(true);
    listsMenu_->setObjectName(QStringLiteral("ListeMenu"));
    QMenu* m = listsMenu_;
    entry(m, QStringLiteral("Instiintarideplata1"), QStringLiteral("Instiintari de plata"));
    entry(m, QStringLiteral("Somatiideplata1"), QStringLiteral("Centralizator Somatii- Titluri"));
    entry(m, QStringLiteral("ConfirmareDebite"), QStringLiteral("Confirmare de primire debite"));
    entry(m, QStringLiteral("Situatiaexecutarilorsilite1"), QStringLiteral("Situatia executarilor silite"));
    QMenu* fines = submenu(m, QStringLiteral("AmenziTaxe1"), QStringLiteral("Amenzi / Taxe"));
    entry(fines, QStringLiteral("Listaamenzilor1"), QStringLiteral("Lista amenzi / taxe"));
    m->addSeparator();

    QMenu* register_ = submenu(m, QStringLiteral("RegistruldeROL1"), QStringLiteral("Registrul de ROL"));
    entry(register_, QStringLiteral("Ramasite1"), QStringLiteral("Listare directa"));
    entry(register_, QStringLiteral("ExportinExcel1"), QStringLiteral("Export in Excel"));

    QMenu* matricol = submenu(m, QStringLiteral("RegistrulMatricol1"), QStringLiteral("Registrul Matricol"));
    entry(matricol, QStringLiteral("Terenuri1"), QStringLiteral("Terenuri"));
    entry(matricol, QStringLiteral("LocuinteAnexe1"), QStringLiteral("Locuinte - Anexe"));
    entry(matricol, QStringLiteral("Mijloacedetransport1"), QStringLiteral("Mijloace de transport"));
    entry(matricol, QStringLiteral("Cumulat1"), QStringLiteral("Cumulat"));
    entry(matricol, QStringLiteral("PSIPaza1"), QStringLiteral("PSI / Paza"));

    QMenu* arrears = submenu(m, QStringLiteral("ListaRamasitePlusuri1"), QStringLiteral("Lista cu Ramasite / Plusuri"));
    entry(arrears, QStringLiteral("LRamasite"), QStringLiteral("Lista cu Ramasite"));
    entry(arrears, QStringLiteral("LPlusuri"), QStringLiteral("Lista cu Plusuri"));
    entry(arrears, QStringLiteral("ListaRamasiteAdresa1"), QStringLiteral("Lista Ramasite - Adresa"));

    QMenu* collect = submenu(m, QStringLiteral("Listadeincasat1"), QStringLiteral("Lista de incasat"));
    entry(collect, QStringLiteral("Detaliata1"), QStringLiteral("Detaliata"));
    entry(collect, QStringLiteral("Rezumat1"), QStringLiteral("Rezumat"));
    entry(collect, QStringLiteral("Gradulderecuperareimpozite1"), QStringLiteral("Gradul de colectare impozite"));

    entry(m, QStringLiteral("Listascutiri1"), QStringLiteral("Lista scutiri fara borderou"));

    QMenu* statements = submenu(m, QStringLiteral("BorderouriDebite1"), QStringLiteral("Borderouri Debite"));
    entry(statements, QStringLiteral("BordDet"), QStringLiteral("Lista borderouri"));
    entry(statements, QStringLiteral("CentrBord"), QStringLiteral("Centralizator"));
    entry(statements, QStringLiteral("Listacompleta1"), QStringLiteral("Borderouri cumulate"));

    entry(m, QStringLiteral("Centralizatorcompensari1"), QStringLiteral("Centralizator compensari"));
    entry(m, QStringLiteral("ListaAuto1"), QStringLiteral("Lista Auto"));

    QMenu* other = submenu(m, QStringLiteral("AlteCentralizatoare1"), QStringLiteral("Alte Centralizatoare"));
    entry(other, QStringLiteral("abelCladiriimpozabile1"), QStringLiteral("Tabel Cladiri impozabile"));
    entry(other, QStringLiteral("Autopeste12tCJ1"), QStringLiteral("Auto peste 12t pentru C.J."));
    entry(other, QStringLiteral("SituatieanaliticaconturipeROL1"), QStringLiteral("Situatie analitica conturi pe ROL"));
    entry(other, QStringLiteral("TEMisc"), QStringLiteral("Terenuri Intrari-Iesiri"));
    QMenu* persons = submenu(other, QStringLiteral("Listapersoane1"), QStringLiteral("Lista persoane fizice/juridice"));
    entry(persons, QStringLiteral("Fizice1"), QStringLiteral("Fizice"));
    entry(persons, QStringLiteral("Juridice1"), QStringLiteral("Juridice"));
    screens_.insert(QStringLiteral("Fizice1"), [this] { ListPersons(s_, PersonType::Physical); });
    screens_.insert(QStringLiteral("Juridice1"), [this] { ListPersons(s_, PersonType::Legal); });

    entry(m, QStringLiteral("XMLPatrimVenANAF1"), QStringLiteral("XML PatrimVen - ANAF"));
    m->addSeparator();
    entry(m, QStringLiteral("Chitanteanulate1"), QStringLiteral("Chitante anulate"));
}

} // namespace vartesa
