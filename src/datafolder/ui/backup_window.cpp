#include "backup_window.h"
#include "shell/ui/window_looks.h"

#include "db/error.h"
#include "datafolder/backup.h"
#include "shell/services.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vartesa {

void ServeRepaints() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

QString ChooseArchiveFile(QWidget* parent, const QString& title, bool save, const QString& proposed) {
    QFileDialog dialog(parent, title);
    if (!proposed.isEmpty()) {
        dialog.setDirectory(QFileInfo(proposed).absolutePath());
        dialog.selectFile(QFileInfo(proposed).fileName());
    }
    dialog.setNameFilter(QStringLiteral("Arhiva Vartesa 2015 (*.vsa)"));
    dialog.setDefaultSuffix(QStringLiteral("vsa"));
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite); // the window asks its own question
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

TForm21::TForm21(Services& services, QWidget* parent)
    : QDialog(parent, DialogFlags()), s_(services),
      chooser_([this](const QString& title, bool save, const QString& proposed) {
          return ChooseArchiveFile(this, title, save, proposed);
      }),
      end_([] { QCoreApplication::exit(0); }),
      save_(new QPushButton(QStringLiteral("Salveaza baza de date"), this)),
      load_(new QPushButton(QStringLiteral("Restaureaza baza de date"), this)) {
    setObjectName(QStringLiteral("TForm21"));
    setWindowTitle(QStringLiteral("Salvare - Restaurare"));
    save_->setObjectName(QStringLiteral("SaveB"));
    load_->setObjectName(QStringLiteral("LoadB"));
    auto* cancel = new QPushButton(QStringLiteral("&Renunt"), this);
    cancel->setObjectName(QStringLiteral("RenuntBut"));
    for (QPushButton* b : {save_, load_, cancel}) {
        b->setAutoDefault(true); // Enter presses the button that has the focus
        b->setMinimumHeight(36);
    }
    connect(save_, &QPushButton::clicked, this, &TForm21::SaveP);
    connect(load_, &QPushButton::clicked, this, &TForm21::LoadP);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(QStringLiteral("Salvarea si restaurarea bazei de date"), this);
    heading->setAlignment(Qt::AlignCenter);
    layout->addWidget(heading);
    layout->addWidget(save_);
    layout->addWidget(load_);
    layout->addWidget(cancel);
    setMinimumWidth(360);
}

void TForm21::showWindow() { exec(); }

void TForm21::showEvent(QShowEvent* event) {
    load_->setEnabled(s_.IsAdministrator());
    save_->setFocus();
    QDialog::showEvent(event);
}

void TForm21::SaveP() {
    // The backup folder and today's name, as the automatic backup would write it.
    const QString path = chooser_(QStringLiteral("Unde salvam arhiva ?"), true, SuggestedArchivePath(s_));
    if (path.isEmpty()) return;
    if (QFileInfo::exists(path) &&
        !s_.messages().askYesNoDefaultNu(QStringLiteral("Atentionare"),
                                          QStringLiteral("Vreti sa inlocuiti salvarea ") + QDir::toNativeSeparators(path) + '?',
                                          MessageKind::Warning))
        return;
    // The old archive stays until the new one is complete: it is replaced, not deleted first.
    try {
        WriteArchive(s_, path, ExistingArchive::Replace, ServeRepaints);
    } catch (const Error& e) {
        reject();
        s_.messages().report(e);
        return;
    }
    accept();
}

void TForm21::LoadP() {
    if (!s_.IsAdministrator()) return;
    if (!s_.folders.isLocalMode()) {
        s_.messages().ShowErrors(QStringLiteral("Restaurare baza de date"),
                                 QStringLiteral("Utilizati o baza de date din retea!\rNu puteti face restaurarea!"),
                                 MessageKind::Error, MessageButton::Ok);
        return;
    }
    if (!s_.messages().askYesNoDefaultNu(QStringLiteral("Restaurare date"),
                                          QStringLiteral("ATENTIE!\rPrin restaurare se pierd datele existente! Continuam?"),
                                          MessageKind::Warning))
        return;
    const QString path = chooser_(QStringLiteral("Indicati salvarea precedenta Vartesa 2015"), false, {});
    if (path.isEmpty()) return;
    if (!QFileInfo::exists(path)) {
        s_.messages().ShowErrors(QStringLiteral("Eroare"),
                                 QStringLiteral("Salvarea ") + QDir::toNativeSeparators(path) + QStringLiteral(" nu exista !"),
                                 MessageKind::Error, MessageButton::Ok);
        return;
    }
    if (!ArchiveSealed(path) &&
        !s_.messages().askYesNoDefaultNu(QStringLiteral("Restaurare date"),
                                         UnsealedArchiveWarning() + QStringLiteral("\rContinuam?"), MessageKind::Warning))
        return;
    try {
        RestoreDatabase(s_, path, ServeRepaints);
    } catch (const Error& e) {
        // The archive was read through before anything was replaced: the database is intact.
        s_.messages().ShowErrors(QStringLiteral("Restaurare date"),
                                 QStringLiteral("Restaurarea nu s-a facut!\r") + e.text() +
                                     QStringLiteral("\rBaza de date a ramas neschimbata."),
                                 MessageKind::Error, MessageButton::Ok);
        return;
    }
    accept();
    s_.messages().ShowErrors(QStringLiteral("Informatie"),
                             QStringLiteral("Restaurare incheiata cu succes !\r\nVa rog sa porniti programul din nou !") +
                                 QStringLiteral("\r\nFisierele de dinainte de restaurare sunt pastrate in ") +
                                 QDir::toNativeSeparators(KeptDataFolder(s_.folders.defaultData)),
                             MessageKind::Information, MessageButton::Ok);
    end_();
}

} // namespace vartesa
