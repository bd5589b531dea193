#include "documents/ui/confirmation_windows.h"
#include "shell/text_helpers.h"

#include "books/roles.h"
#include "shell/counters.h"
#include "shell/services.h"
#include "shell/table_files.h"
#include "shell/ui/combo_helpers.h"
#include "shell/ui/enter_navigation.h"
#include "shell/ui/window_looks.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QAbstractTableModel>
#include <QTableView>
#include <QVBoxLayout>

namespace vartesa {

namespace {


QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = named(new QPushButton(caption, parent), name);
    b->setAutoDefault(false);
    return b;
}

QLineEdit* numberField(QWidget* parent, const char* name, int digits, const QString& text = {}) {
    auto* e = named(new QLineEdit(text, parent), name);
    e->setMaxLength(digits);
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
    fitCharacters(e, digits, true);
    return e;
}

QLineEdit* textField(QWidget* parent, const char* name, int length) {
    auto* e = named(new QLineEdit(parent), name);
    e->setMaxLength(length);
    fitCharacters(e, length, false);
    return e;
}



} // namespace

// The register's rows as the grid shows them, read from the records without copying them
// into items: a search redraws thousands of rows at every keystroke.
class ConfirmationGridModel : public QAbstractTableModel {
public:
    ConfirmationGridModel(const std::vector<ConfirmationRecord>& rows, QObject* parent)
        : QAbstractTableModel(parent), rows_(rows) {}
    void reset() {
        beginResetModel();
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(rows_.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : kTitles.size(); }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
        return kTitles.value(section);
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        const ConfirmationRecord& c = rows_[size_t(index.row())];
        switch (index.column()) {
        case 0: return c.number;
        case 1: return DateText(c.date);
        case 2: return qint64(c.amount);
        case 3: return c.listNumber;
        case 4: return DateText(c.listDate);
        case 5: return c.rol;
        case 6: return c.name;
        case 7: return c.village;
        case 8: return c.address;
        case 9: return c.senderName;
        case 10: return c.senderLocality;
        case 11: return c.senderAddress;
        case 12: return c.code;
        case 13: return c.nature;
        case 14: return c.addressNumber;
        default: return DateText(c.addressDate);
        }
    }

private:
    static inline const QStringList kTitles{"Numarul",     "Din data", "Suma",    "Numarul",       "Din data", "ROL",
                                            "Numele si prenumele", "Localitatea", "Adresa", "Nume si prenume",
                                            "Localitatea", "Adresa",   "Cod",     "Natura",        "Numarul",  "Din data"};
    const std::vector<ConfirmationRecord>& rows_;
};

// ---- TConFRSet

