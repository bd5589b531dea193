#pragma once
// The templates the program carries: the rich-text documents (resource ":/MODEL/<NAME>",
// from templates.qrc) and the editable workbooks (":/XLS/<NAME>", compiled from their .tpl
// sources at build time and linked into the program with the windows).

namespace vartesa {

/// Makes the rich-text templates of the core library reachable as resources. The core is
/// a static library, so its resources are registered by this call rather than on load;
/// calling it again does nothing.
void LoadEmbeddedTemplates();

} // namespace vartesa
