#include "roles/ui/debit_detail_forms.h"

#include "shell/text_helpers.h"
#include "shell/ui/combo_helpers.h"
#include "shell/ui/upper_case.h"
#include "shell/ui/window_looks.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace vartesa {

namespace {

const QStringList kZonesAtoD = {"A", "B", "C", "D"};
const QStringList kZonesAtoE = {"A", "B", "C", "D", "E"};
const QStringList kRanks = {"0", "I", "II", "III", "IV", "V"};
const QStringList kBuildingKinds = {"Cladiri", "Cladiri anexe"};

QComboBox* list(QWidget* parent, const char* name, const QStringList& items) {
    auto* c = named(new QComboBox(parent), name);
    c->addItems(items);
    return c;
}

QLineEdit* numberField(QWidget* parent, const char* name, const QString& pattern) {
    auto* f = named(new QLineEdit(parent), name);
    f->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), f));
    f->setAlignment(Qt::AlignRight);
    return f;
}

// An area: six digits, four decimals, "1,5" and "1.5" alike.
QLineEdit* areaField(QWidget* parent, const char* name, Messages* messages) {
    auto* f = named(new QLineEdit(parent), name);
    acceptTypedNumber(f, 6, 4, messages);
    f->setAlignment(Qt::AlignRight);
    return f;
}

double areaOf(const QLineEdit* field) {
    const std::optional<TypedDecimal> d = ParseTypedDecimal(field->text());
    return d ? d->value() : 0;
}
QLineEdit* wholeField(QWidget* parent, const char* name, int digits) {
    return numberField(parent, name, QStringLiteral("\\d{0,%1}").arg(digits));
}

// A field with its unit after it.
QWidget* withUnit(QWidget* field, QLabel* unit) {
    auto* box = new QWidget(field->parentWidget());
    auto* l = new QHBoxLayout(box);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(field, 1);
    l->addWidget(unit);
    return box;
}

void selectText(QComboBox* c, const QString& text, const QString& fallback) {
    SelectComboItem(c, text);
    if (c->currentIndex() < 0) SelectComboItem(c, fallback);
}

QString number(double v) { return PairNumber(v); }

} // namespace

DebitDetailForms::DebitDetailForms(QWidget* parent, Messages* messages) : QStackedWidget(parent), messages_(messages) {
    setObjectName(QStringLiteral("DetaliiDebit"));
    addWidget(buildPersonBuilding());
    addWidget(buildCompanyBuilding());
    addWidget(buildInsideLand());
    addWidget(buildOutsideLand());
    addWidget(buildVehicle());
}

QWidget* DebitDetailForms::buildPersonBuilding() {
    auto* page = named(new QWidget(this), "CladiriFizice");
    CladTip = list(page, "CladTip", kBuildingKinds);
    SupC = areaField(page, "SupC", messages_);
    CodMat = list(page, "CodMat", MaterialClasses());
    ZonaC = list(page, "ZonaC", kZonesAtoD);
    RangC = list(page, "RangC", kRanks);
    AnC = wholeField(page, "AnC", 4);
    auto* f = new QFormLayout(page);
    f->addRow(QString(), CladTip);
    f->addRow(QStringLiteral("Suprafata construita (mp)"), SupC);
    f->addRow(QStringLiteral("Cod material contructie"), CodMat);
    f->addRow(QStringLiteral("Zona"), ZonaC);
    f->addRow(QStringLiteral("Rangul"), RangC);
    f->addRow(QStringLiteral("Anul darii in folosinta"), AnC);
    return page;
}

QWidget* DebitDetailForms::buildCompanyBuilding() {
    auto* page = named(new QWidget(this), "CladiriJuridice");
    CladTipJ = list(page, "CladTipJ", kBuildingKinds);
    ValInv = wholeField(page, "ValInv", 8);
    DataEval = named(new QDateEdit(page), "DataEval");
    DataEval->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    Amortizata = named(new QCheckBox(QStringLiteral("Amortizata"), page), "Amortizata");
    auto* f = new QFormLayout(page);
    f->addRow(QString(), CladTipJ);
    f->addRow(QStringLiteral("Valoare inventar"), ValInv);
    f->addRow(QStringLiteral("Data evaluarii"), DataEval);
    f->addRow(QString(), Amortizata);
    return page;
}

