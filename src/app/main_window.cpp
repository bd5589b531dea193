#include "app/main_window.h"

#include "db/error.h"
#include "shell/counters.h"
#include "admin/template_editing.h"
#include "shell/ui/account_dialog.h"
#include "shell/ui/enter_navigation.h"
#include "shell/ui/single_instance.h"
#include "shell/ui/upper_case.h"
#include "shell/version.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>

namespace vartesa {

namespace {

const QString kIncasari = QStringLiteral("Incasari");
const QString kRegistruCasa = QStringLiteral("RegistruCasa");
const QString kGospodarii = QStringLiteral("Gospodarii");
const QString kListe = QStringLiteral("Liste");
const QString kAdministrare = QStringLiteral("Administrare");
const QString kUtilitare = QStringLiteral("Utilitare");
const QString kIesire = QStringLiteral("Iesire");
constexpr int kTitleAllowance = 30; // a title bar the window manager has not drawn yet
constexpr int kFrameAllowance = 6;  // the bottom edge of a frame

} // namespace

TForm3::TForm3(Services& services, QWidget* parent)
    : QMainWindow(parent), s_(services), session_(services), dailyImport_(services) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(kVersionString);

    auto* strip = new QWidget(this);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(6, 4, 6, 4);
    loginPanel_ = buildLoginPanel();
    toolBar_ = buildToolBar();
    toolBar_->hide();
    dateLabel_ = new QLabel(strip);
    dateLabel_->setObjectName(QStringLiteral("DataLabel"));
    dateLabel_->setCursor(Qt::PointingHandCursor);
    dateLabel_->installEventFilter(this);
    row->addWidget(loginPanel_);
    row->addWidget(toolBar_);
    row->addStretch(1);
    row->addWidget(dateLabel_);
    setCentralWidget(strip);

    auto* status = new QLabel(QStringLiteral("F1 - Incasari"), this);
    status->setObjectName(QStringLiteral("StatusLine"));
    statusBar()->addWidget(status);
    statusBar()->setSizeGripEnabled(false);

    buildUtilitiesMenu();
    buildListsMenu();
    refreshEnabled();

    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, [this] {
        if (isLoggedIn() && buttons_[kIncasari]->isEnabled()) buttons_[kIncasari]->click();
    });
    connect(new QShortcut(QKeySequence(Qt::Key_F2), this), &QShortcut::activated, this, [this] {
        if (isLoggedIn()) buttons_[kListe]->click();
    });

    adjustSize();
    placeAtTop();
    qApp->installEventFilter(this); // dialogs opening anywhere are kept below the strip
}

void TForm3::placeAtTop() {
    // A strip as wide as the screen, at its top, title bar included: the frame, not the
    // client area, starts at the top edge (move() places the frame of a window).
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const int frameSides = frameGeometry().width() - width(); // 0 until the frame is known
    resize(area.width() - frameSides, sizeHint().height());
    move(area.topLeft());
}

TForm3::~TForm3() = default;

QWidget* TForm3::buildLoginPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("LoginPanel"));
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    nameEdit_ = new QLineEdit(QStringLiteral("ADMIN"), panel);
    nameEdit_->setObjectName(QStringLiteral("NumeEd"));
    makeUpperCase(nameEdit_, 32);
    passwordEdit_ = new QLineEdit(panel);
    passwordEdit_->setObjectName(QStringLiteral("ParolaEd"));
    makeUpperCase(passwordEdit_, 32);
    passwordEdit_->setEchoMode(QLineEdit::Password);
    passwordEdit_->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    startButton_ = new QPushButton(QStringLiteral("START"), panel);
    startButton_->setObjectName(QStringLiteral("StartBut"));
    startButton_->setAutoDefault(false);
    row->addWidget(new QLabel(QStringLiteral("Numele"), panel));
    row->addWidget(nameEdit_);
    row->addWidget(new QLabel(QStringLiteral("Parola"), panel));
    row->addWidget(passwordEdit_);
    row->addWidget(startButton_);
    connect(startButton_, &QPushButton::clicked, this, &TForm3::StartButClick);
    EnterNavigation::install({nameEdit_, passwordEdit_}, startButton_);
    return panel;
}

QPushButton* TForm3::toolButton(const QString& name, const QString& caption, const QString& hint) {
    auto* button = new QPushButton(caption, toolBar_);
    button->setObjectName(name + QStringLiteral("But"));
    button->setToolTip(hint);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::TabFocus);
    toolBar_->layout()->addWidget(button);
    buttons_.insert(name, button);
    return button;
}