TConFRSet::TConFRSet(Services& services, QWidget* parent) : QDialog(parent, DialogFlags()), s_(services) {
    setObjectName(QStringLiteral("TConFRSet"));
    setWindowTitle(QStringLiteral("Stabileste numarul Confirmarii"));
    Numar = numberField(this, "Numar", 10);
    Memoreaza = button(this, "Memoreaza", QStringLiteral("&Memoreaza"));
    Renunt = button(this, "Renunt", QStringLiteral("&Renunt"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Numarul Confirmarii"), this));
    layout->addWidget(new QLabel(QStringLiteral("de primire a debitelor"), this));
    layout->addWidget(Numar);
    layout->addLayout(row({Memoreaza, Renunt}));
    EnterNavigation::install({Numar}, Memoreaza);
    connect(Memoreaza, &QPushButton::clicked, this, &TConFRSet::MemoreazaClick);
    connect(Renunt, &QPushButton::clicked, this, &QDialog::reject);
}

void TConFRSet::prepare() { Numar->setText(QString::number(NextConfirmationNumber(s_.counters()))); }

std::optional<qint64> TConFRSet::AskNumber() {
    prepare();
    Numar->setFocus();
    Numar->selectAll();
    if (exec() != QDialog::Accepted) return std::nullopt;
    return Numar->text().toLongLong();
}

void TConFRSet::MemoreazaClick() {
    CountersFile counters = s_.counters();
    if (const std::optional<QString> problem = SetConfirmationNumber(counters, Numar->text().toLongLong())) {
        s_.messages().ShowProblemHint(*problem, Numar);
        return;
    }
    accept();
}

// ---- TAlegeROLF

TAlegeROLF::TAlegeROLF(Services& services, QWidget* parent) : QDialog(parent, DialogFlags()), s_(services) {
    setObjectName(QStringLiteral("TAlegeROLF"));
    setWindowTitle(QStringLiteral("Alege un ROL"));
    const QDate today = s_.clock().today();
    SatulX = named(new QComboBox(this), "SatulX");
    fitCharacters(SatulX, 32, true);
    TitularX = named(new QComboBox(this), "TitularX");
    TitularX->setMinimumContentsLength(50);
    ConfPanel = named(new QWidget(this), "ConfPanel");
    NrConf = named(new QLabel(ConfPanel), "NrConf");
    BitBtn1 = button(ConfPanel, "BitBtn1", QStringLiteral("..."));
    BitBtn1->setToolTip(QStringLiteral("Modifica numarul Confirmarii."));
    Suma = numberField(ConfPanel, "Suma", 10, QStringLiteral("0"));
    DataConf = dateField(ConfPanel, "DataConf", today);
    BordNr = numberField(ConfPanel, "BordNr", 10);
    BordData = dateField(ConfPanel, "BordData", today);
    CodCLX = named(new QComboBox(ConfPanel), "CodCLX");
    CodCLX->setMinimumContentsLength(50);
    NumeDest = textField(ConfPanel, "NumeDest", ConfirmationWidths::senderName);
    LocDest = textField(ConfPanel, "LocDest", ConfirmationWidths::senderLocality);
    AdrDest = textField(ConfPanel, "AdrDest", ConfirmationWidths::senderAddress);
    AdrNr = numberField(ConfPanel, "AdrNr", 10, QStringLiteral("0"));
    AdrData = dateField(ConfPanel, "AdrData", today);
    MemoBut = button(this, "MemoBut", QStringLiteral("Am ales"));
    CloseBut = button(this, "CloseBut", QStringLiteral("&Renunt"));
    numberDialog = new TConFRSet(services, this);

    auto* upper = new QFormLayout;
    upper->addRow(new QLabel(QStringLiteral("Alegeti un ROL"), this));
    upper->addRow(QStringLiteral("Localitatea"), SatulX);
    upper->addRow(QStringLiteral("Titular / ROL"), TitularX);
    auto* lower = new QFormLayout(ConfPanel);
    lower->setContentsMargins(0, 0, 0, 0);
    lower->addRow(QStringLiteral("Confirmare nr."), row({NrConf, BitBtn1}));
    lower->addRow(QStringLiteral("Suma"), row({Suma, new QLabel(QStringLiteral("lei."), ConfPanel),
                                                new QLabel(QStringLiteral("din data"), ConfPanel), DataConf}));
    lower->addRow(QStringLiteral("Borderou nr."), row({BordNr, new QLabel(QStringLiteral("din data"), ConfPanel), BordData}));
    lower->addRow(QStringLiteral("Cod clasificare"), CodCLX);
    lower->addRow(QStringLiteral("Nume destinatar"), NumeDest);
    lower->addRow(QStringLiteral("Localitate destinatar"), LocDest);
    lower->addRow(QStringLiteral("Adresa destinatar"), AdrDest);
    lower->addRow(QStringLiteral("Adresa inaintata Nr."), row({AdrNr, new QLabel(QStringLiteral("din data"), ConfPanel), AdrData}));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(upper);
    layout->addWidget(ConfPanel);
    layout->addLayout(row({MemoBut, CloseBut}));
    EnterNavigation::install({SatulX, TitularX, Suma, DataConf, BordNr, BordData, CodCLX, NumeDest, LocDest, AdrDest, AdrNr,
                              AdrData},
                             MemoBut);
    connect(SatulX, &QComboBox::currentIndexChanged, this, &TAlegeROLF::SatulXChange);
    connect(MemoBut, &QPushButton::clicked, this, &TAlegeROLF::MemoButClick);
    connect(CloseBut, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn1, &QPushButton::clicked, this, &TAlegeROLF::BitBtn1Click);
}

void TAlegeROLF::prepare(const QString& title, bool confirmation) {
    setWindowTitle(title);
    confirmation_ = confirmation;
    ConfPanel->setVisible(confirmation);
    added_ = {};
    {
        const QSignalBlocker quiet(SatulX);
        SatulX->clear();
        FillComboDistinct(SatulX, s_.database(), s_.folders.data + '/' + tables::Roles, {}, RoleColumns::village);
        SatulX->setCurrentIndex(-1);
    }
    SatulXChange();
    if (!confirmation) return;
    NrConf->setText(QString::number(NextConfirmationNumber(s_.counters())));
    Suma->setText(QStringLiteral("0"));
    CodCLX->clear();
    for (const ConfirmationCode& c : ConfirmationCodes(s_.database(), s_.folders.data)) CodCLX->addItem(c.text());
    CodCLX->setCurrentIndex(CodCLX->count() > 0 ? 0 : -1);
    for (QLineEdit* e : {NumeDest, LocDest, AdrDest}) e->clear();
    AdrNr->setText(QStringLiteral("0"));
}

bool TAlegeROLF::ShowChoice(const QString& title, bool confirmation) {
    prepare(title, confirmation);
    SatulX->setFocus();
    return exec() == QDialog::Accepted;
}

void TAlegeROLF::SatulXChange() {
    TitularX->clear();
    roles_.clear();
    if (SatulX->currentIndex() < 0) return;
    for (const Role& r : ReadVillageRoles(s_.database(), s_.folders.data, SatulX->currentText())) {
        TitularX->addItem(r.name + QStringLiteral(" rol.") + r.number);
        roles_.push_back(r.id);
    }
    TitularX->setCurrentIndex(-1);
}

qint64 TAlegeROLF::chosenRole() const {
    const int at = TitularX->currentIndex();
    return at >= 0 && at < int(roles_.size()) ? roles_[size_t(at)] : 0;
}

ConfirmationRequest TAlegeROLF::request() const {
    ConfirmationRequest r;
    r.village = SatulX->currentIndex() >= 0 ? SatulX->currentText() : QString();
    r.idgos = chosenRole();
    r.amount = Suma->text().toLongLong();
    r.date = DataConf->date();
    r.listNumber = BordNr->text().toLongLong();
    r.listDate = BordData->date();
    r.code = ConfirmationCodeOf(CodCLX->currentText());
    r.senderName = NumeDest->text();
    r.senderLocality = LocDest->text();
    r.senderAddress = AdrDest->text();
    r.addressNumber = AdrNr->text().toLongLong();
    r.addressDate = AdrData->date();
    return r;
}

void TAlegeROLF::MemoButClick() {
    const ConfirmationRequest r = request();
    if (!confirmation_) {
        if (r.village.isEmpty()) s_.messages().ShowProblemHint(QStringLiteral("Nu ati ales Localitatea!"), SatulX);
        else if (r.idgos == 0) s_.messages().ShowProblemHint(QStringLiteral("Nu ati ales Titularul!"), TitularX);
        else accept();
        return;
    }
    s_.messages().guard([&] {
        CountersFile counters = s_.counters();
        const ConfirmationAdded done = AddConfirmation(s_.database(), s_.folders.data, counters, r);
        if (done.problem) {
            s_.messages().ShowProblemHint(done.problem->message, findChild<QWidget*>(done.problem->field));
            return;
        }
        added_ = done.record;
        accept();
    });
}

void TAlegeROLF::BitBtn1Click() {
    if (const std::optional<qint64> number = numberDialog->AskNumber()) NrConf->setText(QString::number(*number));
}

// ---- TConfDeb

TConfDeb::TConfDeb(Services& services, QWidget* parent) : QDialog(parent, DialogFlags()), s_(services) {
    setObjectName(QStringLiteral("TConfDeb"));
    setWindowTitle(QStringLiteral("Confirmare Debite"));
    ROLF = named(new QLineEdit(this), "ROLF");
    ROLF->setMaxLength(9);
    fitCharacters(ROLF, 9, true);
    NumePF = named(new QLineEdit(this), "NumePF");
    NumePF->setMaxLength(40);
    fitCharacters(NumePF, 40, true);
    model_ = new ConfirmationGridModel(rows_, this);
    Grid = readOnlyGrid(this, "Grid", model_);
    AdaugaB = button(this, "AdaugaB", QStringLiteral("&Adauga Confirmare"));
    StergeB = button(this, "StergeB", QStringLiteral("&Sterge Confirmare"));
    ListeazaB = button(this, "ListeazaB", QStringLiteral("&Listeaza Confirmare"));
    InchideB = button(this, "InchideB", QStringLiteral("&Inchide"));
    roleDialog = new TAlegeROLF(services, this);
    // Sized once by the fields' widths: a search must not measure thousands of rows.
    fitColumns(Grid, {10, 10, 6, 10, 10, 9, 40, 20, 30, 40, 20, 30, 12, 30, 10, 10});

    auto* heading = new QLabel(QStringLiteral("Lista Confirmarilor de primire a debitelor"), this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    auto* search = new QGroupBox(QStringLiteral("Cautare dupa"), this);
    auto* searchRow = new QHBoxLayout(search);
    searchRow->addWidget(new QLabel(QStringLiteral("ROL"), search));
    searchRow->addWidget(ROLF);
    searchRow->addWidget(new QLabel(QStringLiteral("Nume si prenume"), search));
    searchRow->addWidget(NumePF);
    searchRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(search);
    layout->addWidget(Grid);
    layout->addLayout(row({AdaugaB, StergeB, ListeazaB, InchideB}));
    for (QLineEdit* e : {ROLF, NumePF}) connect(e, &QLineEdit::textChanged, this, [this] { reload(); });
    connect(AdaugaB, &QPushButton::clicked, this, &TConfDeb::AdaugaClick);
    connect(StergeB, &QPushButton::clicked, this, &TConfDeb::StergeClick);
    connect(ListeazaB, &QPushButton::clicked, this, &TConfDeb::ListeazaClick);
    connect(InchideB, &QPushButton::clicked, this, &QDialog::reject);
    resize(1000, 520);
}

void TConfDeb::OpenRegister() {
    for (QLineEdit* e : {ROLF, NumePF}) {
        const QSignalBlocker quiet(e);
        e->clear();
    }
    reload();
    exec();
}

void TConfDeb::reload(qint64 id) {
    s_.messages().guard([&] { rows_ = ReadConfirmations(s_.database(), s_.folders.data, ROLF->text(), NumePF->text()); });
    model_->reset();
    int select = int(rows_.size()) - 1;
    for (int r = 0; r < int(rows_.size()); ++r)
        if (rows_[size_t(r)].id == id) select = r;
    if (select >= 0) {
        Grid->selectRow(select);
        Grid->scrollTo(model_->index(select, 0));
    }
    StergeB->setEnabled(!rows_.empty());
    ListeazaB->setEnabled(!rows_.empty());
}

void TConfDeb::AdaugaClick() {
    if (!roleDialog->ShowChoice(QStringLiteral("Adaugare Confirmare de primire debit"), true)) return;
    reload(roleDialog->added().id);
}

void TConfDeb::StergeClick() {
    const QModelIndex at = Grid->currentIndex();
    if (!at.isValid() || at.row() >= int(rows_.size())) return;
    // DA deletes: Enter answers NU.
    const auto ask = [this](const QString& question) {
        return s_.messages().askYesNoDefaultNu(kConfirmationDeleteTitle, question);
    };
    s_.messages().guard([&] {
        if (DeleteLastConfirmation(s_, rows_[size_t(at.row())].id, ROLF->text(), NumePF->text(), ask)) reload();
    });
}

void TConfDeb::ListeazaClick() {
    const QModelIndex at = Grid->currentIndex();
    if (!at.isValid() || at.row() >= int(rows_.size())) return;
    s_.messages().guard(
        [&] { PrintConfirmation(s_, rows_[size_t(at.row())].id, s_.folders.program + QStringLiteral("/Confirm")); });
}

} // namespace vartesa
