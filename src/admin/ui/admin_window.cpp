#include "admin_window.h"
#include "shell/ui/window_looks.h"

#include "db/error.h"
#include "admin/admin_catalog.h"
#include "shell/services.h"
#include "shell/startup.h"
#include "admin/ui/codes_window.h"
#include "shell/ui/enter_navigation.h"
#include "admin/ui/users_panel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace vartesa {

namespace {

QPushButton* button(const QString& name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QLineEdit* readOnlyField(const QString& name, QWidget* parent) {
    auto* f = new QLineEdit(parent);
    f->setObjectName(name);
    f->setReadOnly(true);
    return f;
}

// A page inside a scroll area: the tax pages are taller than the window.
QWidget* scrolled(QWidget* page) {
    auto* area = new QScrollArea;
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidget(page);
    return area;
}

} // namespace

// ---------------------------------------------------------------- zone dialog

TZoneDialog::TZoneDialog(Services& services, QWidget* parent) : QDialog(parent, DialogFlags()), s_(services) {
    setObjectName(QStringLiteral("TZoneDialog"));
    setWindowTitle(QStringLiteral("Constante de calcul"));
    heading_ = new QLabel(this);
    locality_ = new QLineEdit(this);
    locality_->setObjectName(QStringLiteral("LocalitateEd"));
    locality_->setMaxLength(32);
    fitCharacters(locality_, 32, true);
    // Capitals as they are typed, as the table keeps them.
    connect(locality_, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (text == text.toUpper()) return;
        const int at = locality_->cursorPosition();
        locality_->setText(text.toUpper());
        locality_->setCursorPosition(at);
    });
    zone_ = new QComboBox(this);
    zone_->setObjectName(QStringLiteral("ZonaCombo"));
    zone_->addItems(DefaultZoneControl().items);
    rank_ = new QComboBox(this);
    rank_->setObjectName(QStringLiteral("RangCombo"));
    rank_->addItems(DefaultRankControl().items);
    auto* save = button(QStringLiteral("MemoreazaBut"), QStringLiteral("&Memoreaza"), this);
    auto* cancel = button(QStringLiteral("RenuntBut"), QStringLiteral("&Renunt"), this);

    auto* form = new QGridLayout;
    form->addWidget(new QLabel(QStringLiteral("Localitatea"), this), 0, 0);
    form->addWidget(locality_, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("Zona"), this), 1, 0);
    form->addWidget(zone_, 1, 1);
    form->addWidget(new QLabel(QStringLiteral("Rangul"), this), 2, 0);
    form->addWidget(rank_, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize); // a small dialog keeps the size its fields need
    layout->addWidget(heading_);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(save, &QPushButton::clicked, this, &TZoneDialog::MemoreazaClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    EnterNavigation::install({locality_, zone_, rank_}, save);
}

void TZoneDialog::prepare(const QString& heading, const ZoneRow& row) {
    heading_->setText(heading);
    editingId_ = row.id;
    accepted_.clear();
    locality_->setText(row.locality);
    zone_->setCurrentIndex(zone_->findText(row.zone));
    rank_->setCurrentIndex(rank_->findText(row.rank));
    locality_->setFocus();
}

bool TZoneDialog::showForAdd(const QString& zone, const QString& rank) {
    prepare(QStringLiteral("Adaugare zona"), {0, QString(), zone, rank});
    return exec() == QDialog::Accepted;
}

bool TZoneDialog::showForModify(const ZoneRow& row) {
    prepare(QStringLiteral("Modificare zona"), row);
    return exec() == QDialog::Accepted;
}

QString TZoneDialog::zone() const { return zone_->currentText(); }
QString TZoneDialog::rank() const { return rank_->currentText(); }

void TZoneDialog::MemoreazaClick() {
    const QString cleaned = ZoneTable::cleanLocality(locality_->text());
    locality_->setText(cleaned);
    std::optional<QString> problem;
    if (!s_.messages().guard([&] { problem = ZoneTable(s_.database(), s_.folders.data).check(cleaned, editingId_); }))
        return;
    if (problem) {
        s_.messages().ShowProblemHint(*problem, locality_);
        locality_->setFocus();
        return;
    }
    accepted_ = cleaned;
    accept();
}

// ---------------------------------------------------------------- the window

