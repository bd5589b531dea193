#include "shell/ui/message_window.h"
#include "shell/ui/window_looks.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QCursor>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace vartesa {

namespace {

constexpr int kHintMilliseconds = 5000; // the balloon closes by itself after this
constexpr int kHintWidth = 300;

QStyle::StandardPixmap iconOf(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning: return QStyle::SP_MessageBoxWarning;
    case MessageKind::Information: return QStyle::SP_MessageBoxInformation;
    case MessageKind::Confirmation: return QStyle::SP_MessageBoxQuestion;
    case MessageKind::Error: break;
    }
    return QStyle::SP_MessageBoxCritical;
}

// Colour of the heading band: red for errors, amber for warnings, blue otherwise.
QString bandColour(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning: return QStringLiteral("#b36b00");
    case MessageKind::Information: return QStringLiteral("#1f5fa8");
    case MessageKind::Confirmation: return QStringLiteral("#2d6a2d");
    case MessageKind::Error: break;
    }
    return QStringLiteral("#a32020");
}

} // namespace

std::vector<MessageLine> messageLines(const QString& text) {
    std::vector<MessageLine> lines;
    bool bold = false;
    for (QString line : text.split('\r')) {
        if (line.startsWith('\n')) line.remove(0, 1); // CR LF breaks
        const bool on = line.contains(QChar(1)), off = line.contains(QChar(2));
        if (on) bold = true;
        const bool boldHere = off && !on ? false : bold; // "\1text\2" makes one bold line
        if (off) bold = false;
        line.remove(QChar(1)).remove(QChar(2));
        lines.push_back({line, boldHere});
    }
    return lines;
}

std::vector<int> buttonPositions(int count) {
    std::vector<int> left;
    if (count <= 0) return left;
    const int gap = (kButtonArea - kButtonWidth * count) / (count + 1);
    for (int k = 1; k <= count; ++k) left.push_back(k * gap + (k - 1) * kButtonWidth);
    return left;
}

MessageResult MessageWindow::ShowErrors(const QString& title, const QString& text, MessageKind kind,
                                        MessageButtons buttons) {
    const std::vector<MessageButton> shown = orderedButtons(buttons);
    if (shown.empty()) return MessageResult::Renunt;
    return ShowErrorsEnterOn(title, text, kind, buttons, shown.front());
}

MessageResult MessageWindow::ShowErrorsEnterOn(const QString& title, const QString& text, MessageKind kind,
                                               MessageButtons buttons, MessageButton enterButton) {
    const std::vector<MessageButton> shown = orderedButtons(buttons);
    if (shown.empty()) return MessageResult::Renunt;
    if (!buttons.testFlag(enterButton)) enterButton = shown.front();

    QDialog dialog(parent_ ? parent_ : QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("ProblemWindow"));
    dialog.setWindowTitle(messageCaption(kind));
    dialog.setWindowFlags(DialogFlags() | Qt::WindowStaysOnTopHint);

    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 10);
    layout->setSpacing(4);

    auto* heading = new QLabel(title.isEmpty() ? defaultMessageTitle() : title, &dialog);
    heading->setObjectName(QStringLiteral("Titlu"));
    heading->setAlignment(Qt::AlignCenter);
    heading->setStyleSheet(QStringLiteral("background:%1;color:white;font-weight:bold;padding:6px;").arg(bandColour(kind)));
    layout->addWidget(heading);

    auto* icon = new QLabel(&dialog);
    icon->setObjectName(QStringLiteral("Icon"));
    icon->setPixmap(dialog.style()->standardIcon(iconOf(kind)).pixmap(32, 32));
    icon->setAlignment(Qt::AlignCenter);
    layout->addWidget(icon);

    int index = 0;
    for (const MessageLine& line : messageLines(text)) {
        auto* label = new QLabel(line.text, &dialog);
        label->setObjectName(QStringLiteral("Linie%1").arg(index++));
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        QFont f = label->font();
        f.setBold(line.bold);
        label->setFont(f);
        layout->addWidget(label);
    }

    // The buttons sit at fixed places on a band as wide as the window's button area.
    auto* band = new QWidget(&dialog);
    band->setObjectName(QStringLiteral("Butoane"));
    band->setFixedSize(kButtonArea, 30);
    const std::vector<int> left = buttonPositions(int(shown.size()));
    for (size_t i = 0; i < shown.size(); ++i) {
        auto* button = new QPushButton(buttonCaption(shown[i]), band);
        button->setObjectName(QStringLiteral("Buton") + buttonCaption(shown[i]));
        button->setGeometry(left[i], 2, kButtonWidth, 25);
        // The focused button answers Enter (a clerk who tabs to NU means NU); the window
        // opens with the focus on the Enter button.
        button->setAutoDefault(true);
        button->setDefault(shown[i] == enterButton);
        if (shown[i] == enterButton) button->setFocus();
        const int code = static_cast<int>(resultOf(shown[i]));
        QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, code] { dialog.done(code); });
    }
    layout->addSpacing(6);
    layout->addWidget(band, 0, Qt::AlignHCenter);
    dialog.setFixedWidth(kButtonArea + 8);
    dialog.adjustSize();
    dialog.setFixedSize(dialog.size()); // nothing to enlarge: no maximise button either
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        dialog.move(screen->availableGeometry().center() - dialog.rect().center());

    // Escape and the close box reject the dialog, which reads as RENUNT whatever the buttons.
    const int code = dialog.exec();
    return code == QDialog::Rejected ? MessageResult::Renunt : static_cast<MessageResult>(code);
}

