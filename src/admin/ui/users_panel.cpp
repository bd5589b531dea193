#include "admin/ui/users_panel.h"
#include "shell/ui/window_looks.h"

#include "db/error.h"
#include "db/query.h"
#include "shell/ui/enter_navigation.h"
#include "shell/ui/upper_case.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableView>
#include <QVBoxLayout>

namespace vartesa {

UserDialog::UserDialog(const UsersList& list, Messages& messages, const UserListRow* row, QWidget* parent)
    : QDialog(parent, DialogFlags()), list_(list), messages_(messages), adding_(row == nullptr),
      heading_(new QLabel(adding_ ? QStringLiteral("Adaugare Utilizator") : QStringLiteral("Modificare utilizator"), this)),
      name_(new QLineEdit(this)), grade_(new QComboBox(this)), card_(new QLineEdit(this)), series_(new QLineEdit(this)),
      number_(new QLineEdit(this)), clearPassword_(new QCheckBox(QStringLiteral("Sterge parola"), this)) {
    setObjectName(QStringLiteral("Utilizatori"));
    setWindowTitle(QStringLiteral("Utilizatori"));
    heading_->setObjectName(QStringLiteral("HeadingLabel"));
    name_->setObjectName(QStringLiteral("NumeEd"));
    makeUpperCase(name_, 32);
    fitCharacters(name_, 32, true);
    grade_->setObjectName(QStringLiteral("RangCombo"));
    grade_->addItems({GradeText(UserGrade::RolOperator), GradeText(UserGrade::Cashier)});
    card_->setObjectName(QStringLiteral("LegitimatiaEd"));
    makeUpperCase(card_, 32);
    fitCharacters(card_, 32, true);
    series_->setObjectName(QStringLiteral("SeriaEd"));
    series_->setMaxLength(10);
    number_->setObjectName(QStringLiteral("DeLaNrEd"));
    number_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,10}")), number_));
    clearPassword_->setObjectName(QStringLiteral("StergeParolaCheck"));
    clearPassword_->setVisible(!adding_);

    // Another administrator keeps the grade: the list offers it to that account only.
    if (row && GradeNamed(row->grade) == UserGrade::Admin) grade_->insertItem(0, GradeText(UserGrade::Admin));
    if (row) {
        name_->setText(row->name);
        name_->setReadOnly(true);
        grade_->setCurrentIndex(std::max(0, grade_->findText(row->grade)));
        card_->setText(row->card);
        series_->setText(row->series);
        number_->setText(row->number);
    }