TForm4::TForm4(Services& services, AdminConstants& constants, QWidget* parent)
    : QDialog(parent, DialogFlags()), s_(services), constants_(constants) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Administrator program"));
    zoneDialog_ = std::make_unique<TZoneDialog>(s_, this);
    pickFolder_ = [this](const QString& caption) { return QFileDialog::getExistingDirectory(this, caption); };
    endProgram_ = [] { QApplication::exit(0); };
    buildWindow();
}

TForm4::~TForm4() = default;

void TForm4::buildWindow() {
    pageList_ = new QListWidget(this);
    pageList_->setObjectName(QStringLiteral("PageList"));
    pageList_->addItems(AdminPageListItems());
    pages_ = new QStackedWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl"));

    for (const AdminPageInfo& info : AdminPages()) {
        QWidget* page = nullptr;
        if (info.page == AdminPage::General) {
            page = buildGeneralPage();
        } else if (info.page == AdminPage::Zones) {
            page = buildZonesPage();
        } else {
            QList<QWidget*> order;
            QPushButton* explanations = nullptr;
            page = BuildConstantsPage(info.page, controls_, order, &explanations);
            if (explanations) connect(explanations, &QPushButton::clicked, this, &TForm4::ExplicatiiClick);
            EnterNavigation::install(order);
        }
        page->setObjectName(QStringLiteral("Page%1").arg(int(info.page)));
        pages_->addWidget(scrolled(page));
    }
    connect(pageList_, &QListWidget::currentRowChanged, this, &TForm4::showListItem);

    auto* save = button(QStringLiteral("SalveazaBut"), QStringLiteral("Salveaza si inchide"), this);
    auto* cancel = button(QStringLiteral("RenuntBut"), QStringLiteral("&Renunt"), this);
    connect(save, &QPushButton::clicked, this, &TForm4::SaveAndClose);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* left = new QVBoxLayout;
    left->addWidget(pageList_, 1);
    left->addWidget(buildImportOptions());
    auto* body = new QHBoxLayout;
    body->addLayout(left);
    body->addWidget(pages_, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(save);
    bottom->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(bottom);
    // The tax pages need their width; the height leaves room for the main strip above.
    QSize size(1300, 640);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() - QSize(40, 128));
    resize(size);
}

QWidget* TForm4::buildGeneralPage() {
    QList<QWidget*> order;
    QWidget* page = BuildConstantsPage(AdminPage::General, controls_, order, nullptr);
    auto* layout = static_cast<QVBoxLayout*>(page->layout());
    const int at = layout->count() - 1; // before the closing stretch
    int row = at;

    users_ = new UsersPanel(s_, page); // its own frame "Gestiune utilizatori"
    layout->insertWidget(row++, users_);

    auto* codes = button(QStringLiteral("CoduriBut"), QStringLiteral("Coduri clasificare"), page);
    connect(codes, &QPushButton::clicked, this, &TForm4::CoduriClick);
    layout->insertWidget(row++, codes, 0, Qt::AlignLeft);

    // The check boxes in the order the clerk reads them; the catalog keeps the saving order.
    for (const char* name : {"PreviewC", "FormatPDF", "Bonificatie50", "BonifPJ"}) {
        const auto c = std::find_if(AdminCounterControls().begin(), AdminCounterControls().end(),
                                    [name](const AdminCounterControl& k) { return k.control == QLatin1String(name); });
        if (c == AdminCounterControls().end()) continue;
        auto* box = new QCheckBox(c->label, page);
        box->setObjectName(c->control);
        controls_.insert(c->control.toUpper(), box);
        layout->insertWidget(row++, box);
        order << box;
    }

    struct FolderButtons {
        const char* change;
        const char* changeCaption;
        const char* clear;
        const char* clearCaption;
        void (TForm4::*onChange)();
        void (TForm4::*onClear)();
    };
    const FolderButtons folderButtons[2] = {
        {"ModificareServerBut", "Modificare cale server.", "StergereServerBut", "Stergere cale server. Lucru local.",
         &TForm4::ModificareServerClick, &TForm4::StergereServerClick},
        {"ModificareSalvariBut", "Modificare cale salvari automate.", "StergereSalvariBut",
         "Stergere cale salvari automate.", &TForm4::ModificareSalvariClick, &TForm4::StergereSalvariClick},
    };
    // Both folders in one grid, so their fields line up and share the room the buttons leave.
    auto* folders = new QWidget(page);
    auto* grid = new QGridLayout(folders);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setColumnStretch(1, 1);
    for (std::size_t i = 0; i < AdminRegistryControls().size() && i < 2; ++i) {
        const FolderButtons& f = folderButtons[i];
        auto* change = button(QString::fromLatin1(f.change), QString::fromLatin1(f.changeCaption), page);
        auto* clear = button(QString::fromLatin1(f.clear), QString::fromLatin1(f.clearCaption), page);
        connect(change, &QPushButton::clicked, this, f.onChange);
        connect(clear, &QPushButton::clicked, this, f.onClear);
        addFolderRow(grid, int(i), AdminRegistryControls()[i], change, clear);
    }
    layout->insertWidget(row++, folders);
    EnterNavigation::install(order);
    return page;
}

