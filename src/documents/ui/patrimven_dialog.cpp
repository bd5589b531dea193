#include "documents/ui/patrimven_dialog.h"

#include "admin/admin_constants.h"
#include "cash/receipt.h"
#include "shell/counters.h"
#include "shell/file_helpers.h"
#include "shell/services.h"
#include "shell/ui/enter_navigation.h"
#include "shell/ui/window_looks.h"

#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vartesa {

namespace {

QLineEdit* declarantField(QWidget* parent, const char* name) {
    auto* e = named(new QLineEdit(parent), name);
    e->setMaxLength(kDeclarantFieldLength);
    fitCharacters(e, 40, false);
    return e;
}

} // namespace

QString WithXmlSuffix(const QString& chosen) {
    if (chosen.isEmpty() || chosen.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive)) return chosen;
    return chosen + QStringLiteral(".xml");
}

TANAFF::TANAFF(Services& services, QWidget* parent) : QDialog(parent, DialogFlags()), s_(services) {
    setObjectName(QStringLiteral("TANAFF"));
    setWindowTitle(QStringLiteral("XML ANAF - PatrimVen"));
    NumeD = declarantField(this, "NumeD");
    PrenumeD = declarantField(this, "PrenumeD");
    FunctieD = declarantField(this, "FunctieD");
    Creaza = named(new QPushButton(QStringLiteral("Creaza XML"), this), "Creaza");
    Renunt = named(new QPushButton(QStringLiteral("&Renunt"), this), "Renunt");
    Creaza->setAutoDefault(false);
    Renunt->setAutoDefault(false);
    auto* heading = new QLabel(QStringLiteral("Creare fisier XML pentru raportare ANAF"), this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    auto* group = new QGroupBox(QStringLiteral("Declarant"), this);
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("Nume"), NumeD);
    form->addRow(QStringLiteral("Prenume"), PrenumeD);
    form->addRow(QStringLiteral("Functia"), FunctieD);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Creaza);
    buttons->addWidget(Renunt);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(group);
    layout->addLayout(buttons);
    EnterNavigation::install({NumeD, PrenumeD, FunctieD}, Creaza);
    connect(Creaza, &QPushButton::clicked, this, &TANAFF::CreazaClick);
    connect(Renunt, &QPushButton::clicked, this, &QDialog::reject);
    chooseFile = [this] {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Unde salvam XML-ul ?"), s_.folders.program,
                                            QStringLiteral("Fisiere XML (*.xml)"));
    };
}

Declarant TANAFF::declarant() const { return {NumeD->text(), PrenumeD->text(), FunctieD->text()}; }

void TANAFF::CreazaClick() {
    Declarant d = declarant();
    const std::optional<DeclarantRefusal> refused = TidyDeclarant(d);
    NumeD->setText(d.name);
    PrenumeD->setText(d.firstName);
    FunctieD->setText(d.position);
    if (!refused) {
        accept();
        return;
    }
    QLineEdit* field = refused->field == DeclarantField::Name        ? NumeD
                       : refused->field == DeclarantField::FirstName ? PrenumeD
                                                                     : FunctieD;
    field->setFocus();
    s_.messages().ShowProblemHint(refused->text, field);
}

QString TANAFF::XMLPatrimVenANAF1Click() {
    QString written;
    s_.messages().guard([&] {
        if (auto refused = CheckTownHallCode(TownHallFrom(AdminConstants::stored(s_.database(), s_.folders.data)))) {
            s_.messages().ShowErrors(kPatrimVenTitle, *refused, MessageKind::Error, MessageButton::Ok);
            return;
        }
        CountersFile counters = s_.counters();
        const Declarant remembered = RememberedDeclarant(counters);
        NumeD->setText(remembered.name);
        PrenumeD->setText(remembered.firstName);
        FunctieD->setText(remembered.position);
        NumeD->setFocus();
        if (exec() != QDialog::Accepted) return;
        const Declarant d = declarant();
        RememberDeclarant(counters, d);
        PatrimVenDocument document;
        {
            ProgressShown shown(s_.progress(), QStringLiteral("Export Auto..."));
            bool sized = false;
            document = BuildPatrimVen(s_.database(), s_.folders.data, d, s_.clock().today(), [&](int roles) {
                if (!sized) s_.progress().SetMaximum(roles);
                sized = true;
                s_.progress().Step();
            });
        }
        const QString path = WithXmlSuffix(chooseFile());
        if (path.isEmpty()) return;
        WriteWholeFile(path, document.bytes());
        written = path;
        s_.messages().showInformation(kPatrimVenTitle, QStringLiteral("Am scris %1 mijloace de transport in fisierul\r%2")
                                                           .arg(document.vehicles)
                                                           .arg(QDir::toNativeSeparators(path)));
    });
    return written;
}

} // namespace vartesa
