// TChitantaF: the lines grid, the document's controls by kind, and the checks of "&OPEREAZA".

#include "cash/ui/payment_dialog.h"

#include "cash/ui/account_grid_model.h"
#include "cash/ui/split_editor.h"
#include "shell/counters.h"
#include "shell/services.h"
#include "shell/table_helpers.h"
#include "shell/text_helpers.h"
#include "admin/ui/codes_window.h"
#include "shell/ui/enter_navigation.h"
#include "shell/ui/window_looks.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace vartesa {

namespace {

constexpr int kPayerLength = 40; // PLATNUME
constexpr int kNumberDigits = 10; // NR

// The grid's columns: the line's field, its title and its room in characters.
struct LineColumn {
    const char* caption;
    int room;
};
const LineColumn kLineColumns[] = {{"Denumirea creantei", 34}, {"Doc. jus.", 9}, {"Cod clasificare", 24},
                                   {"Ramasita", 7},            {"Majorari", 7},  {"Sold", 7},
                                   {"Curent", 7},              {"Majorari", 7},  {"Reduc.", 7},
                                   {"TOTAL", 8}};
constexpr int kColumns = int(std::size(kLineColumns));
constexpr int kFirstAmount = 3;

QVariant lineCell(const PaymentLine& l, int column) {
    switch (column) {
    case 0: return l.group;
    case 1: return l.document;
    case 2: return l.code;
    case 3: return qint64(l.arrears);
    case 4: return qint64(l.carried);
    case 5: return qint64(l.credit);
    case 6: return qint64(l.current);
    case 7: return qint64(l.penalties);
    case 8: return qint64(l.reduction);
    default: return qint64(l.total());
    }
}

QLineEdit* shownField(QWidget* parent, const char* name, int characters) {
    auto* f = new QLineEdit(parent);
    f->setObjectName(QLatin1String(name));
    f->setReadOnly(true);
    f->setFocusPolicy(Qt::NoFocus);
    fitCharacters(f, characters, true);
    return f;
}

const QString kEditorTitle = QStringLiteral("Detalii / Modificari");

} // namespace

void PaymentLinesModel::setLines(std::vector<PaymentLine>* lines) {
    beginResetModel();
    lines_ = lines;
    endResetModel();
}

void PaymentLinesModel::refresh() {
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, kColumns - 1));
}

int PaymentLinesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !lines_ ? 0 : int(lines_->size());
}
int PaymentLinesModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant PaymentLinesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    if (role == Qt::DisplayRole) return lineCell((*lines_)[size_t(index.row())], index.column());
    if (role == Qt::TextAlignmentRole)
        return index.column() >= kFirstAmount ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                              : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

QVariant PaymentLinesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1; // NRCRT
    return section >= 0 && section < kColumns ? QVariant(QLatin1String(kLineColumns[section].caption)) : QVariant();
}

TChitantaF::TChitantaF(Services& services, QWidget* parent)
    : QDialog(parent, DialogFlags()), s_(services), model_(new PaymentLinesModel(this)),
      editor_(std::make_unique<TDetaliiModificari>(services.messages(), this)) {
    setObjectName(QStringLiteral("TChitantaF"));
    setWindowTitle(QStringLiteral("Operare"));
    ChitGrid = readOnlyGrid(this, "ChitGrid", model_);
    ChitGrid->setHorizontalHeader(new BandedHeader(
        {{QStringLiteral("Restanta"), 3, 4}, {QStringLiteral("Curent"), 6, 8}}, ChitGrid));
    ChitGrid->horizontalHeader()->setStretchLastSection(true);
    ChitGrid->verticalHeader()->show(); // the line numbers
    connect(ChitGrid, &QTableView::doubleClicked, this, [this] { s_.messages().guard([this] { DetaliiClick(); }); });
    fitLineColumns();

    TotalL = new QLabel(QStringLiteral("0"), this);
    TotalL->setObjectName(QStringLiteral("TotalL"));
    QFont bold = TotalL->font();
    bold.setBold(true);
    TotalL->setFont(bold);
    TotalL->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    TotalL->setMinimumWidth(TotalL->fontMetrics().horizontalAdvance(QStringLiteral("-99999999")));
    auto* total = new QHBoxLayout;
    total->addStretch();
    total->addWidget(new QLabel(QStringLiteral("TOTAL:"), this));
    total->addWidget(TotalL);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildDocumentRow());
    layout->addWidget(ChitGrid, 1);
    layout->addLayout(total);
    layout->addWidget(buildIdentification());
    layout->addWidget(buildButtons());
    EnterNavigation::install({TipDoc, NumarC, DinData, PlatitorE}, OpereazaBut);
    // "Nr." and "Cine plateste" are locked for some kinds: the clerk sees which at a glance.
    setStyleSheet(QStringLiteral("QLineEdit:read-only { background: palette(window); }"));
    resize(1280, 560);
}

