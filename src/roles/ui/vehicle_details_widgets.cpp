#include "roles/ui/vehicle_details_widgets.h"
#include "shell/ui/window_looks.h"

#include "shell/counters.h"
#include "shell/services.h"
#include "shell/ui/combo_helpers.h"
#include "shell/ui/enter_navigation.h"
#include "shell/ui/upper_case.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableView>
#include <QVBoxLayout>

namespace vartesa {

namespace {

// A text longer than its column is refused with a balloon, never stored cut.
QLineEdit* textField(QWidget* parent, const char* name, int length, bool upper, Messages& messages) {
    auto* f = named(new QLineEdit(parent), name);
    if (upper)
        makeUpperCase(f, length, &messages);
    else
        refuseTooLongText(f, length, messages);
    return f;
}

// The columns of both grids, under the captions each one uses.
std::vector<RecordTableModel<VehicleDetail>::Column> columns(const QStringList& captions) {
    const std::function<QVariant(const VehicleDetail&)> cells[] = {
        [](const VehicleDetail& d) { return QVariant(d.fileNumber); },
        [](const VehicleDetail& d) { return QVariant(d.type); },
        [](const VehicleDetail& d) { return QVariant(d.make); },
        [](const VehicleDetail& d) { return QVariant(d.capacity); },
        [](const VehicleDetail& d) { return QVariant(d.bodySerial); },
        [](const VehicleDetail& d) { return QVariant(d.engineSerial); },
        [](const VehicleDetail& d) { return QVariant(d.notes); }};
    std::vector<RecordTableModel<VehicleDetail>::Column> out;
    for (int c = 0; c < captions.size(); ++c) out.push_back({captions[c], cells[c]});
    return out;
}

} // namespace

TDetaliiAutoF::TDetaliiAutoF(Services& services, QWidget* parent)
    : QDialog(parent, DialogFlags()), services_(services) {
    setObjectName(QStringLiteral("TDetaliiAutoF"));
    setWindowTitle(QStringLiteral("Detalii Auto"));
    TitluL = named(new QLabel(this), "TitluL");
    TitluL->setAlignment(Qt::AlignCenter);
    QFont bold = TitluL->font();
    bold.setBold(true);
    TitluL->setFont(bold);
    NrDos = textField(this, "NrDos", 18, true, services.messages());
    TipAuto = named(new QComboBox(this), "TipAuto");
    TipAuto->addItems(VehicleTypes());
    Marca = named(new QComboBox(this), "Marca");
    Marca->addItems(VehicleMakes());
    Capacit = named(new QLineEdit(this), "Capacit");
    Capacit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,6}")), Capacit));
    Capacit->setAlignment(Qt::AlignRight);
    Serie = textField(this, "Serie", 24, true, services.messages());
    SerieM = textField(this, "SerieM", 24, true, services.messages());
    Obs = textField(this, "Obs", 100, false, services.messages());
    MemoreazaBut = named(new QPushButton(QStringLiteral("Memoreaza"), this), "MemoreazaBut");
    auto* cancel = named(new QPushButton(QStringLiteral("&Renunt"), this), "RenuntBut");
    for (QPushButton* b : {MemoreazaBut, cancel}) b->setAutoDefault(false);
    connect(MemoreazaBut, &QPushButton::clicked, this, &TDetaliiAutoF::MemoreazaClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    EnterNavigation::install({NrDos, TipAuto, Marca, Capacit, Serie, SerieM, Obs}, MemoreazaBut);

    auto* capacity = new QHBoxLayout;
    capacity->addWidget(Capacit, 1);
    capacity->addWidget(new QLabel(QStringLiteral("cmc"), this));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Numar Dosar"), NrDos);
    form->addRow(QStringLiteral("Tip Auto"), TipAuto);
    form->addRow(QStringLiteral("Marca"), Marca);
    form->addRow(QStringLiteral("Capacitate"), capacity);
    form->addRow(QStringLiteral("Serie Caroserie"), Serie);
    form->addRow(QStringLiteral("Serie Motor"), SerieM);
    form->addRow(QStringLiteral("Observatii"), Obs);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(MemoreazaBut);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(TitluL);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setMinimumWidth(420);
}

void TDetaliiAutoF::ResetVehicleDialog() {
    filled_ = {};
    NrDos->setText(QStringLiteral("0"));
    TipAuto->setCurrentIndex(0);
    Marca->setCurrentIndex(0);
    Capacit->setText(QStringLiteral("0"));
    for (QLineEdit* f : {Serie, SerieM, Obs}) f->clear();
}

void TDetaliiAutoF::FillVehicleDialog(const VehicleDetail& d) {
    filled_ = d;
    NrDos->setText(d.fileNumber);
    SelectComboItem(TipAuto, d.type);
    SelectComboItem(Marca, d.make);
    Capacit->setText(QString::number(d.capacity));
    Serie->setText(d.bodySerial);
    SerieM->setText(d.engineSerial);
    Obs->setText(d.notes);
}

bool TDetaliiAutoF::ShowVehicleDialog(const QString& title) {
    TitluL->setText(title);
    NrDos->setFocus();
    return exec() == QDialog::Accepted;
}

VehicleDetail TDetaliiAutoF::detail() const {
    VehicleDetail d = filled_;
    d.fileNumber = NrDos->text();
    d.type = TipAuto->currentText();
    // A make the list no longer has stays what it was unless the clerk picks another.
    d.make = Marca->currentIndex() >= 0 ? Marca->currentText() : filled_.make;
    d.capacity = Capacit->text().toLongLong();
    d.bodySerial = Serie->text();
    d.engineSerial = SerieM->text();
    d.notes = Obs->text();
    return d;
}

void TDetaliiAutoF::MemoreazaClick() {
    VehicleDetail d = detail();
    Capacit->setText(QString::number(d.capacity));
    if (const QString hint = TidyAndCheckVehicleDetail(d); !hint.isEmpty()) {
        Capacit->setFocus();
        services_.messages().ShowProblemHint(hint, Capacit);
        return;
    }
    NrDos->setText(d.fileNumber);
    Serie->setText(d.bodySerial);
    SerieM->setText(d.engineSerial);
    Obs->setText(d.notes);
    accept();
}

VehicleDetailsGrid::VehicleDetailsGrid(Services& services, QWidget* parent)
    : QWidget(parent), s_(services), details_(services.database(), services.folders.data),
      rows_(new RecordTableModel<VehicleDetail>(
          columns({"Nr. Dosar", "Tip Auto", "Marca", "Capacit (cmc)", "Serie caroserie", "Serie Motor", "Obs"}), this)),
      dialog_(std::make_unique<TDetaliiAutoF>(services, this)) {
    setObjectName(QStringLiteral("VehicleDetailsGrid"));
    rows_->hint = &VehicleDetailHint;
    DetAutoGrid = readOnlyGrid(this, "DetAutoGrid", rows_);
    AddDetAuto = named(new QPushButton(QStringLiteral("Adauga"), this), "AddDetAuto");
    EditDetAuto = named(new QPushButton(QStringLiteral("Modifica"), this), "EditDetAuto");
    DelDetAuto = named(new QPushButton(QStringLiteral("Sterge"), this), "DelDetAuto");
    const auto act = [this](QPushButton* b, void (VehicleDetailsGrid::*handler)()) {
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, handler] { s_.messages().guard([this, handler] { (this->*handler)(); }); });
    };
    act(AddDetAuto, &VehicleDetailsGrid::AddDetAutoClick);
    act(EditDetAuto, &VehicleDetailsGrid::EditDetAutoClick);
    act(DelDetAuto, &VehicleDetailsGrid::DelDetAutoClick);
    EditDetAuto->setEnabled(false);
    DelDetAuto->setEnabled(false);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {AddDetAuto, EditDetAuto, DelDetAuto}) buttons->addWidget(b);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(DetAutoGrid, 1);
    layout->addLayout(buttons);
}