void TForm4::addFolderRow(QGridLayout* grid, int row, const AdminRegistryControl& folder, QPushButton* change,
                          QPushButton* clear) {
    QWidget* parent = grid->parentWidget();
    QLineEdit* field = readOnlyField(folder.control, parent);
    controls_.insert(folder.control.toUpper(), field);
    grid->addWidget(new QLabel(folder.label, parent), row, 0);
    grid->addWidget(field, row, 1);
    grid->addWidget(change, row, 2);
    grid->addWidget(clear, row, 3);
}

QWidget* TForm4::buildZonesPage() {
    QList<QWidget*> order;
    QWidget* page = BuildConstantsPage(AdminPage::Zones, controls_, order, nullptr);
    auto* layout = static_cast<QVBoxLayout*>(page->layout());
    zoneModel_ = new QStandardItemModel(0, 3, this);
    zoneModel_->setHorizontalHeaderLabels({QStringLiteral("Localitatea"), QStringLiteral("Zona"), QStringLiteral("Rangul")});
    zoneGrid_ = new QTableView(page);
    zoneGrid_->setObjectName(QStringLiteral("ZoneGrid"));
    zoneGrid_->setModel(zoneModel_);
    zoneGrid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    zoneGrid_->setSelectionMode(QAbstractItemView::SingleSelection);
    zoneGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    zoneGrid_->horizontalHeader()->setStretchLastSection(true);
    layout->insertWidget(1, zoneGrid_, 1);

    auto* buttons = new QHBoxLayout;
    auto* add = button(QStringLiteral("AdaugaBut"), QStringLiteral("Adauga"), page);
    auto* modify = button(QStringLiteral("ModificaBut"), QStringLiteral("Modifica"), page);
    auto* remove = button(QStringLiteral("StergeBut"), QStringLiteral("Sterge"), page);
    connect(add, &QPushButton::clicked, this, &TForm4::AdaugaClick);
    connect(modify, &QPushButton::clicked, this, &TForm4::ModificaClick);
    connect(remove, &QPushButton::clicked, this, &TForm4::StergeClick);
    for (QPushButton* b : {add, modify, remove}) buttons->addWidget(b);
    buttons->addStretch(1);
    layout->insertLayout(2, buttons);
    EnterNavigation::install(order);
    return page;
}

QWidget* TForm4::buildImportOptions() {
    auto* box = new QWidget(this);
    auto* layout = new QGridLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    QList<QWidget*> order;
    int row = 0;
    for (const AdminCounterControl& c : AdminCounterControls()) {
        if (!c.importOption) continue;
        QWidget* field = nullptr;
        if (c.kind == CounterControlKind::CheckBox) {
            auto* check = new QCheckBox(c.label, box);
            check->setObjectName(c.control);
            layout->addWidget(check, row++, 0, 1, 3);
            field = check;
        } else {
            layout->addWidget(new QLabel(c.label, box), row, 0);
            auto* edit = new QLineEdit(box);
            edit->setObjectName(c.control);
            layout->addWidget(edit, row, 1);
            if (c.kind == CounterControlKind::Folder) {
                edit->setReadOnly(true); // chosen by the button, which checks the folder
                auto* pick = button(c.control + QStringLiteral("But"), QStringLiteral("..."), box);
                pick->setToolTip(QStringLiteral("Indicati calea directorului DATA din Registrul Agricol 2010-2014"));
                connect(pick, &QPushButton::clicked, this, &TForm4::CaleAutoClick);
                layout->addWidget(pick, row, 2);
            } else {
                edit->setInputMask(QStringLiteral("99:99"));
            }
            ++row;
            field = edit;
        }
        controls_.insert(c.control.toUpper(), field);
        order << field;
    }
    EnterNavigation::install(order);
    return box;
}

// ---------------------------------------------------------------- values in and out

