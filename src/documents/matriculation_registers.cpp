#include "documents/matriculation_registers.h"

#include "documents/matriculation_rows.h"
#include "db/error.h"
#include "db/query.h"
#include "fillers/xls_model_export.h"
#include "shell/file_helpers.h"
#include "shell/services.h"
#include "shell/settings_table.h"
#include "shell/startup.h"

#include <QFile>

namespace vartesa {

namespace {

// Removes the working copy of a template however the filling ends.
struct WorkingCopy {
    QString path;
    ~WorkingCopy() {
        if (!path.isEmpty()) QFile::remove(path);
    }
};

// The template of each register and the prefix of its working copy.
struct RegisterTemplate {
    const char* name;
    const char* prefix;
};

RegisterTemplate templateOf(RegisterKind kind) {
    switch (kind) {
    case RegisterKind::Land: return {"RMTEREN", "RMTeren"};
    case RegisterKind::Buildings: return {"RMCLADIRI", "RMCladiri"};
    case RegisterKind::Vehicles: return {"RMAUTO", "RMAuto"};
    case RegisterKind::Cumulated: break;
    }
    return {"MATRICTOT", "XLSTmp"};
}

QString commune(Services& s) {
    return SettingsTable(s.database(), s.folders.data).load().value(QStringLiteral("LOCALITATEALAB")).trimmed();
}

// The rows of one register; nothing when a register that refuses an empty selection has none.
std::optional<RegisterRows> registerRows(Services& s, RegisterKind kind, const RoleSelection& selection) {
    switch (kind) {
    case RegisterKind::Land: return LandRegisterRows(s, selection);
    case RegisterKind::Buildings: return BuildingRegisterRows(s, selection);
    case RegisterKind::Vehicles: return VehicleRegisterRows(s, selection);
    case RegisterKind::Cumulated: break;
    }
    return CumulatedRegisterRows(s, selection);
}

// Fills the register into `list` (its template opened); the number of data rows, nothing when
// the clerk was told there is none.
std::optional<int> fillRegister(Services& s, RegisterKind kind, const RoleSelection& selection, TExportXLSModel& list) {
    std::optional<RegisterRows> data = registerRows(s, kind, selection);
    if (!data || (kind != RegisterKind::Cumulated && data->rows.empty())) {
        s.messages().showError(RegisterRefusalTitle(kind), kNoRoleInRange);
        return std::nullopt;
    }
    const RegisterTemplate t = templateOf(kind);
    WorkingCopy copy{FreeTempFileName(s.folders.program, QLatin1String(t.prefix), QStringLiteral(".xls"))};
    if (copy.path.isEmpty())
        throw Error(QStringLiteral("Nu mai exista nume libere pentru liste in ") + s.folders.program,
                    QStringLiteral("Registrul Matricol"));
    WriteResourceToFile(QLatin1String(t.name), QStringLiteral("MODEL"), copy.path);
    if (!list.OpenTemplate(copy.path)) return std::nullopt;
    if (kind == RegisterKind::Cumulated) {
        list.SetTextCell(QStringLiteral("#ANUL"), WorkingYear());
        list.SetTextCell(QStringLiteral("#Localitatea"), commune(s));
    } else {
        list.SetTextCell(QStringLiteral("#LOC"), selection.oneVillage() ? selection.village.trimmed() : commune(s));
    }
    const int count = int(data->rows.size());
    db::Query rows = db::Query::fromRows(data->columns, std::move(data->rows));
    rows.first();
    list.FillRows(rows, SelectionNarrowing(selection));
    return count;
}

} // namespace

std::optional<RegisterKind> RegisterKindNamed(const QString& word) {
    static const std::pair<const char*, RegisterKind> names[] = {
        {"land-register", RegisterKind::Land},
        {"building-register", RegisterKind::Buildings},
        {"vehicle-register", RegisterKind::Vehicles},
        {"cumulated-register", RegisterKind::Cumulated},
    };
    for (const auto& [name, kind] : names)
        if (word == QLatin1String(name)) return kind;
    return std::nullopt;
}

QString RegisterRefusalTitle(RegisterKind kind) {
    switch (kind) {
    case RegisterKind::Land: return QStringLiteral("Listare Matricola");
    case RegisterKind::Buildings: return QStringLiteral("Listare Matricole");
    case RegisterKind::Vehicles: return QStringLiteral("Matricola Auto");
    case RegisterKind::Cumulated: break;
    }
    return QStringLiteral("Registrul Matricol");
}

std::optional<BuiltRegister> BuildMatriculationRegister(Services& services, RegisterKind kind,
                                                        const RoleSelection& selection) {
    TExportXLSModel list(services);
    const std::optional<int> rows = fillRegister(services, kind, selection, list);
    if (!rows) return std::nullopt;
    return BuiltRegister{list.TakeWorkbook(), *rows};
}

QString ProduceMatriculationRegister(Services& services, RegisterKind kind, const RoleSelection& selection) {
    TExportXLSModel list(services);
    if (!fillRegister(services, kind, selection, list)) return {};
    list.SaveAndOpen();
    return list.lastResult();
}

} // namespace vartesa