ProblemHint::ProblemHint(const QString& text, QWidget* anchor)
    : QFrame(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("ProblemHint"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFrameShape(QFrame::Box);
    setStyleSheet(QStringLiteral("QFrame#ProblemHint{background:#fffbe6;border:1px solid #806000;}"));
    setFixedWidth(kHintWidth);
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(QStringLiteral("Problema !"), this);
    title->setObjectName(QStringLiteral("HintTitle"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(16, 16));
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(title, 1);
    layout->addLayout(top);
    auto* body = new QLabel(text, this);
    body->setObjectName(QStringLiteral("HintText"));
    body->setTextFormat(Qt::PlainText);
    body->setWordWrap(true);
    layout->addWidget(body);
    adjustSize();
    move(anchor ? anchor->mapToGlobal(QPoint(10, 10)) : QCursor::pos());
    window_ = anchor ? anchor->window() : nullptr;
    QTimer::singleShot(kHintMilliseconds, this, &QWidget::close);
    qApp->installEventFilter(this); // sees every window shown or hidden while it is up
}

bool ProblemHint::eventFilter(QObject* watched, QEvent* event) {
    const bool anchorGone = watched == window_ && (event->type() == QEvent::Hide || event->type() == QEvent::Close);
    bool modalOpens = false;
    if (event->type() == QEvent::Show && watched != this && watched->isWidgetType()) {
        const auto* w = static_cast<QWidget*>(watched);
        modalOpens = w->isWindow() && w->isModal();
    }
    if (anchorGone || modalOpens) QTimer::singleShot(0, this, &QWidget::close);
    return QFrame::eventFilter(watched, event);
}

void MessageWindow::ShowProblemHint(const QString& text, QObject* anchor) {
    auto* field = qobject_cast<QWidget*>(anchor);
    // A field scrolled out of sight is brought into view first, so the balloon stands beside
    // it and not somewhere over the page.
    for (QWidget* w = field ? field->parentWidget() : nullptr; w; w = w->parentWidget())
        if (auto* area = qobject_cast<QScrollArea*>(w); area && area->widget() && area->widget()->isAncestorOf(field))
            area->ensureWidgetVisible(field);
    if (field) field->setFocus(Qt::OtherFocusReason);
    auto* hint = new ProblemHint(text, field);
    hint->show();
}

} // namespace vartesa