void TForm4::showConstants() {
    for (auto it = controls_.constBegin(); it != controls_.constEnd(); ++it) {
        const QString text = constants_.text(it.key());
        if (auto* edit = qobject_cast<QLineEdit*>(*it)) edit->setText(text);
        else if (auto* combo = qobject_cast<QComboBox*>(*it)) combo->setCurrentIndex(combo->findText(text));
        else if (auto* check = qobject_cast<QCheckBox*>(*it)) check->setChecked(text.toUpper() == QLatin1String("DA"));
    }
}

void TForm4::readConstants() {
    for (auto it = controls_.constBegin(); it != controls_.constEnd(); ++it) {
        if (auto* edit = qobject_cast<QLineEdit*>(*it)) constants_.setText(it.key(), edit->text());
        else if (auto* combo = qobject_cast<QComboBox*>(*it)) constants_.setText(it.key(), combo->currentText());
        else if (auto* check = qobject_cast<QCheckBox*>(*it))
            constants_.setText(it.key(), check->isChecked() ? QStringLiteral("DA") : QStringLiteral("NU"));
    }
}

QWidget* TForm4::control(const QString& key) const { return controls_.value(key.toUpper(), nullptr); }

void TForm4::showServerPath(const QString& folder) {
    constants_.setText(AdminRegistryControls().front().control, folder);
    if (auto* field = qobject_cast<QLineEdit*>(control(AdminRegistryControls().front().control))) field->setText(folder);
}

// ---------------------------------------------------------------- opening and closing

void TForm4::prepareToOpen() {
    showConstants();
    reloadZones();
    s_.messages().guard([this] { users_->load(); });
    pageList_->setCurrentRow(0);
    showListItem(0);
}

void TForm4::OpenAdministratorWindow() {
    prepareToOpen();
    exec();
}

void TForm4::showListItem(int item) {
    const int page = AdminPageOfListItem(item);
    if (page >= 0) pages_->setCurrentIndex(page);
}

int TForm4::currentPage() const { return pages_->currentIndex(); }

void TForm4::SaveAndClose() {
    readConstants();
    bool saved = false;
    s_.messages().guard([this, &saved] {
        ProgressShown progress(s_.progress(), QStringLiteral("Salvare Constante"));
        s_.progress().SetMaximum(10);
        s_.progress().Step(6);
        constants_.save(s_);
        s_.progress().Step(4);
        saved = true;
    });
    if (!saved) return; // the edits stay on screen; the error was reported
    accept();
    s_.messages().guard([this] {
        StartupSequence sequence({s_.folders, s_.database(), s_.registry(), s_.messages(), s_.clock(), nullptr, {}});
        const QStringList villages = sequence.BuildVillageList();
        if (villagesReady_) villagesReady_(villages);
    });
}

void TForm4::done(int result) {
    s_.messages().guard([this] { constants_.load(s_); });
    s_.messages().guard([this] { users_->unload(); });
    QDialog::done(result);
}

// ---------------------------------------------------------------- zones

ZoneTable TForm4::zones() const { return ZoneTable(s_.database(), s_.folders.data); }

void TForm4::reloadZones(qint64 select) {
    zoneModel_->removeRows(0, zoneModel_->rowCount());
    int current = 0;
    s_.messages().guard([&] {
        for (const ZoneRow& z : zones().all()) {
            auto* locality = new QStandardItem(z.locality);
            locality->setData(z.id, Qt::UserRole);
            if (z.id == select) current = zoneModel_->rowCount();
            zoneModel_->appendRow({locality, new QStandardItem(z.zone), new QStandardItem(z.rank)});
        }
    });
    fitColumns(zoneGrid_, {32, 1, 3}); // LOCALIT, ZONA, RANG
    if (zoneModel_->rowCount() > 0) zoneGrid_->selectRow(std::min(current, zoneModel_->rowCount() - 1));
}

qint64 TForm4::currentZoneId() const {
    const QModelIndex at = zoneGrid_->currentIndex();
    if (!at.isValid()) return 0;
    return zoneModel_->item(at.row(), 0)->data(Qt::UserRole).toLongLong();
}

void TForm4::AdaugaClick() {
    const auto* zone = qobject_cast<QComboBox*>(control(DefaultZoneControl().key));
    const auto* rank = qobject_cast<QComboBox*>(control(DefaultRankControl().key));
    if (!zoneDialog_->showForAdd(zone->currentText(), rank->currentText())) return;
    s_.messages().guard([this] {
        const qint64 id = zones().add(zoneDialog_->locality(), zoneDialog_->zone(), zoneDialog_->rank());
        reloadZones(id);
    });
}