TChitantaF::~TChitantaF() = default;

QWidget* TChitantaF::buildDocumentRow() {
    auto* row = new QWidget(this);
    TipDoc = new QComboBox(row);
    TipDoc->setObjectName(QStringLiteral("TipDoc"));
    TipDoc->setMinimumContentsLength(14);
    connect(TipDoc, &QComboBox::currentIndexChanged, this, &TChitantaF::TipDocChange);
    SeriaL = new QLabel(row);
    SeriaL->setObjectName(QStringLiteral("SeriaL"));
    SeriaL->setFrameShape(QFrame::Panel);
    SeriaL->setFrameShadow(QFrame::Sunken);
    fitCharacters(SeriaL, 10, true);
    NumarC = new QLineEdit(row);
    NumarC->setObjectName(QStringLiteral("NumarC"));
    NumarC->setAlignment(Qt::AlignRight);
    NumarC->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,%1}").arg(kNumberDigits)), NumarC));
    fitCharacters(NumarC, kNumberDigits, true);
    DinData = new QDateEdit(row);
    DinData->setObjectName(QStringLiteral("DinData"));
    DinData->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    DinData->setCalendarPopup(true);
    DinData->setMinimumWidth(DinData->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) + 40);
    PlatitorE = new QLineEdit(row);
    PlatitorE->setObjectName(QStringLiteral("PlatitorE"));
    PlatitorE->setMaxLength(kPayerLength);
    fitCharacters(PlatitorE, kPayerLength, true);

    auto* l = new QHBoxLayout(row);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(TipDoc);
    l->addSpacing(12);
    l->addWidget(new QLabel(QStringLiteral("Seria"), row));
    l->addWidget(SeriaL);
    l->addWidget(new QLabel(QStringLiteral("Nr."), row));
    l->addWidget(NumarC);
    l->addWidget(new QLabel(QStringLiteral("din data"), row));
    l->addWidget(DinData);
    l->addSpacing(12);
    l->addWidget(new QLabel(QStringLiteral("Cine plateste"), row));
    l->addWidget(PlatitorE);
    l->addStretch();
    return row;
}

QWidget* TChitantaF::buildIdentification() {
    auto* box = new QGroupBox(QStringLiteral("ELEMENTE DE IDENTIFICARE A PLATITORULUI"), this);
    Titular = shownField(box, "Titular", 40);
    Localitatea = shownField(box, "Localitatea", 32);
    Adresa = shownField(box, "Adresa", 40);
    NrRol = shownField(box, "NrRol", 9);
    CnpCui = shownField(box, "CnpCui", 13);
    auto* g = new QGridLayout(box);
    auto label = [box](const char* text) { return new QLabel(QLatin1String(text), box); };
    g->addWidget(label("Titular"), 0, 0);
    g->addWidget(Titular, 0, 1);
    g->addWidget(label("Nr.unic ROL"), 0, 2);
    g->addWidget(NrRol, 0, 3);
    g->addWidget(label("Localitatea"), 1, 0);
    g->addWidget(Localitatea, 1, 1);
    g->addWidget(label("C.N.P./C.U.I."), 1, 2);
    g->addWidget(CnpCui, 1, 3);
    g->addWidget(label("Adresa"), 2, 0);
    g->addWidget(Adresa, 2, 1, 1, 3);
    g->setColumnStretch(1, 1);
    return box;
}

