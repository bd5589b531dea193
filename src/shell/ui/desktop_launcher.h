#pragma once
// The desktop's "open" action (xdg-open on Linux) for filled documents and lists.

#include "shell/services.h"

namespace vartesa {

class DesktopLauncher final : public Desktop {
public:
    bool openFile(const QString& path) override;
};

} // namespace vartesa
