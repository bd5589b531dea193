#include "admin/template_editing.h"

#include "shell/services.h"

#include <QDir>
#include <QFileInfo>

namespace vartesa {

const std::vector<TemplateEntry>& TemplateEntries() {
    static const QString executare = QStringLiteral("Modele Executare silita");
    static const std::vector<TemplateEntry> entries{
        {QStringLiteral("Mdl1"), {}, QStringLiteral("Model Instiintare de plata"), QStringLiteral("Instiintare.rtf")},
        {QStringLiteral("MdlSomTit"), executare, QStringLiteral("Somatie - Titlu executoriu"), QStringLiteral("Titlu.rtf")},
        {QStringLiteral("MdlPopAngaj"), executare, QStringLiteral("Poprire Angajator"), QStringLiteral("PopAngaj2.rtf")},
        {QStringLiteral("MdlPopBanca"), executare, QStringLiteral("Poprire Banca"), QStringLiteral("PopBanca2.rtf")},
        {QStringLiteral("Mdl4"), {}, QStringLiteral("Model Certificat Fiscal"), QStringLiteral("CFiscal3.rtf")},
        {QStringLiteral("Mdl5"), {}, QStringLiteral("Model Adresa de infiintare poprire"), QStringLiteral("PopAngaj2.rtf")},
        {QStringLiteral("Mdl6"), {}, QStringLiteral("Model Aferent Adresa de infiintare poprire"),
         QStringLiteral("PopBanca2.rtf")},
        {QStringLiteral("Mdl7"), {}, QStringLiteral("Model Confirmarea de primire a debitelor"),
         QStringLiteral("ConfirmareD.rtf")},
        {QStringLiteral("ListPlatB"), {}, QStringLiteral("Model Lista plati - Registrul de casa"),
         QStringLiteral("ListPlat.xls")},
        {QStringLiteral("RegcasaB"), {}, QStringLiteral("Model Registru de casa"), QStringLiteral("RegCasa.xls")},
    };
    return entries;
}

bool EditTemplate(Services& services, const QString& file) {
    const QDir folder(services.folders.data);
    QString path = folder.filePath(file);
    for (const QString& entry : folder.entryList(QDir::Files))
        if (entry.compare(file, Qt::CaseInsensitive) == 0) path = folder.filePath(entry);
    if (QFileInfo(path).isFile() && services.desktop().openFile(path)) return true;
    services.messages().showError(QStringLiteral("Modele listare - Retusare"),
                                  QStringLiteral("Modelul ") + path + QStringLiteral(" nu poate fi deschis!"));
    return false;
}

} // namespace vartesa
