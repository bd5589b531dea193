#include "table_check.h"

#include "db/database.h"
#include "db/error.h"

#include <QDir>
#include <QFileInfo>

namespace vartesa {

std::vector<DamagedTable> DamagedTables(db::Database& db, const QString& dataFolder) {
    db.recoverFolder(dataFolder);
    std::vector<DamagedTable> damaged;
    const QStringList files = QDir(dataFolder).entryList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : files) {
        if (!name.endsWith(QLatin1String(".dbf"), Qt::CaseInsensitive)) continue;
        const QString path = dataFolder + '/' + name;
        try {
            const db::TableFileCheck check = db::inspectTableFile(path);
            if (!check.fault.isEmpty()) damaged.push_back({name, db::damagedTableText(path, check.fault)});
        } catch (const Error& e) {
            damaged.push_back({name, e.text()});
        }
    }
    return damaged;
}

QStringList RepairTable(db::Database& db, const QString& dataFolder, const QString& table, bool dryRun) {
    QString name = table.trimmed();
    if (!name.endsWith(QLatin1String(".dbf"), Qt::CaseInsensitive)) name += QStringLiteral(".dbf");
    if (name.contains('/') || name.contains('\\'))
        throw Error(QStringLiteral("Tabela %1 nu este un fisier al directorului de date").arg(table), table);
    const db::CountRepair r = db.repairRecordCount(dataFolder + '/' + name, dryRun);
    const QString file = QFileInfo(db.resolve(dataFolder + '/' + name)).fileName();
    if (r.fault.isEmpty())
        return {QStringLiteral("Tabela %1 este intreaga: antetul arata %2 inregistrari, cate are fisierul. "
                               "Nu este nimic de reparat.")
                    .arg(file)
                    .arg(r.layout.recordCount)};
    const auto shortName = [](const QString& path) { return QFileInfo(path).fileName(); };
    QStringList lines = {db::damagedTableText(file, r.fault)};
    lines << (dryRun ? QStringLiteral("Copia tabelei asa cum este s-ar face in %1.")
                     : QStringLiteral("Copia tabelei asa cum era: %1."))
                 .arg(shortName(r.backup));
    if (!r.rest.isEmpty())
        lines << (dryRun ? QStringLiteral("Cei %1 octeti ai inregistrarii taiate s-ar muta in %2.")
                         : QStringLiteral("Cei %1 octeti ai inregistrarii taiate sunt mutati in %2."))
                     .arg(r.held.tail)
                     .arg(shortName(r.rest));
    lines << (dryRun ? QStringLiteral("Antetul ar arata %1 inregistrari.") : QStringLiteral("Antetul arata acum %1 inregistrari."))
                 .arg(r.held.whole);
    if (dryRun) lines << QStringLiteral("Proba: nu s-a scris nimic.");
    return lines;
}

} // namespace vartesa
