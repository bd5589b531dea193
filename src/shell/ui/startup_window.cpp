#include "shell/ui/startup_window.h"

#include "shell/version.h"

#include <QLabel>
#include <QVBoxLayout>

namespace vartesa {

StartupWindow::StartupWindow(QWidget* parent)
    : QWidget(parent), version_(new QLabel(kVersionString, this)),
      purpose_(new QLabel(QStringLiteral("Evidenta taxelor si impozitelor locale."), this)),
      status_(new QLabel(QStringLiteral("Incarcare date"), this)) {
    setObjectName(QStringLiteral("StartupWindow"));
    setWindowTitle(kApplicationTitle);
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
}

void StartupWindow::setStatus(const QString& text) { status_->setText(text); }

} // namespace vartesa
