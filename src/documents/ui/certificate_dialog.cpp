#include "documents/ui/certificate_dialog.h"

#include "admin/admin_constants.h"
#include "cash/ui/account_window.h"
#include "shell/counters.h"
#include "shell/services.h"
#include "shell/startup.h"
#include "shell/ui/enter_navigation.h"
#include "shell/ui/window_looks.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vartesa {

namespace {

const QString kUnavailable = QStringLiteral("Baza de date indisponibila.");

QLineEdit* textField(QWidget* parent, const char* name, int length) {
    auto* e = named(new QLineEdit(parent), name);
    e->setMaxLength(length);
    fitCharacters(e, std::min(length, 40), true);
    return e;
}



} // namespace

TCFiscDet::TCFiscDet(Services& services, const AdminConstants& constants, QWidget* parent)
    : QDialog(parent, DialogFlags()), s_(services), constants_(constants) {
    setObjectName(QStringLiteral("TCFiscDet"));
    setWindowTitle(QStringLiteral("Certificat Fiscal Persoana Fizica"));
    NumePrenume = named(new QLabel(this), "NumePrenume");
    QFont bold = NumePrenume->font();
    bold.setBold(true);
    NumePrenume->setFont(bold);
    CFNr = textField(this, "CFNr", 16);
    CFData = dateField(this, "CFData");
    CereNr = textField(this, "CereNr", 16);
    CereData = dateField(this, "CereData");
    CITip = named(new QComboBox(this), "CITip");
    CITip->addItems({QStringLiteral("C.I."), QStringLiteral("B.I.")});
    CISeria = textField(this, "CISeria", 6);
    CINr = textField(this, "CINr", 20);
    TipSup = named(new QComboBox(this), "TipSup");
    TipSup->setMinimumContentsLength(60);
    SupPoz = textField(this, "SupPoz", 60);
    CheckBox1 = named(new QCheckBox(QStringLiteral("Suprafete conform cu Registrul Agricol 2015 - 2019"), this), "CheckBox1");
    CaleRA = named(new QLabel(this), "CaleRA");
    BitBtn1 = named(new QPushButton(QStringLiteral("..."), this), "BitBtn1");
    BitBtn1->setToolTip(QStringLiteral("Localizati Baza de Date a Registrului Agricol (directorul DATA)."));
    BitBtn1->setAutoDefault(false);
    Serveste = named(new QComboBox(this), "Serveste");
    Serveste->setEditable(true);
    Serveste->setMinimumContentsLength(50);
    TimbruVal = textField(this, "TimbruVal", 6);
    TimbruVal->setValidator(new QIntValidator(0, 999999, TimbruVal));
    TaxaChitNr = textField(this, "TaxaChitNr", 16);
    TaxaChitData = dateField(this, "TaxaChitData");
    MemoBut = named(new QPushButton(QStringLiteral("Am ales"), this), "MemoBut");
    CloseBut = named(new QPushButton(QStringLiteral("&Renunt"), this), "CloseBut");
    for (QPushButton* b : {MemoBut, CloseBut}) b->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(NumePrenume);
    form->addRow(QStringLiteral("Certificat Fiscal   Nr."), row({CFNr, new QLabel(QStringLiteral("din data"), this), CFData}));
    form->addRow(QStringLiteral("ca urmare a cererii   Nr."),
                 row({CereNr, new QLabel(QStringLiteral("din data"), this), CereData}));
    form->addRow(QStringLiteral("legitimat cu"), row({CITip, new QLabel(QStringLiteral("Seria"), this), CISeria,
                                                      new QLabel(QStringLiteral("Nr."), this), CINr}));
    form->addRow(new QLabel(QStringLiteral("figureaza inscris in evidentele noastre fiscale cu"), this));
    form->addRow(TipSup);
    form->addRow(QStringLiteral("situata in"), SupPoz);
    form->addRow(CheckBox1);
    form->addRow(new QLabel(QStringLiteral("Localizare Baza de Date Registru Agricol 2015-2019"), this));
    form->addRow(row({CaleRA, BitBtn1}));
    form->addRow(QStringLiteral("Prezentul serveste la"), Serveste);
    form->addRow(QStringLiteral("Taxa de timbru de"), row({TimbruVal, new QLabel(QStringLiteral("lei"), this)}));
    form->addRow(QStringLiteral("Achitat cu Chitanta Nr."),
                 row({TaxaChitNr, new QLabel(QStringLiteral("din data"), this), TaxaChitData}));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(MemoBut);
    buttons->addWidget(CloseBut);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    EnterNavigation::install({CFNr, CFData, CereNr, CereData, CITip, CISeria, CINr, TipSup, SupPoz, Serveste, TimbruVal,
                              TaxaChitNr, TaxaChitData},
                             MemoBut);
    pickFolder = [this] {
        return QFileDialog::getExistingDirectory(this, QStringLiteral("Indicati baza de date RA 2015-2019"));
    };
    connect(MemoBut, &QPushButton::clicked, this, &QDialog::accept);
    connect(CloseBut, &QPushButton::clicked, this, &QDialog::reject);
    connect(CheckBox1, &QCheckBox::clicked, this, &TCFiscDet::CheckBox1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TCFiscDet::BitBtn1Click);
}

