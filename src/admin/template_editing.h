#pragma once
// "Modele listare - Retusare": the templates of the data folder the clerk may retouch in
// the desktop's default application. Whatever is saved there is the template from then
// on; deleting a rich-text template makes the next start-up write the program's own again.

#include <QString>

#include <vector>

namespace vartesa {

class Services;

/// One entry of the template submenu.
struct TemplateEntry {
    QString action;  // menu item name (Mdl1, MdlSomTit, ...)
    QString group;   // submenu it stands in ("Modele Executare silita"), or "" at the top
    QString caption; // text of the entry
    QString file;    // template file of the data folder
};

/// The submenu in its order. The two garnishment address entries have no file of their
/// own: the addresses are part of the garnishment templates, which they open.
const std::vector<TemplateEntry>& TemplateEntries();

/// Hands the template `file` of the data folder (its name matched without regard to case)
/// to the desktop. A missing file, or one the desktop cannot open, is reported under
/// "Modele listare - Retusare". Returns true when it was handed over.
bool EditTemplate(Services& services, const QString& file);

} // namespace vartesa
