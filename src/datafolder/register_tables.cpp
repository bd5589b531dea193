#include "datafolder/register_tables.h"

#include "db/error.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace vartesa {

namespace {

bool knownType(db::FieldType t) {
    return t == db::FieldType::Char || t == db::FieldType::Numeric || t == db::FieldType::Float ||
           t == db::FieldType::Date || t == db::FieldType::Logical;
}

} // namespace

std::optional<RegisterTable> RegisterTable::open(const QString& folder, const QString& file) {
    QString path;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        if (name.compare(file, Qt::CaseInsensitive) == 0) path = folder + '/' + name;
    if (path.isEmpty()) return std::nullopt;
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) throw Error(QStringLiteral("Tabela %1 nu poate fi citita").arg(path), path);
    RegisterTable t;
    t.bytes_ = in.readAll();
    t.layout_ = db::readLayout(t.bytes_, path);
    // Fields of a type the codec does not know (memo, binary...) keep their width in the
    // record: the shape is judged with them read as text, and their values are never read.
    db::Layout shape = t.layout_;
    for (db::Field& f : shape.fields)
        if (!knownType(f.type)) f.type = db::FieldType::Char;
    const char last = t.bytes_.isEmpty() ? '\0' : t.bytes_.back();
    db::checkTableFile(shape, t.bytes_.size(), last, path);
    const db::RecordsInFile held = db::recordsInFile(shape, t.bytes_.size(), last);
    for (qint64 r = 0; r < held.whole; ++r) {
        const int at = int(t.layout_.headerLength + r * t.layout_.recordLength);
        if (t.bytes_[at] != '*') t.records_.push_back(at);
    }
    return t;
}

int RegisterTable::fieldIndex(const QString& field) const {
    const int i = layout_.indexOf(field);
    return i >= 0 && knownType(layout_.fields[size_t(i)].type) ? i : -1;
}

const char* RegisterTable::cell(int row, int field) const {
    return bytes_.constData() + records_[size_t(row)] + layout_.fields[size_t(field)].offset;
}

QString RegisterTable::text(int row, const QString& field) const {
    const int i = fieldIndex(field);
    if (i < 0) return {};
    const db::Field& f = layout_.fields[size_t(i)];
    QByteArray utf8;
    db::decodeChar(cell(row, i), f.length, utf8);
    return QString::fromUtf8(utf8).trimmed();
}

std::optional<double> RegisterTable::number(int row, const QString& field) const {
    const int i = fieldIndex(field);
    if (i < 0) return std::nullopt;
    const db::Field& f = layout_.fields[size_t(i)];
    std::int64_t integer = 0;
    double real = 0;
    bool isInteger = false;
    if (f.type == db::FieldType::Date || f.type == db::FieldType::Logical) return std::nullopt;
    if (!db::decodeNumber(cell(row, i), f.length, integer, real, isInteger)) return std::nullopt;
    return isInteger ? double(integer) : real;
}

void WriteRegisterTable(const QString& path, const std::vector<RegisterField>& fields,
                        const std::vector<QVariantList>& rows) {
    db::Layout layout = db::makeLayout(fields, path);
    layout.recordCount = std::uint32_t(rows.size());
    QByteArray out = db::buildHeader(layout);
    QByteArray record(layout.recordLength, ' ');
    for (const QVariantList& row : rows) {
        record.fill(' ');
        for (size_t i = 0; i < layout.fields.size() && i < size_t(row.size()); ++i) {
            const db::Field& f = layout.fields[i];
            QVariant v = row[int(i)];
            if (f.type == db::FieldType::Char) v = v.toString().left(f.length); // cut on purpose
            db::encodeField(f, v, record.data() + f.offset, path);
        }
        out += record;
    }
    out += db::kEndMarker;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.commit())
        throw Error(QStringLiteral("Nu pot scrie fisierul %1").arg(path), path);
}

} // namespace vartesa