    auto* save = new QPushButton(QStringLiteral("Memoreaza"), this);
    save->setObjectName(QStringLiteral("MemoreazaBut"));
    auto* cancel = new QPushButton(QStringLiteral("Renunt"), this);
    cancel->setObjectName(QStringLiteral("RenuntBut"));
    for (QPushButton* b : {save, cancel}) b->setAutoDefault(false);
    connect(save, &QPushButton::clicked, this, &UserDialog::MemoreazaClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Nume utilizator"), name_);
    form->addRow(QStringLiteral("Rang"), grade_);
    form->addRow(QStringLiteral("Legitimatia"), card_);
    auto* receipts = new QGroupBox(QStringLiteral("Chitante"), this);
    auto* receiptForm = new QFormLayout(receipts);
    receiptForm->addRow(QStringLiteral("Seria"), series_);
    receiptForm->addRow(QStringLiteral("De la nr."), number_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize); // a small dialog keeps the size its fields need
    layout->addWidget(heading_);
    layout->addLayout(form);
    layout->addWidget(receipts);
    layout->addWidget(clearPassword_);
    layout->addLayout(buttons);
    EnterNavigation::install({name_, grade_, card_, series_, number_}, save);
}

void UserDialog::MemoreazaClick() {
    UserEntry e;
    e.name = name_->text();
    e.grade = GradeNamed(grade_->currentText());
    e.card = card_->text();
    e.series = series_->text();
    e.fromNumber = number_->text();
    e.clearPassword = !adding_ && clearPassword_->isChecked();
    QString fault = list_.CheckEntry(e, adding_);
    if (fault.isEmpty() && !adding_) fault = list_.CannotRegrade(e);
    name_->setText(e.name);
    card_->setText(e.card);
    series_->setText(e.series);
    if (!fault.isEmpty()) {
        messages_.ShowProblemHint(fault, name_);
        return;
    }
    entry_ = e;
    accept();
}

UsersPanel::UsersPanel(Services& services, QWidget* parent)
    : QWidget(parent), s_(services), list_(services), model_(new db::QueryModel(this)), grid_(new QTableView(this)),
      add_(new QPushButton(QStringLiteral("Adaugare"), this)), modify_(new QPushButton(QStringLiteral("Modificare"), this)),
      remove_(new QPushButton(QStringLiteral("Stergere"), this)) {
    setObjectName(QStringLiteral("UsersPanel"));
    grid_->setObjectName(QStringLiteral("UsersGrid"));
    grid_->setModel(model_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    add_->setObjectName(QStringLiteral("AdaugareBut"));
    modify_->setObjectName(QStringLiteral("ModificareBut"));
    remove_->setObjectName(QStringLiteral("StergereBut"));
    connect(add_, &QPushButton::clicked, this, &UsersPanel::AdaugareClick);
    connect(modify_, &QPushButton::clicked, this, &UsersPanel::ModificareClick);
    connect(remove_, &QPushButton::clicked, this, &UsersPanel::StergereClick);

    auto* box = new QGroupBox(QStringLiteral("Gestiune utilizatori"), this);
    auto* inside = new QVBoxLayout(box);
    inside->addWidget(grid_);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {add_, modify_, remove_}) buttons->addWidget(b);
    buttons->addStretch(1);
    inside->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
}

void UsersPanel::load() {
    list_.build();
    reload();
}

void UsersPanel::unload() {
    model_->setQuery(db::Query());
    list_.drop();
}

void UsersPanel::reload(const QString& select) {
    model_->setQuery(list_.gridQuery());
    int row = 0;
    for (int r = 0; r < model_->rowCount(); ++r)
        if (model_->index(r, 0).data().toString().trimmed() == select) row = r;
    fitColumns(grid_, {32, 16, 32, 10, 9}); // NUME, GRAD, LEGIT, SERIA, NR
    if (model_->rowCount() > 0) grid_->setCurrentIndex(model_->index(row, 0));
}

QString UsersPanel::currentName() const {
    const QModelIndex at = grid_->currentIndex();
    if (!at.isValid()) return {};
    return model_->index(at.row(), 0).data().toString().trimmed();
}

void UsersPanel::AdaugareClick() {
    UserDialog dialog(list_, s_.messages(), nullptr, this);
    if (dialog.exec() != QDialog::Accepted) return;
    s_.messages().guard([&] {
        list_.Add(dialog.entry());
        reload(dialog.entry().name);
    });
}

void UsersPanel::ModificareClick() {
    const QString name = currentName();
    if (const QString why = list_.CannotModify(name); !why.isEmpty()) {
        s_.messages().ShowProblemHint(why, modify_);
        return;
    }
    UserListRow row;
    for (const UserListRow& r : list_.rows())
        if (r.name == name) row = r;
    UserDialog dialog(list_, s_.messages(), &row, this);
    if (dialog.exec() != QDialog::Accepted) return;
    s_.messages().guard([&] {
        list_.Modify(dialog.entry());
        reload(name);
    });
}

void UsersPanel::StergereClick() {
    const QString name = currentName();
    if (const QString why = list_.CannotDelete(name); !why.isEmpty()) {
        s_.messages().ShowProblemHint(why, remove_);
        return;
    }
    s_.messages().guard([&] {
        if (list_.Delete(name)) reload();
    });
}

} // namespace vartesa
