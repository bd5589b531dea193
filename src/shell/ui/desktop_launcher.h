#pragma once
// The desktop's "open" action (xdg-open on Linux) for filled documents and lists. On a
// machine where no program opens files of that kind (a fresh installation opening its first
// Rap0.xls or Chit0.pdf), the clerk is told where the file was written and may open its folder.

#include "shell/services.h"

#include <functional>

class QUrl;

namespace vartesa {

class DesktopLauncher final : public Desktop {
public:
    /// What the launcher asks of the desktop; the real one by default, a scripted one in tests.
    struct System {
        /// The program the desktop opens files of `mimeType` with; empty when none.
        std::function<QString(const QString& mimeType)> defaultApplication;
        /// Hands `url` (a file or a folder) to the desktop; false when it could not.
        std::function<bool(const QUrl& url)> openUrl;
    };

    DesktopLauncher();
    explicit DesktopLauncher(System system);

    /// Where the launcher tells the clerk about a file no program opens; none: it only
    /// answers false.
    void setMessages(Messages* messages) { messages_ = messages; }

    bool openFile(const QString& path) override;

private:
    System system_;
    Messages* messages_ = nullptr;
};

} // namespace vartesa