QWidget* TForm3::buildToolBar() {
    toolBar_ = new QWidget(this);
    toolBar_->setObjectName(QStringLiteral("ToolButtons"));
    new QHBoxLayout(toolBar_);
    toolBar_->layout()->setContentsMargins(0, 0, 0, 0);
    connect(toolButton(kIncasari, QStringLiteral("Incasari"),
                       QStringLiteral("Incasari: alegeti un ROL, vedeti platile si adaugati o plata noua.")),
            &QPushButton::clicked, this, &TForm3::IncasariClick);
    connect(toolButton(kRegistruCasa, QStringLiteral("Registru de Casa"), QStringLiteral("Registrul de casa pe conturi.")),
            &QPushButton::clicked, this, &TForm3::RegistruCasaClick);
    connect(toolButton(kGospodarii, QStringLiteral("Gospodarii -Roluri-"), QStringLiteral("Adaugare numere de ROL.")),
            &QPushButton::clicked, this, &TForm3::GospodariiClick);
    connect(toolButton(kListe, QStringLiteral("Liste si Formulare"), QStringLiteral("Diverse rapoarte.")),
            &QPushButton::clicked, this, &TForm3::ListeClick);
    connect(toolButton(kAdministrare, QStringLiteral("Administrare"), QStringLiteral("Administrare program.")),
            &QPushButton::clicked, this, &TForm3::AdministrareClick);
    connect(toolButton(kUtilitare, QStringLiteral("Utilitare"), QStringLiteral("Utilitare program.")),
            &QPushButton::clicked, this, &TForm3::UtilitareClick);
    connect(toolButton(kIesire, QStringLiteral("Iesire"), QStringLiteral("Inchide programul.")), &QPushButton::clicked,
            this, &TForm3::IesireClick);
    return toolBar_;
}

void TForm3::attach(const QString& name, std::function<void()> open) {
    screens_.insert(name, std::move(open));
    refreshEnabled();
}

QAction* TForm3::action(const QString& name) const {
    for (QMenu* menu : {utilitiesMenu_, listsMenu_})
        if (auto* found = menu->findChild<QAction*>(name)) return found;
    return nullptr;
}

QAction* TForm3::entry(QMenu* menu, const QString& name, const QString& caption) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, [this, name] { openScreen(name); });
    return a;
}

namespace {

// A disabled entry says why, on the status line and beside the pointer.
void explain(QAction* a, const QString& whyDisabled) {
    const QString tip = a->isEnabled() ? QString() : whyDisabled;
    a->setStatusTip(tip);
    a->setToolTip(tip.isEmpty() ? a->text().remove(QLatin1Char('&')) : tip);
}

const QString kNotInThisRelease = QStringLiteral("Optiune indisponibila in aceasta versiune a programului");
const QString kAdministratorsOnly = QStringLiteral("Optiune rezervata administratorului");

} // namespace

void TForm3::refreshEnabled() {
    for (const QString& name : {kIncasari, kRegistruCasa, kGospodarii})
        buttons_[name]->setEnabled(isAttached(name));
    for (QMenu* menu : {utilitiesMenu_, listsMenu_}) {
        for (QAction* a : menu->findChildren<QAction*>()) {
            if (a->objectName().isEmpty() || a->menu()) continue;
            a->setEnabled(isAttached(a->objectName()));
            explain(a, kNotInThisRelease);
        }
    }
    UtilitareMenuPopup();
}

void TForm3::UtilitareMenuPopup() {
    for (const char* adminOnly : {"Verificarebaze1", "PreluareRA1"})
        if (QAction* a = action(QString::fromLatin1(adminOnly))) {
            a->setEnabled(isAttached(a->objectName()) && s_.IsAdministrator());
            explain(a, isAttached(a->objectName()) ? kAdministratorsOnly : kNotInThisRelease);
        }
}

void TForm3::applyRights() {
    const Rights r = RightsOf(s_.grade);
    buttons_[kAdministrare]->setVisible(r.administrare);
    buttons_[kGospodarii]->setVisible(r.roleRegister);
    action(QStringLiteral("SalvareRestaurare1"))->setVisible(r.backupRestore);
    action(QStringLiteral("Verificarebaze1"))->setVisible(r.verification);
    action(QStringLiteral("PreluareRA1"))->setVisible(r.registerImport);
    refreshEnabled();
}

bool TForm3::isLoggedIn() const { return !toolBar_->isHidden(); }

void TForm3::showLoginPanel() {
    toolBar_->hide();
    loginPanel_->show();
    dateLabel_->setText(s_.clock().today().toString(QStringLiteral("dd.MM.yyyy")));
    passwordEdit_->setFocus();
}

void TForm3::comeForward() { bringWindowForward(this); }

void TForm3::openScreen(const QString& name) {
    const auto found = screens_.constFind(name);
    if (found != screens_.constEnd() && *found) s_.messages().guard(*found);
    // The screen was modal: once it closes the window manager may leave no window active,
    // and F1/F2 would then do nothing until the clerk clicks the strip.
    if (isVisible()) {
        activateWindow();
        setFocus();
    }
}