void TForm4::ModificaClick() {
    const qint64 id = currentZoneId();
    if (id == 0) {
        s_.messages().ShowProblemHint(QStringLiteral("Nu aveti ce modifica!"), findChild<QPushButton*>("ModificaBut"));
        return;
    }
    const int row = zoneGrid_->currentIndex().row();
    const ZoneRow current{id, zoneModel_->item(row, 0)->text(), zoneModel_->item(row, 1)->text(),
                          zoneModel_->item(row, 2)->text()};
    if (!zoneDialog_->showForModify(current)) return;
    s_.messages().guard([&] {
        zones().modify(id, zoneDialog_->locality(), zoneDialog_->zone(), zoneDialog_->rank());
        reloadZones(id);
    });
}

void TForm4::StergeClick() {
    const qint64 id = currentZoneId();
    if (id == 0) {
        s_.messages().ShowProblemHint(QStringLiteral("Nu aveti ce sterge!"), findChild<QPushButton*>("StergeBut"));
        return;
    }
    if (!s_.messages().askYesNoDefaultNu(QStringLiteral("Stergere localitate"),
                                QStringLiteral("Sunteti sigur ca vreti sa stergeti localitatea?")))
        return;
    // The row after it takes its place, or the one before when it was the last.
    const int row = zoneGrid_->currentIndex().row();
    const int neighbour = row + 1 < zoneModel_->rowCount() ? row + 1 : row - 1;
    const qint64 next = neighbour >= 0 ? zoneModel_->item(neighbour, 0)->data(Qt::UserRole).toLongLong() : 0;
    s_.messages().guard([&] {
        zones().remove(id);
        reloadZones(next);
    });
}

// ---------------------------------------------------------------- other buttons

void TForm4::ExplicatiiClick() {
    s_.messages().ShowErrors(AdminExplanationsTitle(), AdminExplanationsLines().join('\r'), MessageKind::Information,
                             MessageButton::Ok);
}

void TForm4::CoduriClick() {
    s_.messages().guard([this] {
        TFCoduri codes(s_, this);
        codes.OpenCodesWindow();
    });
}

void TForm4::applyFolderOutcome(const QString& controlName, const FolderOutcome& outcome) {
    if (!outcome.changed) return;
    constants_.setText(controlName, outcome.shown);
    if (auto* field = qobject_cast<QLineEdit*>(control(controlName))) field->setText(outcome.shown);
    if (outcome.endProgram && endProgram_) endProgram_();
}

void TForm4::ModificareServerClick() {
    const QString folder = pickFolder_(QStringLiteral("Indicati baza de date din retea"));
    if (folder.isEmpty()) return;
    s_.messages().guard([&] { applyFolderOutcome(AdminRegistryControls()[0].control, ChangeServerPath(s_, folder)); });
}

void TForm4::StergereServerClick() {
    const QString name = AdminRegistryControls()[0].control;
    QWidget* field = control(name);
    s_.messages().guard([&] { applyFolderOutcome(name, ClearServerPath(s_, qobject_cast<QLineEdit*>(field)->text(), field)); });
}

void TForm4::ModificareSalvariClick() {
    if (!MayChangeBackupPath(s_)) return;
    const QString folder = pickFolder_(QStringLiteral("Indicati calea salvarilor automate"));
    if (folder.isEmpty()) return;
    s_.messages().guard([&] { applyFolderOutcome(AdminRegistryControls()[1].control, ChangeBackupPath(s_, folder)); });
}

void TForm4::StergereSalvariClick() {
    const QString name = AdminRegistryControls()[1].control;
    QWidget* field = control(name);
    s_.messages().guard([&] { applyFolderOutcome(name, ClearBackupPath(s_, qobject_cast<QLineEdit*>(field)->text(), field)); });
}

void TForm4::CaleAutoClick() {
    const QString folder = pickFolder_(QStringLiteral("Indicati directorul DATA din RA 2015"));
    if (folder.isEmpty()) return;
    const FolderOutcome outcome = CheckRegisterFolder(s_, folder);
    // Kept only in the field: "Salveaza si inchide" stores it.
    for (const AdminCounterControl& c : AdminCounterControls())
        if (c.kind == CounterControlKind::Folder)
            if (auto* field = qobject_cast<QLineEdit*>(control(c.control))) field->setText(outcome.shown);
}

} // namespace vartesa
