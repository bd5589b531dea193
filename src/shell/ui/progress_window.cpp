#include "shell/ui/progress_window.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QProgressDialog>
#include <QScreen>

namespace vartesa {

namespace {
constexpr int kDefaultMaximum = 100;
}

ProgressWindow::ProgressWindow(QWidget* parent)
    : dialog_(std::make_unique<QProgressDialog>(parent)) {
    dialog_->setObjectName(QStringLiteral("Contor"));
    dialog_->setWindowTitle(QStringLiteral("Contor"));
    dialog_->setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setCancelButton(nullptr);
    // The caller decides when the window goes; reaching the maximum must not hide it.
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->setMinimumDuration(0);
    dialog_->setRange(0, kDefaultMaximum);
    dialog_->reset();
    dialog_->hide();
}

ProgressWindow::~ProgressWindow() = default;

void ProgressWindow::Arata(const QString& title) {
    // The window that started the work waits, disabled, until it is done.
    QWidget* active = QApplication::activeWindow();
    if (!owner_ && active && active != dialog_.get()) {
        owner_ = active;
        owner_->setEnabled(false);
    }
    dialog_->setLabelText(title);
    dialog_->setValue(0);
    dialog_->show();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        dialog_->move(screen->availableGeometry().center() - dialog_->rect().center());
    // One hourglass per showing, however often Arata is called before Distruge.
    if (!busy_)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    busy_ = true;
    QApplication::processEvents();
}

void ProgressWindow::Describe(const QString& text) {
    dialog_->setLabelText(text);
    dialog_->setValue(0);
    QApplication::processEvents();
}

void ProgressWindow::SetMaximum(int maximum) {
    dialog_->setMaximum(maximum > 0 ? maximum : kDefaultMaximum);
}

void ProgressWindow::Step(int n) {
    dialog_->setValue(qMin(dialog_->value() + n, dialog_->maximum()));
    // The work runs on the interface thread: let the window repaint between steps.
    QApplication::processEvents();
}

void ProgressWindow::Distruge() {
    dialog_->hide();
    dialog_->setMaximum(kDefaultMaximum);
    if (busy_)
        QApplication::restoreOverrideCursor();
    busy_ = false;
    if (owner_) {
        owner_->setEnabled(true);
        if (owner_->isVisible()) owner_->setFocus();
        owner_ = nullptr;
    }
}

} // namespace vartesa
