#include "roles/village_list.h"

#include "db/cp1250.h"
#include "db/file_io.h"

#include <QFile>

namespace vartesa {

QStringList ReadVillageList(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    QStringList out;
    for (const QByteArray& line : bytes.split('\n')) {
        const QString name = db::cp1250ToString(line.constData(), int(line.size())).trimmed();
        if (!name.isEmpty()) out << name;
    }
    return out;
}

void WriteVillageList(const QString& path, const QStringList& villages) {
    QString text;
    for (const QString& v : villages) text += v + QStringLiteral("\r\n");
    db::replaceFile(path, db::stringToCp1250(text));
}

} // namespace vartesa