QWidget* DebitDetailForms::buildInsideLand() {
    auto* page = named(new QWidget(this), "TerenIntravilan");
    CategIntra = list(page, "CategIntra", InsideLandCategories());
    SupIntra = areaField(page, "SupIntra", messages_);
    UMIntra = named(new QLabel(QStringLiteral("mp"), page), "UMIntra");
    ZonaIntra = list(page, "ZonaIntra", kZonesAtoE);
    connect(CategIntra, &QComboBox::currentIndexChanged, this,
            [this](int at) { UMIntra->setText(at == 0 ? QStringLiteral("mp") : QStringLiteral("ha")); });
    auto* f = new QFormLayout(page);
    f->addRow(QStringLiteral("Categoria"), CategIntra);
    f->addRow(QStringLiteral("Suprafata -"), withUnit(SupIntra, UMIntra));
    f->addRow(QStringLiteral("Zona"), ZonaIntra);
    return page;
}

QWidget* DebitDetailForms::buildOutsideLand() {
    auto* page = named(new QWidget(this), "TerenExtravilan");
    CategExtra = list(page, "CategExtra", OutsideLandCategories());
    SupExtra = areaField(page, "SupExtra", messages_);
    ZonaExtra = list(page, "ZonaExtra", kZonesAtoD);
    auto* f = new QFormLayout(page);
    f->addRow(QStringLiteral("Categoria"), CategExtra);
    f->addRow(QStringLiteral("Suprafata - ha"), SupExtra);
    f->addRow(QStringLiteral("Zona"), ZonaExtra);
    return page;
}

QWidget* DebitDetailForms::buildVehicle() {
    auto* page = named(new QWidget(this), "MijloaceTransport");
    CategAuto = named(new QComboBox(page), "CategAuto");
    for (const VehicleCategory& c : VehicleCategories()) CategAuto->addItem(c.text);
    CapacitL = new QLabel(QStringLiteral("Capacitatea"), page);
    Capacitate = wholeField(page, "Capacitate", 6);
    UMCapacit = named(new QLabel(QStringLiteral("cmc"), page), "UMCapacit");
    BucatiL = new QLabel(QStringLiteral("Bucati"), page);
    Bucati = wholeField(page, "Bucati", 6);
    connect(CategAuto, &QComboBox::currentIndexChanged, this, &DebitDetailForms::showVehicleFields);
    auto* f = new QFormLayout(page);
    f->addRow(QStringLiteral("Categoria"), CategAuto);
    auto* capacity = new QHBoxLayout;
    capacity->addWidget(Capacitate, 1);
    capacity->addWidget(UMCapacit);
    f->addRow(CapacitL, capacity);
    f->addRow(BucatiL, Bucati);
    showVehicleFields();
    return page;
}

// Capacity for the categories that take one, count for those counted; buses and tractors both.
void DebitDetailForms::showVehicleFields() {
    const VehicleCategory* c = FindVehicleCategory(CategAuto->currentText());
    const bool capacity = CategAuto->currentIndex() >= 0 && c && !c->capacityField.isEmpty();
    const bool count = CategAuto->currentIndex() >= 0 && c && !c->countField.isEmpty();
    for (QWidget* w : std::initializer_list<QWidget*>{CapacitL, Capacitate, UMCapacit}) w->setVisible(capacity);
    for (QWidget* w : std::initializer_list<QWidget*>{BucatiL, Bucati}) w->setVisible(count);
    UMCapacit->setText(c ? c->capacityUnit : QStringLiteral("cmc"));
}

void DebitDetailForms::setForm(DebitForm form) {
    form_ = form;
    setCurrentIndex(int(form));
}

void DebitDetailForms::reset(const DebitFormDefaults& d) {
    CladTip->setCurrentIndex(0);
    SupC->setText(QStringLiteral("0"));
    CodMat->setCurrentIndex(1);
    selectText(ZonaC, d.zone, QStringLiteral("A"));
    selectText(RangC, d.rank, QStringLiteral("IV"));
    AnC->setText(QString::number(d.year));
    CladTipJ->setCurrentIndex(0);
    ValInv->setText(QStringLiteral("0"));
    DataEval->setDate(d.revaluation);
    Amortizata->setChecked(false);
    CategIntra->setCurrentIndex(0);
    SupIntra->setText(QStringLiteral("0"));
    ZonaIntra->setCurrentIndex(0);
    CategExtra->setCurrentIndex(0);
    SupExtra->setText(QStringLiteral("0"));
    ZonaExtra->setCurrentIndex(0);
    CategAuto->setCurrentIndex(0);
    Capacitate->setText(QStringLiteral("0"));
    Bucati->setText(QStringLiteral("0"));
}

