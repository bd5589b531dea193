#include "documents/ui/summons_windows.h"

#include "cash/cash_summaries.h"
#include "cash/ui/account_window.h"
#include "documents/ui/grid_export_dialog.h"
#include "shell/file_helpers.h"
#include "shell/services.h"
#include "shell/text_helpers.h"
#include "shell/ui/enter_navigation.h"
#include "shell/ui/window_looks.h"
#include "workbook/workbook.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace vartesa {

namespace {

QString dateText(const QDate& d) { return d.isValid() ? d.toString(QStringLiteral("dd.MM.yyyy")) : QStringLiteral(" - "); }

QStandardItem* cell(const QVariant& v) {
    auto* item = new QStandardItem;
    item->setData(v, Qt::DisplayRole);
    item->setEditable(false);
    return item;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = named(new QPushButton(caption, parent), name);
    b->setAutoDefault(false);
    return b;
}

QHBoxLayout* buttonRow(const QList<QPushButton*>& buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* b : buttons) row->addWidget(b);
    return row;
}


// "Nume si prenume", "ROL unic", "Somatia Nr.", "din data" of a dialog.
QString identification(const SummonsListRow& r) {
    return QStringLiteral("Nume si prenume: %1\nROL unic: %2\nSomatia Nr. %3 din data %4")
        .arg(r.name, r.rol)
        .arg(r.summons.number)
        .arg(dateText(r.summons.issued));
}

// The list's columns: title and the field a click on it orders by.
const std::pair<const char*, const char*> kListColumns[] = {
    {"Nume si prenume", "NUMEP"}, {"ROL", "ROL"},       {"CNP", "CNP"},         {"Localitatea", "SATUL"},
    {"Nr.", "NR"},                {"Din data", "DINDATA"}, {"Anulat", "ANULAT"}, {"Motivul anularii", "OBS"},
    {"Suma", "SUMA"},             {"Data", "DATACONF"}, {"Mod de confirmare", "TIPCONF"}, {"Adresa", "ADRESA"},
    {"Tip P/J", "TIP"}};

} // namespace

// ---- TSomConfirm

