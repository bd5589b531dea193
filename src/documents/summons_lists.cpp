// The central list of the summonses and the report of a period.

#include "documents/summonses.h"
#include "shell/text_helpers.h"

#include "books/roles.h"
#include "books/stored_fields.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "fillers/xls_model_export.h"
#include "shell/file_helpers.h"
#include "shell/services.h"
#include "shell/settings_table.h"
#include "shell/table_files.h"

#include <QFile>

namespace vartesa {

namespace {

using S = SummonsColumns;
using R = RoleColumns;


// The column a title orders by, qualified; only these names reach the statement.
QString orderColumn(const QString& name) {
    static const QStringList summons{S::number, S::issued, S::cancelled, S::reason, S::total, S::confirmed, S::way};
    static const QStringList roles{R::name, R::number, R::code, R::village, R::address, R::personType};
    const QString n = name.trimmed().toUpper();
    if (summons.contains(n)) return QStringLiteral("A.") + n;
    if (roles.contains(n)) return QStringLiteral("B.") + n;
    return QStringLiteral("B.") + R::name;
}

} // namespace

std::vector<SummonsListRow> ReadSummonsList(db::Database& db, const QString& dataFolder, const QString& orderBy) {
    const QString summons = dataFolder + '/' + tables::Summonses;
    if (!db.tableExists(summons)) return {};
    const db::Query q = db.query(
        QStringLiteral("SELECT A.*, B.%1 AS XNUMEP, B.%2 AS XCNP, B.%3 AS XSATUL, B.%4 AS XADRESA, B.%5 AS XTIP, "
                       "B.%6 AS XROL FROM \"%7\" A, \"%8\" B WHERE A.%9 = B.%10 ORDER BY %11, A.%12, A.rowid")
            .arg(R::name, R::code, R::village, R::address, R::personType, R::number, summons,
                 dataFolder + '/' + tables::Roles, S::role)
            .arg(R::id, orderColumn(orderBy), S::number));
    std::vector<SummonsListRow> out;
    out.reserve(size_t(q.count()));
    for (int row = 0; row < q.count(); ++row) {
        SummonsListRow r;
        const StoredFields f(q, row);
        r.summons.id = f.whole(S::id);
        r.summons.roleId = f.whole(S::role);
        r.summons.number = f.whole(S::number);
        r.summons.issued = SummonsDate(f.whole(S::issued));
        r.summons.total = f.whole(S::total);
        r.summons.confirmed = SummonsDate(f.whole(S::confirmed), 1000);
        r.summons.way = f.text(S::way).trimmed();
        r.summons.cancelled = f.text(S::cancelled).trimmed();
        r.summons.reason = f.text(S::reason).trimmed();
        r.name = f.text(QStringLiteral("XNUMEP")).trimmed();
        r.code = f.text(QStringLiteral("XCNP")).trimmed();
        r.village = f.text(QStringLiteral("XSATUL")).trimmed();
        r.address = f.text(QStringLiteral("XADRESA")).trimmed();
        r.type = f.text(QStringLiteral("XTIP")).trimmed();
        r.rol = f.text(QStringLiteral("XROL")).trimmed();
        out.push_back(std::move(r));
    }
    return out;
}

SummonsPrintSettings ReadSummonsPrintSettings(Services& s, const QString& clerk) {
    const QHash<QString, QString> v = SettingsTable(s.database(), s.folders.data).load();
    SummonsPrintSettings p;
    p.townHall.county = v.value(QStringLiteral("JUDETULLAB")).trimmed();
    p.townHall.name = v.value(QStringLiteral("PRIMARIALAB")).trimmed();
    p.townHall.fiscalCode = v.value(QStringLiteral("CUILAB")).trimmed();
    p.townHall.locality = v.value(QStringLiteral("LOCALITATEALAB")).trimmed();
    p.mayor = v.value(QStringLiteral("PRIMARLAB")).trimmed();
    p.clerk = clerk;
    return p;
}

std::vector<SummonsReportRow> ReadSummonsReport(db::Database& db, const QString& dataFolder, const QDate& from,
                                                const QDate& to, const QString& personType) {
    const QString summons = dataFolder + '/' + tables::Summonses;
    if (!db.tableExists(summons)) return {};
    const db::Query q = db.query(
        QStringLiteral("SELECT A.%1, A.%2, A.%3, B.%4, B.%5 FROM \"%6\" A, \"%7\" B WHERE A.%8 = B.%9 "
                       "AND TRIM(A.%10) <> ? AND TRIM(B.%11) = ? AND A.%2 >= ? AND A.%2 <= ? ORDER BY B.%4, A.rowid")
            .arg(S::number, S::issued, S::reason, R::name, R::number, summons, dataFolder + '/' + tables::Roles,
                 S::role, R::id)
            .arg(S::cancelled, R::personType),
        {kSummonsCancelled, personType.trimmed(), SummonsDay(from), SummonsDay(to)});
    std::vector<SummonsReportRow> out;
    for (int row = 0; row < q.count(); ++row) {
        const StoredFields f(q, row);
        out.push_back({f.whole(S::number), SummonsDate(f.whole(S::issued)), f.text(R::name).trimmed(),
                       f.text(R::number).trimmed(), f.text(S::reason).trimmed()});
    }
    return out;
}

workbook::Workbook BuildSummonsReport(Services& s, const std::vector<SummonsReportRow>& rows, const QDate& from,
                                      const QDate& to) {
    WorkingCopy copy{FreeTempFileName(s.folders.program, QStringLiteral("SitExec"), QStringLiteral(".xls"))};
    if (copy.path.isEmpty())
        throw Error(QStringLiteral("Nu mai exista nume libere pentru listele din ") + s.folders.program, s.folders.program);
    WriteResourceToFile(QStringLiteral("SITEXEC"), QStringLiteral("MODEL"), copy.path);
    TExportXLSModel list(s);
    if (!list.OpenTemplate(copy.path)) throw Error(QStringLiteral("Lista nu poate fi realizata."), copy.path);
    const QString townHall = SettingsTable(s.database(), s.folders.data).load().value(QStringLiteral("PRIMARIALAB")).trimmed();
    list.SetTextCell(QStringLiteral("[UAT]"), QStringLiteral("U.A.T. ") + townHall);
    list.SetTextCell(QStringLiteral("#PERIOADA"), QStringLiteral("in perioada ") + DateText(from) + QStringLiteral(" - ") +
                                                      DateText(to));
    std::vector<std::vector<QVariant>> cells;
    for (const SummonsReportRow& r : rows)
        cells.push_back({r.name, r.rol, r.number, r.issued.isValid() ? QVariant(r.issued) : QVariant(), r.reason});
    db::Query data = db::Query::fromRows({R::name, R::number, S::number, S::issued, S::reason}, std::move(cells));
    data.first();
    list.FillRows(data);
    return list.TakeWorkbook();
}

} // namespace vartesa