QWidget* TChitantaF::buildButtons() {
    auto* row = new QWidget(this);
    auto button = [row](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, row);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    OpereazaBut = button("OpereazaBut", QStringLiteral("&OPEREAZA"));
    QFont bold = OpereazaBut->font();
    bold.setBold(true);
    OpereazaBut->setFont(bold);
    DetaliiBut = button("DetaliiBut", QStringLiteral("Detalii / &Modificari"));
    CoduriBut = button("CoduriBut", QStringLiteral("Coduri clasificare"));
    RenuntBut = button("RenuntBut", QStringLiteral("&Renunt"));
    // Every action of the clerk runs guarded: an error is reported and the dialog stays.
    connect(OpereazaBut, &QPushButton::clicked, this, [this] { s_.messages().guard([this] { OpereazaClick(); }); });
    connect(DetaliiBut, &QPushButton::clicked, this, [this] { s_.messages().guard([this] { DetaliiClick(); }); });
    connect(CoduriBut, &QPushButton::clicked, this, [this] { s_.messages().guard([this] { CoduriClick(); }); });
    connect(RenuntBut, &QPushButton::clicked, this, &QDialog::reject);
    auto* l = new QHBoxLayout(row);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(OpereazaBut);
    l->addWidget(DetaliiBut);
    l->addWidget(CoduriBut);
    l->addStretch();
    l->addWidget(RenuntBut);
    return row;
}

void TChitantaF::prepare(const PaymentDialogSetup& setup, std::vector<PaymentLine>& lines) {
    setup_ = setup;
    lines_ = &lines;
    std::stable_sort(lines.begin(), lines.end(), [](const PaymentLine& a, const PaymentLine& b) {
        return std::pair(a.name, a.group) < std::pair(b.name, b.group);
    });
    model_->setLines(&lines);
    fitLineColumns();
    if (!lines.empty()) ChitGrid->selectRow(0);

    const bool receipt = setup.kind == DocumentKind::Receipt;
    {
        const QSignalBlocker quiet(TipDoc);
        TipDoc->clear();
        if (receipt) TipDoc->addItems({QStringLiteral("CHITANTA"), QStringLiteral("VIRAMENT")});
        else if (setup.kind == DocumentKind::PaymentOrder) TipDoc->addItem(QStringLiteral("Ordin de plata"));
        else TipDoc->addItem(QStringLiteral("Nota contabila"));
        TipDoc->setCurrentIndex(0);
    }
    SeriaL->setText(receipt ? setup.numbering.series : QStringLiteral("-"));
    NumarC->setText(receipt ? QString::number(setup.numbering.next) : QString());
    NumarC->setReadOnly(receipt);
    DinData->setDate(setup.date);
    const Role& r = setup.role.role;
    PlatitorE->setText(r.name.left(kPayerLength));
    PlatitorE->setReadOnly(setup.kind == DocumentKind::AccountingNote);
    Titular->setText(r.name);
    Localitatea->setText(r.village);
    Adresa->setText(r.address);
    NrRol->setText(r.number);
    CnpCui->setText(r.code);
    for (QLineEdit* f : {Titular, Localitatea, Adresa}) f->setCursorPosition(0);
    TotalL->setText(QString::number(setup.total));
    // The cashier checks the lines and confirms: the focus waits on the last field before
    // "&OPEREAZA", or on the number a hand-numbered document needs.
    if (setup.kind == DocumentKind::Receipt) PlatitorE->setFocus();
    else NumarC->setFocus();
}

void TChitantaF::fitLineColumns() {
    QList<int> room;
    for (const LineColumn& c : kLineColumns) room << c.room;
    fitColumns(ChitGrid, room);
}

std::optional<PaymentDocument> TChitantaF::ShowPaymentDialog(const PaymentDialogSetup& setup,
                                                             std::vector<PaymentLine>& lines) {
    prepare(setup, lines);
    const bool confirmed = exec() == QDialog::Accepted;
    model_->setLines(nullptr);
    lines_ = nullptr;
    if (!confirmed) return std::nullopt;
    return document();
}

PaymentDocument TChitantaF::document() const {
    PaymentDocument d;
    d.kind = setup_.kind;
    if (d.kind == DocumentKind::Receipt && TipDoc->currentIndex() == 1) d.kind = DocumentKind::Transfer;
    d.date = DinData->date();
    d.payer = PlatitorE->text();
    d.number = NumarC->text().trimmed().toLongLong();
    d.series = setup_.kind == DocumentKind::Receipt ? setup_.numbering.series : QString();
    d.idgos = setup_.role.role.id;
    d.cashier = s_.user;
    return d;
}

