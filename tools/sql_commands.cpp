// vartesa-tool sql and dbf-info.

#include "commands.h"

#include "db/database.h"
#include "db/dbf_format.h"
#include "db/error.h"
#include "db/file_io.h"
#include "db/folder_use.h"
#include "db/query.h"

#include <QFile>
#include <QTextStream>

#include <fcntl.h>

namespace vartesa::tool {

int runSql(const QStringList& args) {
    QTextStream out(stdout), err(stderr);
    if (args.size() < 2) {
        err << "Utilizare: vartesa-tool sql DATAFOLDER \"INSTRUCTIUNE\" [VALOARE...]\n";
        return 2;
    }
    try {
        db::Database database(args[0]);
        db::confineToBaseFolder(database);
        QVariantList values;
        for (const QString& v : args.mid(2)) values << v;
        const QString sql = args[1].trimmed();
        if (database.isReadOnly(sql)) {
            const db::Query q = database.query(sql, values);
            QStringList header;
            for (int c = 0; c < q.columnCount(); ++c) header << csvField(q.columnName(c));
            out << header.join(',') << '\n';
            for (int r = 0; r < q.count(); ++r) {
                QStringList line;
                for (int c = 0; c < q.columnCount(); ++c) line << csvValue(q.cell(r, c));
                out << line.join(',') << '\n';
            }
        } else {
            out << database.exec(sql, values) << '\n';
        }
    } catch (const Error& e) {
        err << e.text() << '\n';
        return 1;
    }
    return 0;
}

int runDbfInfo(const QStringList& args) {
    QTextStream out(stdout), err(stderr);
    if (args.size() != 1) {
        err << "Utilizare: vartesa-tool dbf-info FISIER\n";
        return 2;
    }
    try {
        const db::TableFileCheck check = db::inspectTableFile(args[0]);
        const db::Layout& l = check.layout;
        out << "Versiune: 0x" << QString::number(l.version, 16) << '\n'
            << "Actualizata: " << l.lastUpdate.toString(QStringLiteral("dd.MM.yyyy")) << '\n'
            << "Inregistrari: " << l.recordCount << '\n'
            << "Lungime antet: " << l.headerLength << '\n'
            << "Lungime inregistrare: " << l.recordLength << '\n'
            << "Index de productie: " << l.productionIndex << '\n'
            << "Cod limba: 0x" << QString::number(l.languageDriver, 16) << '\n'
            << "Campuri:\n";
        for (const db::Field& f : l.fields)
            out << "  " << f.name.leftJustified(10) << ' ' << QChar(char(f.type)) << ' ' << f.length << ','
                << f.decimals << '\n';
        out << "Inregistrari dupa marimea fisierului: " << check.held.whole;
        if (check.held.tail > 0) out << " si inca " << check.held.tail << " octeti ai unei inregistrari taiate";
        out << '\n' << "Verdict: " << (check.fault.isEmpty() ? QStringLiteral("intreaga") : "deteriorata: " + check.fault)
            << '\n';
    } catch (const Error& e) {
        err << e.text() << '\n';
        return 1;
    }
    return 0;
}

} // namespace vartesa::tool