void DebitDetailForms::fill(const DebitDetails& d) {
    switch (form_) {
    case DebitForm::PersonBuilding:
        CladTip->setCurrentIndex(d.annex ? 1 : 0);
        SupC->setText(number(d.area));
        CodMat->setCurrentIndex(d.material == 0 ? 0 : 1);
        SelectComboItem(ZonaC, d.zone);
        SelectComboItem(RangC, d.rank);
        AnC->setText(QString::number(d.year));
        break;
    case DebitForm::CompanyBuilding:
        CladTipJ->setCurrentIndex(d.annex ? 1 : 0);
        ValInv->setText(QString::number(d.value));
        DataEval->setDate(d.revaluation);
        Amortizata->setChecked(d.depreciated);
        break;
    case DebitForm::InsideLand:
        CategIntra->setCurrentIndex(d.category);
        SupIntra->setText(number(d.area));
        SelectComboItem(ZonaIntra, d.zone);
        break;
    case DebitForm::OutsideLand:
        CategExtra->setCurrentIndex(d.category);
        SupExtra->setText(number(d.area));
        SelectComboItem(ZonaExtra, d.zone);
        break;
    case DebitForm::Vehicle: {
        const VehicleCategory* c = FindVehicleCategory(d.vehicle);
        CategAuto->setCurrentIndex(c ? CategAuto->findText(c->text) : -1);
        Capacitate->setText(QString::number(d.capacity));
        Bucati->setText(QString::number(d.count));
        showVehicleFields();
        break;
    }
    }
}

DebitDetails DebitDetailForms::details() const {
    DebitDetails d;
    switch (form_) {
    case DebitForm::PersonBuilding:
        d.annex = CladTip->currentIndex() == 1;
        d.area = areaOf(SupC);
        d.material = CodMat->currentIndex();
        d.zone = ZonaC->currentText();
        d.rank = RangC->currentText();
        d.year = AnC->text().toInt();
        break;
    case DebitForm::CompanyBuilding:
        d.annex = CladTipJ->currentIndex() == 1;
        d.value = ValInv->text().toLongLong();
        d.revaluation = DataEval->date();
        d.depreciated = Amortizata->isChecked();
        break;
    case DebitForm::InsideLand:
        d.category = CategIntra->currentIndex();
        d.area = areaOf(SupIntra);
        d.zone = ZonaIntra->currentText();
        break;
    case DebitForm::OutsideLand:
        d.category = CategExtra->currentIndex();
        d.area = areaOf(SupExtra);
        d.zone = ZonaExtra->currentText();
        break;
    case DebitForm::Vehicle:
        d.vehicle = CategAuto->currentIndex() >= 0 ? CategAuto->currentText() : QString();
        d.capacity = Capacitate->isHidden() ? 0 : Capacitate->text().toLongLong();
        d.count = Bucati->isHidden() ? 0 : Bucati->text().toLongLong();
        break;
    }
    return d;
}

QList<QWidget*> DebitDetailForms::fields() const {
    switch (form_) {
    case DebitForm::PersonBuilding: return {CladTip, SupC, CodMat, ZonaC, RangC, AnC};
    case DebitForm::CompanyBuilding: return {CladTipJ, ValInv, DataEval, Amortizata};
    case DebitForm::InsideLand: return {CategIntra, SupIntra, ZonaIntra};
    case DebitForm::OutsideLand: return {CategExtra, SupExtra, ZonaExtra};
    case DebitForm::Vehicle: return {CategAuto, Capacitate, Bucati};
    }
    return {};
}

QWidget* DebitDetailForms::fieldFor(DebitField field) const {
    switch (field) {
    case DebitField::Area:
        return form_ == DebitForm::InsideLand ? static_cast<QWidget*>(SupIntra)
               : form_ == DebitForm::OutsideLand ? SupExtra
                                                 : SupC;
    case DebitField::Year: return AnC;
    case DebitField::Value: return ValInv;
    case DebitField::Capacity: return Capacitate->isHidden() ? static_cast<QWidget*>(CategAuto) : Capacitate;
    case DebitField::Count: return Bucati;
    default: return nullptr;
    }
}

} // namespace vartesa