void TForm3::StartButClick() {
    QString name = nameEdit_->text();
    LoginResult result = LoginResult::Refused;
    const bool answered = s_.messages().guard([&] { result = session_.Login(name, passwordEdit_->text()); });
    nameEdit_->setText(name);
    if (result == LoginResult::EndProgram) {
        close();
        return;
    }
    if (result != LoginResult::LoggedIn) {
        // Without a word the clerk cannot tell a typing slip from a program that hangs; the
        // text does not say which of the two was wrong.
        if (answered) {
            s_.messages().ShowProblemHint(QStringLiteral("Numele sau parola nu sunt corecte!"), passwordEdit_);
            passwordEdit_->setFocus();
            passwordEdit_->selectAll();
        }
        return;
    }
    loginPanel_->hide();
    toolBar_->show();
    applyRights();
    setWindowTitle(kVersionString + QStringLiteral("  >> ") + s_.user);
    dateLabel_->setText(s_.clock().today().toString(QStringLiteral("dd.MM.yyyy")));
    setFocus();
    emit loggedIn();
}

void TForm3::IesireClick() {
    session_.Logout();
    setWindowTitle(kVersionString);
    passwordEdit_->clear();
    showLoginPanel();
}

void TForm3::IncasariClick() { openScreen(kIncasari); }

void TForm3::RegistruCasaClick() { openScreen(kRegistruCasa); }

void TForm3::GospodariiClick() {
    if (YearLocked(s_.counters())) {
        s_.messages().showError(QStringLiteral("An inchis"), QStringLiteral("Nu mai puteti accesa datele de anul trecut!"));
        return;
    }
    openScreen(kGospodarii);
}

void TForm3::ListeClick() {
    QPushButton* b = buttons_[kListe];
    listsMenu_->popup(b->mapToGlobal(QPoint(0, b->height())));
}

void TForm3::UtilitareClick() {
    QPushButton* b = buttons_[kUtilitare];
    utilitiesMenu_->popup(b->mapToGlobal(QPoint(0, b->height())));
}

void TForm3::AdministrareClick() {
    if (!s_.IsAdministrator()) {
        s_.messages().ShowProblemHint(QStringLiteral("Nu aveti treaba aici."), buttons_[kAdministrare]);
        return;
    }
    openScreen(kAdministrare);
}

void TForm3::ContulMeuClick() {
    AccountDialog dialog(s_.userPassword, s_.userCard, s_.messages(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    s_.messages().guard([&] { session_.ChangeAccount(dialog.password(), dialog.card()); });
}

void TForm3::ModelEdit(const QString& file) {
    s_.messages().guard([&] { EditTemplate(s_, file); });
}

void TForm3::closeEvent(QCloseEvent* event) {
    if (!closing_) {
        closing_ = true;
        // A backup that failed keeps the window open: the clerk sees why and may try again
        // before the program ends.
        if (beforeClose_ && !s_.messages().guard(beforeClose_)) {
            closing_ = false;
            event->ignore();
            return;
        }
        emit closed();
    }
    event->accept();
}

void TForm3::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The window manager's frame is known only once the window is up.
    QTimer::singleShot(0, this, &TForm3::placeAtTop);
    dateLabel_->setText(s_.clock().today().toString(QStringLiteral("dd.MM.yyyy")));
    if (!importStarted_) {
        importStarted_ = true;
        dailyImport_.start();
    }
}

void TForm3::keepBelowStrip(QWidget* window) {
    const QScreen* screen = window->screen();
    if (!screen || !isVisible() || isMinimized()) return;
    const QRect area = screen->availableGeometry();
    const int stripBottom = frameGeometry().bottom() + 1;
    // Before the window manager has framed the window its title bar is not counted yet.
    const int shownTitle = window->geometry().top() - window->frameGeometry().top();
    const int title = shownTitle > 0 ? shownTitle : kTitleAllowance;
    const int room = area.bottom() + 1 - stripBottom - title - kFrameAllowance;
    QSize frame = window->size() + QSize(2 * kFrameAllowance, title + kFrameAllowance);
    // Where the dialog would open: centred over its window, as Qt places it (its own
    // placement runs after this, and only for a dialog nobody has moved).
    QPoint at = window->frameGeometry().topLeft();
    if (!window->testAttribute(Qt::WA_Moved)) {
        const QWidget* over = window->parentWidget() ? window->parentWidget()->window() : nullptr;
        const QRect base = over && over->isVisible() ? over->frameGeometry() : area;
        at = base.center() - QPoint(frame.width() / 2, frame.height() / 2);
    }
    if (at.y() >= stripBottom && at.y() + frame.height() <= area.bottom() + 1) return;
    if (window->height() > room) {
        window->resize(window->width(), std::max(room, window->minimumHeight()));
        frame.setHeight(window->height() + title + kFrameAllowance);
    }
    at.setY(std::clamp(at.y(), stripBottom, std::max(stripBottom, area.bottom() + 1 - frame.height())));
    at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - frame.width())));
    window->move(at);
}

bool TForm3::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched != this && watched->isWidgetType()) {
        auto* window = static_cast<QWidget*>(watched);
        if (window->isWindow() && qobject_cast<QDialog*>(window)) keepBelowStrip(window);
    }
    if (watched == dateLabel_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        close();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace vartesa
