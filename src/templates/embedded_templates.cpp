#include "templates/embedded_templates.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares the registration function in the scope it is used in, so it
// runs from the global namespace.
static void registerTemplateResources() { Q_INIT_RESOURCE(templates); }

namespace vartesa {

void LoadEmbeddedTemplates() {
    static const bool loaded = (registerTemplateResources(), true);
    (void)loaded;
}

} // namespace vartesa