void TCFiscDet::prepare(const QString& name, qint64 idgos, const QString& village) {
    idgos_ = idgos;
    const CountersFile counters = s_.counters();
    const QDate today = s_.clock().today();
    NumePrenume->setText(name);
    shownNumber_ = counters.ReadCounter(QStringLiteral("SERVER"), QStringLiteral("CFNR"), QStringLiteral("1"));
    CFNr->setText(shownNumber_);
    for (QDateEdit* d : {CFData, CereData, TaxaChitData}) d->setDate(today);
    CereNr->clear();
    CITip->setCurrentIndex(0);
    CISeria->clear();
    CINr->clear();
    TipSup->clear();
    TipSup->addItem(kAllProperties);
    TipSup->addItems(ReadCertificateProperties(s_.database(), s_.folders.data, idgos, constants_).entries);
    SupPoz->setText(village);
    CheckBox1->setChecked(counters.ReadCounter(QStringLiteral("SERVER"), QStringLiteral("CFDINRA")) == QLatin1String("DA"));
    const QString folder = CertificateRegisterFolder(counters);
    CaleRA->setText(folder.isEmpty() ? kUnavailable : folder);
    Serveste->clear();
    Serveste->addItems(ReadCertificatePurposes(s_.folders.data));
    Serveste->setEditText({});
    TimbruVal->setText(counters.ReadCounter(QStringLiteral("SERVER"), QStringLiteral("CFTAXAT")));
    TaxaChitNr->clear();
}

CertificateRequest TCFiscDet::request() const {
    CertificateRequest r;
    r.idgos = idgos_;
    // A number left as shown is the one drawn on acceptance, so two workstations differ.
    r.number = CFNr->text().trimmed() == shownNumber_ ? QString() : CFNr->text().trimmed();
    r.date = CFData->date();
    r.requestNumber = CereNr->text();
    r.requestDate = CereData->date();
    r.idType = CITip->currentText();
    r.idSeries = CISeria->text();
    r.idNumber = CINr->text();
    r.property = std::max(0, TipSup->currentIndex());
    r.place = SupPoz->text();
    r.fromRegister = CheckBox1->isChecked();
    r.registerFolder = CaleRA->text() == kUnavailable ? QString() : CaleRA->text();
    r.purpose = Serveste->currentText();
    r.stamp = TimbruVal->text();
    r.stampReceipt = TaxaChitNr->text();
    r.stampDate = TaxaChitData->date();
    return r;
}

std::optional<CertificateRequest> TCFiscDet::ShowDialog(const QString& name, qint64 idgos, const QString& village) {
    prepare(name, idgos, village);
    CFNr->setFocus();
    const bool accepted = exec() == QDialog::Accepted;
    if (accepted) return request();
    CountersFile counters = s_.counters();
    RememberRegisterChoice(counters, CheckBox1->isChecked()); // acceptance stores it with the rest
    return std::nullopt;
}

void TCFiscDet::CheckBox1Click() {
    if (!CheckBox1->isChecked()) return;
    if (RegisterFolderHasParcels(CaleRA->text() == kUnavailable ? QString() : CaleRA->text())) return;
    s_.messages().ShowProblemHint(kRegisterUnavailable, BitBtn1);
    CheckBox1->setChecked(false);
}

void TCFiscDet::BitBtn1Click() {
    const QString picked = pickFolder ? pickFolder() : QString();
    if (picked.isEmpty()) return;
    const QString folder = ChooseRegisterFolder(s_, picked);
    if (!folder.isEmpty()) CaleRA->setText(folder);
}

void CertificatFiscalP(Services& s, const AdminConstants& constants, TGospodarieF& account, TCFiscDet& dialog) {
    const AccountRole& role = account.accountRole();
    if (!role.found) return;
    const QString source = s.folders.data + QStringLiteral("/CFiscal3.rtf");
    if (!QFileInfo(source).isFile()) {
        s.messages().showError(kCertificateTitle, QStringLiteral("Va lipseste fisierul ") + source + QStringLiteral(" !"));
        return;
    }
    const std::optional<CertificateRequest> request =
        dialog.ShowDialog(role.role.name, role.role.id, account.Localitatea->text());
    if (!request) return;
    s.messages().guard([&] {
        IssueCertificate(s, constants, role.rules, *request, s.folders.machine + QStringLiteral("/TEMP/Cert"));
    });
}

} // namespace vartesa
