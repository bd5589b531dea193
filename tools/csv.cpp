// The CSV the commands print: one quoting rule for every command.

#include "commands.h"

#include <QDate>

namespace vartesa::tool {

QString csvField(QString text) {
    if (text.contains(',') || text.contains('"') || text.contains('\n') || text.contains('\r'))
        text = '"' + text.replace('"', QStringLiteral("\"\"")) + '"';
    return text;
}

QString csvValue(const QVariant& value) {
    if (value.metaType().id() == QMetaType::QDate) return csvField(value.toDate().toString(QStringLiteral("dd.MM.yyyy")));
    if (value.metaType().id() == QMetaType::Double) return csvField(QString::number(value.toDouble(), 'g', 15));
    return csvField(value.toString());
}

} // namespace vartesa::tool
