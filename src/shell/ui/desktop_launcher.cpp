#include "shell/ui/desktop_launcher.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QUrl>

namespace vartesa {

namespace {

// The desktop file xdg-mime names for a kind of file; empty when it names none or cannot
// be asked.
QString xdgDefaultApplication(const QString& mimeType) {
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!query.waitForFinished(5000) || query.exitCode() != 0) {
        query.kill();
        return {};
    }
    return QString::fromUtf8(query.readAllStandardOutput()).trimmed();
}

} // namespace

DesktopLauncher::DesktopLauncher()
    : DesktopLauncher(System{xdgDefaultApplication, [](const QUrl& url) { return QDesktopServices::openUrl(url); }}) {}

DesktopLauncher::DesktopLauncher(System system) : system_(std::move(system)) {}

bool DesktopLauncher::openFile(const QString& path) {
    // A missing file would open an empty application window, or an error of the desktop
    // the clerk cannot act on; report it to the caller instead.
    const QFileInfo file(path);
    if (!file.isFile()) return false;
    const QString mimeType = QMimeDatabase().mimeTypeForFile(file).name();
    if (!system_.defaultApplication(mimeType).isEmpty() && system_.openUrl(QUrl::fromLocalFile(file.absoluteFilePath())))
        return true;
    if (!messages_) return false;
    if (messages_->askYesNo(QStringLiteral("Deschidere fisier"),
                            QStringLiteral("Fisierul a fost salvat in ") + QDir::toNativeSeparators(file.absoluteFilePath()) +
                                QStringLiteral("\rPe acest calculator niciun program nu deschide fisierele de acest fel."
                                               "\rDeschidem directorul in care este?"),
                            MessageKind::Information))
        system_.openUrl(QUrl::fromLocalFile(file.absolutePath()));
    return true;
}

} // namespace vartesa