VehicleDetailsGrid::~VehicleDetailsGrid() = default;

void VehicleDetailsGrid::setRole(qint64 id) {
    roleId_ = id > 0 ? id : -500;
    details_.setDataFolder(s_.folders.data);
    reload(0);
}

// The grid read again, on vehicle `at` (or the last row).
void VehicleDetailsGrid::reload(qint64 at, bool toLast) {
    rows_->setRecords(roleId_ > 0 ? details_.of(roleId_) : std::vector<VehicleDetail>{});
    const int n = rows_->rowCount();
    EditDetAuto->setEnabled(n > 0);
    DelDetAuto->setEnabled(n > 0);
    if (n == 0) return;
    int row = toLast ? n - 1 : 0;
    for (int r = 0; r < n && !toLast; ++r)
        if (rows_->records()[size_t(r)].id == at) row = r;
    DetAutoGrid->setCurrentIndex(rows_->index(row, 0));
}

const VehicleDetail* VehicleDetailsGrid::current() const {
    const int row = DetAutoGrid->currentIndex().row();
    return row >= 0 && row < rows_->rowCount() ? &rows_->records()[size_t(row)] : nullptr;
}

void VehicleDetailsGrid::AddDetAutoClick() {
    if (roleId_ <= 0) {
        s_.messages().ShowProblemHint(QStringLiteral("Nu ati ales nici o persoana!"), DetAutoGrid);
        return;
    }
    dialog_->ResetVehicleDialog();
    if (!dialog_->ShowVehicleDialog(QStringLiteral("Adauga Detalii"))) return;
    VehicleDetail d = dialog_->detail();
    d.roleId = roleId_;
    CountersFile counters = s_.counters();
    reload(details_.add(d, counters));
}

