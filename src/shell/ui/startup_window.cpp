#include "shell/ui/startup_window.h"

#include "shell/version.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace vartesa {

StartupWindow::StartupWindow(QWidget* parent)
    : QWidget(parent), version_(new QLabel(kVersionString, this)),
      purpose_(new QLabel(QStringLiteral("Evidenta taxelor si impozitelor locale."), this)),
      status_(new QLabel(QStringLiteral("Incarcare date"), this)), bar_(new QProgressBar(this)) {
    setObjectName(QStringLiteral("StartupWindow"));
    setWindowTitle(kApplicationTitle);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setCursor(Qt::WaitCursor);
    setStyleSheet(QStringLiteral("QWidget#StartupWindow{border:1px solid #404040;}"));
    bar_->setObjectName(QStringLiteral("ProgressBar"));
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    version_->setObjectName(QStringLiteral("VersionLabel"));
    purpose_->setObjectName(QStringLiteral("PurposeLabel"));
    status_->setObjectName(QStringLiteral("StatusLabel"));

    QFont big = version_->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.6);
    version_->setFont(big);
    for (QLabel* label : {version_, purpose_, status_})
        label->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 24);
    layout->addWidget(version_);
    layout->addWidget(purpose_);
    layout->addSpacing(12);
    layout->addWidget(status_);
    layout->addWidget(bar_);
    setFixedWidth(420);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void StartupWindow::setStatus(const QString& text) {
    status_->setText(text);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void StartupWindow::advance(int step) {
    bar_->setValue(std::min(100, bar_->value() + step));
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

int StartupWindow::progress() const { return bar_->value(); }

void StartupWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!work_) return;
    // A window shown minimised gets a second show event; only the first timer runs the work.
    QTimer::singleShot(1000, this, [this] {
        if (!work_) return;
        const auto work = std::move(work_);
        work_ = nullptr;
        work();
    });
}

} // namespace vartesa
