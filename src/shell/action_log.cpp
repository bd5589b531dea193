#include "action_log.h"

#include "db/database.h"
#include "shell/services.h"
#include "shell/table_files.h"

#include <QVariantList>

namespace vartesa {

ActionLog::ActionLog(db::Database& db, const QString& dataFolder, const QString& programFolder, const Clock& clock)
    : db_(db), dataFolder_(dataFolder), programFolder_(programFolder), clock_(clock) {}

QString ActionLog::logPath(bool whole) const {
    return (whole ? dataFolder_ : programFolder_) + '/' + tables::ActionLog;
}

void ActionLog::append(const QString& path, const QVariantList& row) {
    if (!db_.tableExists(path))
        db_.exec(QStringLiteral("CREATE TABLE \"%1\" (DATAA DATE, ORA CHAR(12), UTILIZATOR CHAR(20), ROL CHAR(9), "
                                "ACTIUNE CHAR(120))")
                     .arg(path));
    db_.exec(QStringLiteral("INSERT INTO \"%1\" (DATAA, ORA, UTILIZATOR, ROL, ACTIUNE) VALUES (?, ?, ?, ?, ?)").arg(path),
             row);
}

void ActionLog::LogAction(const QString& rol, const QString& action) {
    const QDateTime now = clock_.now();
    // The log keeps the start of a long text: the user in 20 characters, the role in 9, the
    // action in 120.
    const QVariantList row{now.date(), now.time().toString(QStringLiteral("HH:mm:ss")), user_.left(20), rol.left(9),
                           action.left(120)};
    append(logPath(true), row);
    if (logPath(false) != logPath(true)) append(logPath(false), row);
}

} // namespace vartesa
