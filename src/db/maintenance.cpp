// Statements that change a table's file layout, packing and width changes. Each builds the
// whole new file and puts it in place with one rename, under the folder's exclusive lock.

#include "database_impl.h"
#include "error.h"
#include "sql_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace vartesa::db {
namespace {

QString fileName(const QString& path) { return QFileInfo(path).fileName(); }

// The .mdx index file beside a table, whatever the case of its extension.
void removeIndexFile(const QString& table) {
    const QFileInfo info(table);
    const QString base = info.completeBaseName() + QStringLiteral(".mdx");
    for (const QString& e : QDir(info.absolutePath()).entryList(QDir::Files))
        if (e.compare(base, Qt::CaseInsensitive) == 0) QFile::remove(info.absolutePath() + '/' + e);
}

// Holds a folder's exclusive data lock for one maintenance step.
struct ExclusiveScope {
    Database::Impl& d;
    QString folder;
    bool mine = false;
    ExclusiveScope(Database::Impl& impl, const QString& path)
        : d(impl), folder(QFileInfo(path).absolutePath()) {
        mine = !d.exclusiveHeld.contains(folder);
        d.lockExclusive(folder);
    }
    ~ExclusiveScope() {
        if (mine) {
            d.folderLock(folder).unlockData();
            d.exclusiveHeld.remove(folder);
        }
    }
};

// Holds a table alone for the length of a maintenance step, then puts this engine's own
// holds back as they were.
struct AloneScope {
    Database::Impl& d;
    QString path;
    AloneScope(Database::Impl& impl, const QString& table) : d(impl), path(table) {
        FolderLock& lock = d.folderLock(QFileInfo(path).absolutePath());
        if (!lock.tryLockTable(path, LockKind::Exclusive))
            throw tableBusyError(lock, path);
    }
    ~AloneScope() { d.settleMark(path); }
};

// A numeric field's text written for a field of another size, digit for digit: the point
// moves to the new number of decimals and nothing is rounded. Returns false when the value
// does not fit (it would lose digits); `to` is left blank then. A blank field stays blank;
// text that is no number (an overflow's stars) is kept as it stands, right-aligned.
bool refitNumber(const char* from, int fromLength, char* to, const Field& field) {
    std::memset(to, ' ', size_t(field.length));
    int begin = 0, end = fromLength;
    while (begin < end && (from[begin] == ' ' || from[begin] == '\0')) ++begin;
    while (end > begin && (from[end - 1] == ' ' || from[end - 1] == '\0')) --end;
    const QByteArray text(from + begin, end - begin);
    const auto place = [&](const QByteArray& value) {
        if (value.size() > field.length) return false;
        std::memcpy(to + field.length - value.size(), value.constData(), size_t(value.size()));
        return true;
    };
    qsizetype i = 0;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    QByteArray whole, fraction;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') whole += text[i++];
    const bool point = i < text.size() && (text[i] == '.' || text[i] == ',');
    if (point) ++i;
    while (point && i < text.size() && text[i] >= '0' && text[i] <= '9') fraction += text[i++];
    if (i != text.size() || whole.size() + fraction.size() == 0) return place(text); // blank, or no number
    while (whole.size() > 1 && whole[0] == '0') whole.remove(0, 1);
    if (whole.isEmpty()) whole = "0";
    while (fraction.size() > field.decimals && fraction.back() == '0') fraction.chop(1);
    if (fraction.size() > field.decimals) return false;
    fraction = fraction.leftJustified(field.decimals, '0');
    const bool zero = whole == "0" && std::all_of(fraction.cbegin(), fraction.cend(), [](char c) { return c == '0'; });
    QByteArray value = (negative && !zero ? "-" : "") + whole;
    if (field.decimals > 0) value += '.' + fraction;
    return place(value);
}

} // namespace

