#include "datafolder/table_rebuild.h"

#include "db/database.h"
#include "db/error.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace vartesa {

void RebuildWithLayout(db::Database& db, const QString& path, const TableLayout& layout) {
    const QFileInfo info(db.resolve(path));
    const QString table = info.absoluteFilePath();
    // Left over by a run that stopped before its rename; the table itself is still whole.
    const QString work = info.absolutePath() + '/' + info.completeBaseName() + QStringLiteral("_L.dbf");
    if (db.tableExists(work)) db.exec(QStringLiteral("DROP TABLE \"%1\"").arg(work));
    CreateTable(db, work, layout);
    const db::Layout old = db.layout(table);
    QStringList common;
    for (const db::Field& f : layout.fields)
        if (old.indexOf(f.name) >= 0) common << f.name;
    const QString columns = common.join(QStringLiteral(", "));
    db.exec(QStringLiteral("INSERT INTO \"%1\" (%2) SELECT %2 FROM \"%3\"").arg(work, columns, table));
    db.holdTable(table, db::LockKind::Exclusive);
    const bool renamed = std::rename(QFile::encodeName(db.resolve(work)).constData(),
                                     QFile::encodeName(table).constData()) == 0;
    db.releaseTable(table, db::LockKind::Exclusive);
    if (!renamed)
        throw Error(QStringLiteral("Tabela %1 nu a putut fi inlocuita cu forma noua").arg(info.fileName()), table);
}

bool WidenNumericFields(db::Database& db, const QString& path, const QStringList& fields, int width) {
    TableLayout wider{QFileInfo(path).fileName(), db.layout(path).fields};
    bool narrow = false;
    for (db::Field& f : wider.fields)
        if (fields.contains(f.name, Qt::CaseInsensitive) && f.type == db::FieldType::Numeric && f.length < width) {
            f.length = width;
            narrow = true;
        }
    if (narrow) RebuildWithLayout(db, path, wider);
    return narrow;
}

} // namespace vartesa