TSomConfirm::TSomConfirm(Services& services, QWidget* parent) : QDialog(parent, DialogFlags()), s_(services) {
    setObjectName(QStringLiteral("TSomConfirm"));
    setWindowTitle(QStringLiteral("Confirmare Somatie - Titlu"));
    model_ = new QStandardItemModel(0, 7, this);
    model_->setHorizontalHeaderLabels({"Denumire restanta", "Document justificativ", "Termen de plata", "Ramasita",
                                       "Curent", "Accesorii", "Total"});
    Grid = readOnlyGrid(this, "Grid", model_);
    TotalL = named(new QLabel(this), "TotalL");
    Arata = button(this, "Arata", QStringLiteral("Arata"));
    Renunt = button(this, "Renunt", QStringLiteral("&Renunt"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Grid);
    layout->addWidget(TotalL, 0, Qt::AlignRight);
    layout->addLayout(buttonRow({Arata, Renunt}));
    connect(Arata, &QPushButton::clicked, this, &TSomConfirm::ArataClick);
    connect(Renunt, &QPushButton::clicked, this, &QDialog::reject);
    resize(820, 420);
}

void TSomConfirm::fill(const SummonsDetail& detail) {
    detail_ = detail;
    model_->removeRows(0, model_->rowCount());
    for (const SummonsLine& l : detail.lines)
        model_->appendRow({cell(l.group), cell(l.document), cell(dateText(l.due)), cell(qint64(l.arrears)),
                           cell(qint64(l.current)), cell(qint64(l.increments)), cell(qint64(l.total()))});
    std::int64_t total = 0;
    for (const SummonsLine& l : detail.lines) total += l.total();
    TotalL->setText(QString::number(total) + QStringLiteral(" lei."));
    fitColumns(Grid);
}

bool TSomConfirm::ShowLines(const SummonsDetail& detail) {
    fill(detail);
    return exec() == QDialog::Accepted;
}

void TSomConfirm::ArataClick() {
    if (AcceptSummonsLines(s_.messages(), detail_)) accept();
}

void SomTitP(Services& s, TGospodarieF& account, TSomConfirm& confirm) {
    const AccountRole& role = account.accountRole();
    if (!role.found) return;
    account.DataCalc->setDate(s.clock().today());
    account.CalcOm();
    s.messages().guard([&] {
        IssueSummons(s, ReadSummonsPrintSettings(s, s.user), role.rules, role.role.id, s.clock().today(),
                     [&](const SummonsDetail& d) { return confirm.ShowLines(d); },
                     s.folders.program + QStringLiteral("/SomTit"));
    });
}

// ---- TSomAnul

TSomAnul::TSomAnul(Services& services, QWidget* parent) : QDialog(parent, DialogFlags()), s_(services) {
    setObjectName(QStringLiteral("TSomAnul"));
    setWindowTitle(QStringLiteral("Anulare Somatie"));
    Info = named(new QLabel(this), "Info");
    Motiv = named(new QComboBox(this), "Motiv");
    Motiv->setEditable(true);
    Motiv->lineEdit()->setMaxLength(32);
    fitCharacters(Motiv, 32, false);
    Memoreaza = button(this, "Memoreaza", QStringLiteral("&Memoreaza"));
    Renunt = button(this, "Renunt", QStringLiteral("&Renunt"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Motivul anularii"), Motiv);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Info);
    layout->addLayout(form);
    layout->addLayout(buttonRow({Memoreaza, Renunt}));
    EnterNavigation::install({Motiv}, Memoreaza);
    connect(Memoreaza, &QPushButton::clicked, this, &TSomAnul::MemoreazaClick);
    connect(Renunt, &QPushButton::clicked, this, &QDialog::reject);
}

void TSomAnul::prepare(const SummonsListRow& row, const QStringList& reasons) {
    Info->setText(identification(row));
    Motiv->clear();
    Motiv->addItems(reasons);
    Motiv->setCurrentText(row.summons.reason);
}

std::optional<QString> TSomAnul::AskReason(const SummonsListRow& row, const QStringList& reasons) {
    prepare(row, reasons);
    if (exec() != QDialog::Accepted) return std::nullopt;
    return CollapseSpaces(Motiv->currentText());
}

void TSomAnul::MemoreazaClick() {
    if (CollapseSpaces(Motiv->currentText()).size() <= 2) {
        s_.messages().ShowProblemHint(QStringLiteral("Lipseste motivul!"), Motiv);
        return;
    }
    accept();
}

// ---- TConfirmareF

TConfirmareF::TConfirmareF(Services& services, QWidget* parent) : QDialog(parent, DialogFlags()), s_(services) {
    setObjectName(QStringLiteral("TConfirmareF"));
    setWindowTitle(QStringLiteral("Confirmare"));
    Info = named(new QLabel(this), "Info");
    DataConf = dateField(this, "DataConf", services.clock().today());
    TipConf = named(new QComboBox(this), "TipConf");
    TipConf->addItems({QStringLiteral("POSTA"), QStringLiteral("INTERNET")});
    Memoreaza = button(this, "Memoreaza", QStringLiteral("&Memoreaza"));
    Renunt = button(this, "Renunt", QStringLiteral("&Renunt"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Data confirmarii"), DataConf);
    form->addRow(QStringLiteral("Mod de confirmare"), TipConf);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Info);
    layout->addLayout(form);
    layout->addLayout(buttonRow({Memoreaza, Renunt}));
    EnterNavigation::install({DataConf, TipConf}, Memoreaza);
    connect(Memoreaza, &QPushButton::clicked, this, &TConfirmareF::MemoreazaClick);
    connect(Renunt, &QPushButton::clicked, this, &QDialog::reject);
}

void TConfirmareF::prepare(const SummonsListRow& row) {
    Info->setText(identification(row));
    issued_ = row.summons.issued;
    DataConf->setDate(issued_.isValid() ? issued_.addDays(2) : s_.clock().today());
    TipConf->setCurrentIndex(0);
}

std::optional<std::pair<QDate, QString>> TConfirmareF::AskDelivery(const SummonsListRow& row) {
    prepare(row);
    if (exec() != QDialog::Accepted) return std::nullopt;
    return std::pair{DataConf->date(), TipConf->currentText()};
}

void TConfirmareF::MemoreazaClick() {
    if (issued_.isValid() && DataConf->date() < issued_.addDays(2)) {
        s_.messages().ShowProblemHint(QStringLiteral("Data Confirmarii ese incorecta!"), DataConf);
        return;
    }
    accept();
}

// ---- TSomTitList

TSomTitList::TSomTitList(Services& services, QWidget* parent) : QDialog(parent, DialogFlags()), s_(services) {
    setObjectName(QStringLiteral("TSomTitList"));
    setWindowTitle(QStringLiteral("Somatii si Titluri"));
    auto* heading = named(new QLabel(QStringLiteral("Centralizator Somatii si Titluri executorii eliberate"), this), "Heading");
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    model_ = new QStandardItemModel(0, int(std::size(kListColumns)), this);
    QStringList titles;
    for (const auto& [title, field] : kListColumns) titles << QLatin1String(title);
    model_->setHorizontalHeaderLabels(titles);
    SMDBGrid1 = readOnlyGrid(this, "SMDBGrid1", model_);
    ExportB = button(this, "ExportB", QStringLiteral("Export in Excel"));
    ListeazaB = button(this, "ListeazaB", QStringLiteral("Listeaza"));
    AnuleazaB = button(this, "AnuleazaB", QStringLiteral("Anuleaza"));
    ConfirmareB = button(this, "ConfirmareB", QStringLiteral("Confirmare"));
    cancelDialog = new TSomAnul(services, this);
    confirmDialog = new TConfirmareF(services, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading, 0, Qt::AlignCenter);
    layout->addWidget(SMDBGrid1);
    layout->addLayout(buttonRow({ExportB, ListeazaB, AnuleazaB, ConfirmareB}));
    connect(ExportB, &QPushButton::clicked, this, &TSomTitList::ExportClick);
    connect(ListeazaB, &QPushButton::clicked, this, &TSomTitList::ListeazaClick);
    connect(AnuleazaB, &QPushButton::clicked, this, &TSomTitList::AnuleazaClick);
    connect(ConfirmareB, &QPushButton::clicked, this, &TSomTitList::ConfirmareClick);
    connect(SMDBGrid1, &QTableView::doubleClicked, this, &TSomTitList::ListeazaClick);
    SMDBGrid1->horizontalHeader()->setSectionsClickable(true);
    connect(SMDBGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this, &TSomTitList::TitleClick);
    resize(1100, 560);
}

void TSomTitList::ShowList() {
    if (!s_.messages().guard([&] { reload(QStringLiteral("NUMEP"), 0); })) return;
    exec();
}

void TSomTitList::reload(const QString& order, qint64 id) {
    order_ = order;
    rows_ = ReadSummonsList(s_.database(), s_.folders.data, order);
    model_->removeRows(0, model_->rowCount());
    int current = rows_.empty() ? -1 : 0;
    for (size_t i = 0; i < rows_.size(); ++i) {
        const SummonsListRow& r = rows_[i];
        const SummonsRecord& m = r.summons;
        model_->appendRow({cell(r.name), cell(r.rol), cell(r.code), cell(r.village), cell(m.number),
                           cell(dateText(m.issued)), cell(m.cancelled), cell(m.reason), cell(qint64(m.total)),
                           cell(dateText(m.confirmed)), cell(m.way), cell(r.address), cell(r.type)});
        if (m.id == id) current = int(i);
    }
    if (current >= 0) SMDBGrid1->selectRow(current);
    fitColumns(SMDBGrid1);
}

std::optional<SummonsListRow> TSomTitList::selected() const {
    const QModelIndex i = SMDBGrid1->currentIndex();
    const int row = i.isValid() ? i.row() : (rows_.empty() ? -1 : 0);
    if (row < 0 || row >= int(rows_.size())) return std::nullopt;
    return rows_[size_t(row)];
}

void TSomTitList::TitleClick(int column) {
    if (rows_.size() < 2 || column < 0 || column >= int(std::size(kListColumns))) return;
    const std::optional<SummonsListRow> keep = selected();
    s_.messages().guard([&] { reload(QLatin1String(kListColumns[column].second), keep ? keep->summons.id : 0); });
}

void TSomTitList::ListeazaClick() {
    const std::optional<SummonsListRow> row = selected();
    if (!row) return;
    s_.messages().guard([&] {
        PrintSummons(s_, ReadSummonsPrintSettings(s_, s_.user), row->summons.id, s_.folders.program + QStringLiteral("/SomTit"));
    });
}

void TSomTitList::AnuleazaClick() {
    const std::optional<SummonsListRow> row = selected();
    if (!row) {
        s_.messages().showError(QStringLiteral("Anulare Somatie"), QStringLiteral("Nu aveti ce anula!"));
        return;
    }
    QStringList reasons;
    for (const SummonsListRow& r : rows_)
        if (!r.summons.reason.isEmpty() && !reasons.contains(r.summons.reason)) reasons << r.summons.reason;
    reasons.sort();
    const std::optional<QString> reason = cancelDialog->AskReason(*row, reasons);
    if (!reason) return;
    s_.messages().guard([&] {
        if (auto refused = CancelSummons(s_.database(), s_.folders.data, row->summons.id, *reason))
            s_.messages().showError(QStringLiteral("Anulare Somatie"), *refused);
        reload(order_, row->summons.id);
    });
}

void TSomTitList::ConfirmareClick() {
    const std::optional<SummonsListRow> row = selected();
    if (!row) {
        s_.messages().showError(QStringLiteral("Confirmare Somatie"), QStringLiteral("Alegeti mai intai o somatie!"));
        return;
    }
    const auto delivery = confirmDialog->AskDelivery(*row);
    if (!delivery) return;
    s_.messages().guard([&] {
        if (auto refused = ConfirmSummons(s_.database(), s_.folders.data, row->summons.id, delivery->first, delivery->second))
            s_.messages().showError(QStringLiteral("Confirmare Somatie"), *refused);
        reload(order_, row->summons.id);
    });
}

void TSomTitList::ExportClick() { ExportGridView(s_, *SMDBGrid1, this); }

// ---- TSelPerPF

TSelPerPF::TSelPerPF(Services& services, QWidget* parent) : QDialog(parent, DialogFlags()), s_(services) {
    setObjectName(QStringLiteral("TSelPerPF"));
    setWindowTitle(QStringLiteral("Situatie"));
    auto* title = named(new QLabel(QStringLiteral("Alegeti perioada"), this), "Titlu");
    const QDate today = services.clock().today();
    Data0 = dateField(this, "Data0", today);
    Data1 = dateField(this, "Data1", today);
    TipPF = named(new QComboBox(this), "TipPF");
    TipPF->addItems({kPersonNatural, kPersonLegal});
    Arata = button(this, "Arata", QStringLiteral("Arata"));
    Renunt = button(this, "Renunt", QStringLiteral("&Renunt"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Incepand cu data"), Data0);
    form->addRow(QStringLiteral("terminand cu data"), Data1);
    form->addRow(QStringLiteral("Tip persoana"), TipPF);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title, 0, Qt::AlignCenter);
    layout->addLayout(form);
    layout->addLayout(buttonRow({Arata, Renunt}));
    EnterNavigation::install({Data0, Data1, TipPF}, Arata);
    connect(Arata, &QPushButton::clicked, this, [this] {
        if (!ArataClick().isEmpty()) accept();
    });
    connect(Renunt, &QPushButton::clicked, this, &QDialog::reject);
}

void TSelPerPF::ShowChoice() {
    const QDate today = s_.clock().today();
    Data0->setDate(today);
    Data1->setDate(today);
    TipPF->setCurrentIndex(0);
    exec();
}

QString TSelPerPF::ArataClick() {
    const QDate from = Data0->date(), to = Data1->date();
    if (const std::optional<QString> refused = CheckPeriod(from, to)) {
        s_.messages().ShowProblemHint(*refused, Data0);
        return {};
    }
    QString written;
    s_.messages().guard([&] {
        const auto rows = ReadSummonsReport(s_.database(), s_.folders.data, from, to, TipPF->currentText());
        const workbook::Workbook book = BuildSummonsReport(s_, rows, from, to);
        const QString path = FreeTempFileName(s_.folders.program, QStringLiteral("Rap"), QStringLiteral(".xls"));
        if (path.isEmpty()) {
            s_.messages().showError(QStringLiteral("Situatie"),
                                    QStringLiteral("Lista nu poate fi salvata: toate numele de fisier sunt deschise!"));
            return;
        }
        book.save(path);
        s_.desktop().openFile(path);
        written = path;
    });
    return written;
}

} // namespace vartesa