void VehicleDetailsGrid::EditDetAutoClick() {
    const VehicleDetail* row = current();
    if (!row) return;
    dialog_->FillVehicleDialog(*row);
    if (!dialog_->ShowVehicleDialog(QStringLiteral("Modificare date"))) return;
    const VehicleDetail d = dialog_->detail();
    details_.change(d);
    reload(d.id);
}

void VehicleDetailsGrid::DelDetAutoClick() {
    const VehicleDetail* row = current();
    if (!row) return;
    const qint64 id = row->id;
    if (!s_.messages().askYesNoDefaultNu(QStringLiteral("Stergere detaliu"), QStringLiteral("Doriti sa stergeti detaliul din tabel?")))
        return;
    details_.remove(id);
    reload(0, true);
}

TAutoDetF::TAutoDetF(Services& services, QWidget* parent)
    : QDialog(parent, DialogFlags()), s_(services),
      rows_(new RecordTableModel<VehicleDetail>(columns({"Numar Dosar", "Tip Auto", "Marca", "Capacit. -cmc-",
                                                         "Serie Caroserie", "Serie Motor", "Observatii"}),
                                                this)) {
    setObjectName(QStringLiteral("TAutoDetF"));
    setWindowTitle(QStringLiteral("Detalii Auto"));
    auto* title = named(new QLabel(QStringLiteral("Detalii Auto"), this), "TitluL");
    title->setAlignment(Qt::AlignCenter);
    Grid = readOnlyGrid(this, "Grid", rows_);
    auto* close = named(new QPushButton(QStringLiteral("&Inchide"), this), "InchideBut");
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(Grid, 1);
    layout->addLayout(buttons);
    resize(760, 320);
}

void TAutoDetF::loadRole(qint64 id) {
    VehicleDetails details(s_.database(), s_.folders.data);
    rows_->setRecords(details.of(id));
}

void TAutoDetF::ShowVehicles(qint64 id) {
    loadRole(id);
    exec();
    rows_->setRecords({}); // closes the rows with the window
}

} // namespace vartesa
