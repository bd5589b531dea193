#include "shell/ui/desktop_launcher.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace vartesa {

bool DesktopLauncher::openFile(const QString& path) {
    // A missing file would open an empty application window, or an error of the desktop
    // the clerk cannot act on; report it to the caller instead.
    if (!QFileInfo(path).isFile())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

} // namespace vartesa