void Database::Impl::rewriteTable(TableState& t, const Layout& newLayout,
                                  const std::function<void(const char*, char*)>& copy, bool dropDeleted) {
    refresh(t);
    const Layout& old = t.layout;
    const std::int64_t count = t.records.size() / old.recordLength;
    QByteArray body;
    body.reserve(qsizetype(count * newLayout.recordLength + 1));
    QByteArray rec(newLayout.recordLength, ' ');
    std::uint32_t kept = 0;
    for (std::int64_t r = 0; r < count; ++r) {
        const char* from = t.records.constData() + r * old.recordLength;
        if (dropDeleted && *from == '*') continue;
        rec.fill(' ');
        rec[0] = *from;
        copy(from, rec.data());
        body += rec;
        ++kept;
    }
    body += kEndMarker;
    Layout l = newLayout;
    l.recordCount = kept;
    l.lastUpdate = QDate::currentDate();
    l.changeCounter = old.changeCounter + 1;
    l.version = old.version;
    l.languageDriver = old.languageDriver;
    replaceFile(t.path, buildHeader(l) + body);
    forget(t);
}

int Database::Impl::runDefinition(const ParsedStatement& p) {
    const QString& path = p.target;
    ExclusiveScope lock(*this, path);
    TableState& t = table(path);
    switch (p.kind) {
    case StatementKind::Create: {
        if (QFileInfo::exists(path))
            throw Error(QStringLiteral("Tabela %1 exista deja").arg(path), path);
        // A journal left by a writer of an earlier table of this name must never be played
        // back onto the new one.
        recoverJournal(path);
        Layout l = makeLayout(p.addFields, fileName(path));
        QByteArray content = buildHeader(l);
        content += kEndMarker;
        replaceFile(path, content);
        forget(t);
        return 0;
    }
    case StatementKind::Drop: {
        if (!QFileInfo::exists(path)) throw Error(QStringLiteral("Tabela %1 nu exista").arg(path), path);
        AloneScope alone(*this, path);
        recoverJournal(path); // settle a crashed writer's journal before its table goes
        if (!QFile::remove(path)) throw Error(QStringLiteral("Tabela %1 nu poate fi stearsa").arg(path), path);
        removeIndexFile(path);
        forget(t);
        t.indexes.clear();
        return 0;
    }
    case StatementKind::Alter: {
        AloneScope alone(*this, path);
        refresh(t);
        const Layout old = t.layout;
        std::vector<Field> fields;
        std::vector<int> source; // field of the old layout each new field copies, or -1
        for (size_t i = 0; i < old.fields.size(); ++i) {
            if (p.dropFields.contains(old.fields[i].name, Qt::CaseInsensitive)) continue;
            fields.push_back(old.fields[i]);
            source.push_back(int(i));
        }
        for (const QString& name : p.dropFields)
            if (old.indexOf(name) < 0)
                throw Error(QStringLiteral("Tabela %1 nu are campul %2").arg(fileName(path), name), path);
        for (const Field& f : p.addFields) {
            fields.push_back(f);
            source.push_back(-1);
        }
        const Layout l = makeLayout(fields, fileName(path));
        rewriteTable(t, l, [&](const char* from, char* to) {
            for (size_t i = 0; i < l.fields.size(); ++i)
                if (source[i] >= 0)
                    std::memcpy(to + l.fields[i].offset, from + old.fields[size_t(source[i])].offset,
                                size_t(l.fields[i].length));
        }, false);
        return 0;
    }
    default:
        return 0;
    }
}

void Database::pack(const QString& table) {
    if (d->inTx) throw Error(QStringLiteral("Structura tabelelor nu se schimba in timpul unei operatii"), table);
    const QString path = resolve(table);
    if (!QFileInfo::exists(path)) throw Error(QStringLiteral("Tabela %1 nu exista").arg(path), path);
    AloneScope alone(*d, path);
    ExclusiveScope lock(*d, path);
    TableState& t = d->table(path);
    d->refresh(t);
    Layout l = t.layout;
    l.productionIndex = 0; // the .mdx goes; nothing may look for it
    const int length = l.recordLength;
    d->rewriteTable(t, l, [length](const char* from, char* to) { std::memcpy(to + 1, from + 1, size_t(length - 1)); },
                    true);
    removeIndexFile(path);
    t.indexes.clear();
}

