#include "datafolder/ui/register_import_window.h"

#include "datafolder/backup.h"
#include "shell/action_log.h"
#include "shell/counters.h"
#include "shell/file_helpers.h"
#include "shell/services.h"
#include "shell/startup.h"
#include "shell/ui/window_looks.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vartesa {

TRA2015Sel::TRA2015Sel(Services& services, QWidget* parent)
    : QDialog(parent, DialogFlags()), s_(services), year_(new QLabel(this)), positions_(new QLabel(this)),
      land_(new QCheckBox(QStringLiteral("Preia terenurile"), this)),
      buildings_(new QCheckBox(QStringLiteral("Preia constructiile"), this)) {
    setObjectName(QStringLiteral("TRA2015Sel"));
    setWindowTitle(QStringLiteral("Preluare Date RA 2015"));
    year_->setObjectName(QStringLiteral("AnulL"));
    positions_->setObjectName(QStringLiteral("NrPozL"));
    land_->setObjectName(QStringLiteral("TerenCB"));
    buildings_->setObjectName(QStringLiteral("CladCB"));
    auto* take = new QPushButton(QStringLiteral("&Preia"), this);
    take->setObjectName(QStringLiteral("PreiaB"));
    auto* cancel = new QPushButton(QStringLiteral("&Renunt"), this);
    cancel->setObjectName(QStringLiteral("RenuntB"));
    take->setDefault(true);
    connect(take, &QPushButton::clicked, this, &TRA2015Sel::PreiaClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(QStringLiteral("Alegeti ce vreti sa preluati din RA 2015"), this);
    heading->setAlignment(Qt::AlignCenter);
    layout->addWidget(heading);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Anul preluat din RA 2015:"), this), 0, 0);
    grid->addWidget(year_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Numar de pozitii de preluat"), this), 1, 0);
    grid->addWidget(positions_, 1, 1);
    layout->addLayout(grid);
    layout->addWidget(land_);
    layout->addWidget(buildings_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(take);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
}

void TRA2015Sel::reset(int year, int positions) {
    year_->setText(QString::number(year));
    positions_->setText(QString::number(positions));
    land_->setChecked(true);
    buildings_->setChecked(true);
}

RegisterChoice TRA2015Sel::choice() const { return {land_->isChecked(), buildings_->isChecked()}; }

void TRA2015Sel::PreiaClick() {
    if (!land_->isChecked() && !buildings_->isChecked()) {
        s_.messages().ShowProblemHint(QStringLiteral("Nu ati selectat nimic!"), land_);
        return;
    }
    accept();
}

QString ChooseRegisterBackup(QWidget* parent) {
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Incarcare din Registrul Agricol 2015"), QString(),
                                        QStringLiteral("Salvare Registru Agricol (*.rg2)"));
}

bool PreluareRA1Click(Services& services, TRA2015Sel& choice, const RegisterImportScreens& screens) {
    const QString file = screens.chooseFile ? screens.chooseFile() : QString();
    if (file.isEmpty()) return false;
    const QString folder = RegisterUnpackFolder(services);
    struct Removed {
        QString folder;
        ~Removed() { DeleteFolder(folder); }
    } removed{folder};
    Messages& messages = services.messages();
    Progress& progress = services.progress();
    try {
        RegisterCopy copy;
        {
            ProgressShown shown(progress, QStringLiteral("Despachetare baza de date..."));
            UnpackRegisterBackup(file, folder, {&progress, screens.pump});
            progress.Describe(QStringLiteral("Pregatire baza..."));
            copy = ReadRegisterCopy(folder, DataFolderYear(services.counters()));
        }
        if (copy.positions() == 0) {
            messages.showError(QStringLiteral("Preluare date"), EmptyRegisterText());
            return false;
        }
        choice.reset(copy.year, copy.positions());
        if (!(screens.confirm ? screens.confirm(choice) : choice.exec() == QDialog::Accepted)) return false;
        if (const QString problem = DuplicateProblem(copy); !problem.isEmpty()) {
            messages.showError(QStringLiteral("Problema in baza RA"), problem);
            return false;
        }
        if (screens.closeRoles) screens.closeRoles();
        ImportRegister(services, copy, choice.choice(), progress);
        services.actionLog().LogAction(QStringLiteral("X"), QStringLiteral("Preluare date din salvare RA2015."));
        messages.showInformation(QStringLiteral("Preluare date"), QStringLiteral("Preluarea s-a incheiat cu succes !"));
        if (screens.reopenRoles) screens.reopenRoles();
        return true;
    } catch (const RegisterRefused& e) {
        messages.showError(e.title, e.text());
    } catch (const Error& e) {
        messages.showError(QStringLiteral("Preluare date RA 2015"), QStringLiteral("Preluare esuata !\r") + e.text());
    }
    return false;
}

} // namespace vartesa