void TChitantaF::TipDocChange() {
    if (setup_.kind != DocumentKind::Receipt) return;
    const bool transfer = TipDoc->currentIndex() == 1;
    NumarC->setReadOnly(!transfer);
    if (transfer) {
        NumarC->setFocus();
        NumarC->selectAll();
    } else {
        NumarC->setText(QString::number(setup_.numbering.next)); // the number a receipt gets
    }
}

void TChitantaF::OpereazaClick() {
    if (!lines_) return;
    NumarC->setText(QString::number(NumarC->text().trimmed().toLongLong()));
    PlatitorE->setText(CollapseSpaces(PlatitorE->text()));
    const PaymentDocument d = document();
    std::optional<PaymentProblem> problem;
    {
        // The receipt's last check reads every stored receipt: the clerk sees it working.
        std::optional<ProgressShown> working;
        if (d.kind == DocumentKind::Receipt) working.emplace(s_.progress(), QStringLiteral("Verific dubluri la chitanta..."));
        problem = CheckPaymentDocument(s_.database(), s_.folders.data, s_.counters(), *lines_, d);
    }
    if (problem) {
        showProblem(*problem, d);
        return;
    }
    accept();
}

void TChitantaF::showProblem(const PaymentProblem& problem, const PaymentDocument& document) {
    switch (problem.where) {
    case PaymentProblem::Where::Errors:
        s_.messages().ShowErrors(problem.title, problem.message, MessageKind::Error, MessageButton::Ok);
        return;
    case PaymentProblem::Where::Hint: {
        // The number is checked before the payer: a refused number is the one at fault.
        QLineEdit* field = document.number == 0 ? NumarC : PlatitorE;
        field->setFocus();
        s_.messages().ShowProblemHint(problem.message, field);
        return;
    }
    case PaymentProblem::Where::GridHint:
        for (size_t i = 0; i < lines_->size(); ++i)
            if ((*lines_)[i].code.trimmed().isEmpty()) {
                ChitGrid->selectRow(int(i));
                break;
            }
        ChitGrid->setFocus();
        s_.messages().ShowProblemHint(problem.message, ChitGrid);
        return;
    }
}

bool TChitantaF::hasPersonAccount(const QString& group) const {
    return !BudgetCodeOfGroup(s_.database(), s_.folders.data, group, true).trimmed().isEmpty();
}

void TChitantaF::DetaliiClick() {
    if (!lines_ || lines_->empty()) {
        s_.messages().ShowErrors(kEditorTitle, QStringLiteral("Nu aveti ce modifica!"), MessageKind::Error,
                                 MessageButton::Ok);
        return;
    }
    const int row = std::max(0, ChitGrid->currentIndex().row());
    PaymentLine& line = (*lines_)[size_t(row)];
    if (!hasPersonAccount(line.group)) {
        s_.messages().ShowErrors(kEditorTitle,
                                 QStringLiteral("De aici puteti modifica numai impozitele!\r"
                                                "Pentru alte taxe si amenzi, folositi butonul \"Modificare taxa / amenda\"\r"
                                                "sau verificati daca ati trecut conturile la impozite !"),
                                 MessageKind::Error, MessageButton::Ok);
        return;
    }
    editor_->setParts(line);
    if (!editor_->ShowSplitEditor(line.group, line.total())) return;
    editor_->readParts(line);
    model_->refresh();
}

void TChitantaF::CoduriClick() {
    if (openCodesWindow) {
        openCodesWindow();
    } else {
        TFCoduri codes(s_, this);
        codes.OpenCodesWindow();
    }
    refillCodes();
}

// A receipt's lines keep their series and number: only the accounts can have changed.
void TChitantaF::refillCodes() {
    if (!lines_) return;
    FillDocumentLines(s_.database(), s_.folders.data, *lines_, setup_.role.physicalPerson(), setup_.numbering.series,
                      setup_.numbering.next);
    model_->refresh();
}

} // namespace vartesa