void Database::changeCharWidth(const QString& table, const QString& field, int width) {
    if (d->inTx) throw Error(QStringLiteral("Structura tabelelor nu se schimba in timpul unei operatii"), table);
    const QString path = resolve(table);
    AloneScope alone(*d, path);
    ExclusiveScope lock(*d, path);
    TableState& t = d->table(path);
    d->refresh(t);
    const Layout old = t.layout;
    const int index = old.indexOf(field);
    if (index < 0 || old.fields[size_t(index)].type != FieldType::Char)
        throw Error(QStringLiteral("Tabela %1 nu are campul de text %2").arg(fileName(path), field), path);
    std::vector<Field> fields = old.fields;
    fields[size_t(index)].length = width;
    const Layout l = makeLayout(fields, fileName(path));
    d->rewriteTable(t, l, [&](const char* from, char* to) {
        for (size_t i = 0; i < l.fields.size(); ++i)
            std::memcpy(to + l.fields[i].offset, from + old.fields[i].offset,
                        size_t(std::min(l.fields[i].length, old.fields[i].length)));
    }, false);
}

void Database::changeNumericWidth(const QString& table, const std::vector<NumericWidth>& sizes) {
    if (d->inTx) throw Error(QStringLiteral("Structura tabelelor nu se schimba in timpul unei operatii"), table);
    const QString path = resolve(table);
    AloneScope alone(*d, path);
    ExclusiveScope lock(*d, path);
    TableState& t = d->table(path);
    d->refresh(t);
    const Layout old = t.layout;
    std::vector<Field> fields = old.fields;
    std::vector<bool> refit(fields.size(), false);
    for (const NumericWidth& s : sizes) {
        const int index = old.indexOf(s.field);
        if (index < 0 || old.fields[size_t(index)].type != FieldType::Numeric)
            throw Error(QStringLiteral("Tabela %1 nu are campul numeric %2").arg(fileName(path), s.field), path);
        if (refit[size_t(index)])
            throw Error(QStringLiteral("Campul %1 al tabelei %2 apare de doua ori").arg(s.field, fileName(path)), path);
        Field& f = fields[size_t(index)];
        f.length = s.width;
        f.decimals = s.decimals;
        refit[size_t(index)] = true;
    }
    const Layout l = makeLayout(fields, fileName(path)); // throws for an impossible size
    bool changes = false;
    for (size_t i = 0; i < fields.size(); ++i) {
        refit[i] = refit[i] && (l.fields[i].length != old.fields[i].length || l.fields[i].decimals != old.fields[i].decimals);
        changes = changes || refit[i];
    }
    if (!changes) return;
    std::int64_t record = 0;
    d->rewriteTable(t, l, [&](const char* from, char* to) {
        ++record;
        for (size_t i = 0; i < l.fields.size(); ++i) {
            const Field& o = old.fields[i];
            const Field& n = l.fields[i];
            if (!refit[i]) {
                std::memcpy(to + n.offset, from + o.offset, size_t(n.length));
            } else if (!refitNumber(from + o.offset, o.length, to + n.offset, n)) {
                const QString value = QString::fromLatin1(from + o.offset, o.length).trimmed();
                throw Error(QStringLiteral("Valoarea %1 din inregistrarea %2%3 nu incape in campul %4 (%5 caractere, "
                                           "%6 zecimale) al tabelei %7; tabela a ramas neschimbata")
                                .arg(value, QString::number(record),
                                     *from == '*' ? QStringLiteral(" (stearsa)") : QString(), n.name,
                                     QString::number(n.length), QString::number(n.decimals), fileName(path)),
                            path);
            }
        }
    }, false);
}

} // namespace vartesa::db
