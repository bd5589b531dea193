#include "documents/person_lists.h"

#include "books/roles.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "fillers/xls_model_export.h"
#include "shell/file_helpers.h"
#include "shell/services.h"
#include "shell/table_files.h"

#include <QFile>

namespace vartesa {

QString ListPersons(Services& services, PersonType type) {
    const bool physical = type == PersonType::Physical;
    WorkingCopy copy{FreeTempFileName(services.folders.program, QStringLiteral("LisPers"), QStringLiteral(".xls"))};
    if (copy.path.isEmpty())
        throw Error(QStringLiteral("Nu mai exista nume libere pentru listele din ") + services.folders.program,
                    services.folders.program);
    WriteResourceToFile(QStringLiteral("ListaPers"), QStringLiteral("MODEL"), copy.path);

    TExportXLSModel list(services);
    if (!list.OpenTemplate(copy.path)) return {};
    list.SetTextCell(QStringLiteral("#LISTA"),
                     physical ? QStringLiteral("Lista persoane fizice") : QStringLiteral("Lista persoane juridice"));
    // Without a roles table the list is empty rather than left with its template row.
    using R = RoleColumns;
    const QString roles = services.folders.data + '/' + tables::Roles;
    const QString from = services.database().tableExists(roles)
                             ? QStringLiteral("FROM \"%1\" WHERE TRIM(%2) = ?").arg(roles, R::personType)
                             : QStringLiteral("WHERE ? IS NULL AND 0");
    db::Query rows = services.database().query(
        QStringLiteral("SELECT %1, %2, %3, %4, %5 %6 ORDER BY %1").arg(R::name, R::code, R::village, R::number, R::address, from),
        {physical ? kPersonNatural : kPersonLegal});
    rows.first();
    list.FillRows(rows);
    list.SaveAndOpen();
    return list.lastResult();
}

} // namespace vartesa
