#include "shell/ui/message_window.h"

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QToolTip>
#include <QVBoxLayout>

namespace vartesa {

namespace {

// How long the balloon stays when nobody moves the mouse.
constexpr int kHintMilliseconds = 5000;

QStyle::StandardPixmap iconOf(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning:
        return QStyle::SP_MessageBoxWarning;
    case MessageKind::Information:
        return QStyle::SP_MessageBoxInformation;
    case MessageKind::Confirmation:
        return QStyle::SP_MessageBoxQuestion;
    case MessageKind::Error:
        break;
    }
    return QStyle::SP_MessageBoxCritical;
}

// Callers break lines with a carriage return (sometimes followed by a line feed).
QString displayedText(const QString& text) {
    QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    return lines.join(QLatin1Char('\n'));
}

} // namespace

MessageResult MessageWindow::ShowErrors(const QString& title, const QString& text,
                                        MessageKind kind, MessageButtons buttons) {
    const std::vector<MessageButton> shown = orderedButtons(buttons);
    if (shown.empty())
        return MessageResult::Renunt;

    QDialog dialog(parent_ ? parent_ : QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("ProblemWindow"));
    dialog.setWindowTitle(messageCaption(kind));
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    dialog.setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* heading = new QLabel(title.isEmpty() ? defaultMessageTitle() : title, &dialog);
    heading->setObjectName(QStringLiteral("Titlu"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    heading->setAlignment(Qt::AlignCenter);

    auto* icon = new QLabel(&dialog);
    icon->setPixmap(dialog.style()->standardIcon(iconOf(kind)).pixmap(32, 32));
    auto* message = new QLabel(displayedText(text), &dialog);
    message->setObjectName(QStringLiteral("Mesaj"));
    message->setAlignment(Qt::AlignCenter);
    message->setTextFormat(Qt::PlainText);

    auto* body = new QHBoxLayout;
    body->addWidget(icon, 0, Qt::AlignTop);
    body->addWidget(message, 1);

    auto* row = new QHBoxLayout;
    row->addStretch();
    for (MessageButton b : shown) {
        auto* button = new QPushButton(buttonCaption(b), &dialog);
        button->setObjectName(QStringLiteral("Buton") + buttonCaption(b));
        button->setAutoDefault(false);
        const int code = static_cast<int>(resultOf(b));
        QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, code] {
            dialog.done(code);
        });
        row->addWidget(button);
        row->addStretch();
    }

    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(heading);
    layout->addLayout(body);
    layout->addLayout(row);

    // Escape and the close box reject the dialog, which reads as RENUNT whatever the
    // buttons: callers treat anything but the expected answer as "stop".
    const int code = dialog.exec();
    return code == QDialog::Rejected ? MessageResult::Renunt : static_cast<MessageResult>(code);
}

void MessageWindow::ShowProblemHint(const QString& text, QObject* anchor) {
    auto* field = qobject_cast<QWidget*>(anchor);
    const QPoint where = field ? field->mapToGlobal(QPoint(10, 10)) : QCursor::pos();
    const QString balloon = QStringLiteral("<b>Problema !</b><br>") + text.toHtmlEscaped();
    QToolTip::showText(where, balloon, field, QRect(), kHintMilliseconds);
}

} // namespace vartesa
