#include "counters.h"

#include "db/cp1250.h"
#include "db/error.h"
#include "db/file_io.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

#include <fcntl.h>

namespace vartesa {
namespace {

QString sectionName(const QString& line) {
    const QString t = line.trimmed();
    if (t.startsWith('[') && t.contains(']')) return t.mid(1, t.indexOf(']') - 1).trimmed();
    return {};
}

bool isSection(const QString& line) { return line.trimmed().startsWith('['); }

// Key of a "key=value" line, empty for comments and other lines.
QString keyOf(const QString& line) {
    const QString t = line.trimmed();
    if (t.startsWith(';') || t.startsWith('#') || !t.contains('=')) return {};
    return t.left(t.indexOf('=')).trimmed();
}

QString stripEnd(const QString& line) {
    QString s = line;
    while (s.endsWith('\n') || s.endsWith('\r')) s.chop(1);
    return s;
}

QString readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = f.readAll();
    return db::cp1250ToString(bytes.constData(), int(bytes.size()));
}

// Holds the counters lock of the folder for one read-change-write.
class CountersLock {
public:
    CountersLock(const QString& path, int timeoutMs) {
        const QString folder = QFileInfo(path).absolutePath();
        fd_ = db::openFile(folder + QStringLiteral("/Vartesa.lck"), O_RDWR | O_CREAT);
        struct flock fl {};
        fl.l_type = F_WRLCK;
        fl.l_whence = SEEK_SET;
        fl.l_start = 1; // byte 0 is the tables' data lock
        fl.l_len = 1;
        const int step = 2;
        for (int waited = 0; fcntl(fd_.get(), F_OFD_SETLK, &fl) != 0; waited += step) {
            if (waited > timeoutMs)
                throw Error(QStringLiteral("Fisierul %1 este ocupat de alt post de lucru. Incercati din nou.")
                                .arg(path), path);
            usleep(step * 1000);
        }
    }

private:
    db::Fd fd_; // closing it releases the lock
};

} // namespace

IniText::IniText(const QString& text) {
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        end = end < 0 ? text.size() : end + 1;
        lines_ << text.mid(start, end - start);
        start = end;
    }
}

QString IniText::value(const QString& section, const QString& key, bool* found) const {
    bool inSection = false;
    for (const QString& line : lines_) {
        if (isSection(line)) {
            inSection = db::sameLetters(sectionName(line), section, Qt::CaseInsensitive);
            continue;
        }
        if (inSection && db::sameLetters(keyOf(line), key, Qt::CaseInsensitive) && !keyOf(line).isEmpty()) {
            if (found) *found = true;
            const QString t = stripEnd(line);
            return t.mid(t.indexOf('=') + 1).trimmed();
        }
    }
    if (found) *found = false;
    return {};
}

void IniText::setValue(const QString& section, const QString& key, const QString& value) {
    int sectionAt = -1, lastOfSection = -1;
    for (int i = 0; i < lines_.size(); ++i) {
        if (isSection(lines_[i])) {
            if (sectionAt >= 0) break;
            if (db::sameLetters(sectionName(lines_[i]), section, Qt::CaseInsensitive)) sectionAt = lastOfSection = i;
            continue;
        }
        if (sectionAt < 0) continue;
        if (!stripEnd(lines_[i]).trimmed().isEmpty()) lastOfSection = i;
        const QString k = keyOf(lines_[i]);
        if (!k.isEmpty() && db::sameLetters(k, key, Qt::CaseInsensitive)) {
            const QString ending = lines_[i].mid(stripEnd(lines_[i]).size());
            lines_[i] = k + '=' + value + (ending.isEmpty() ? QStringLiteral("\r\n") : ending);
            return;
        }
    }
    if (!lines_.isEmpty() && !lines_.last().endsWith('\n')) lines_.last() += QStringLiteral("\r\n");
    if (sectionAt < 0) {
        lines_ << '[' + section + QStringLiteral("]\r\n");
        lastOfSection = int(lines_.size()) - 1;
    }
    lines_.insert(lastOfSection + 1, key + '=' + value + QStringLiteral("\r\n"));
}

QString IniText::text() const { return lines_.join(QString()); }

CountersFile::CountersFile(const QString& path) : path_(path) {
    const QString unfinished = path_ + QStringLiteral("-new");
    if (!QFileInfo::exists(unfinished)) return;
    try {
        // Under the lock: a copy being written by another workstation's save right now is
        // not a leftover.
        CountersLock lock(path_, 0);
        QFile::remove(unfinished);
    } catch (const Error&) {
    }
}

QString CountersFile::ReadCounter(const QString& section, const QString& key, const QString& fallback) const {
    const QString v = IniText(readFile(path_)).value(section, key);
    return v.isEmpty() ? fallback : v;
}

void CountersFile::WriteCounter(const QString& section, const QString& key, const QString& value) {
    CountersLock lock(path_, lockTimeoutMs_);
    IniText ini(readFile(path_));
    ini.setValue(section, key, value);
    db::replaceFile(path_, db::stringToCp1250(ini.text()));
}

QString CountersFile::NextId(const QString& section, const QString& key) {
    return QString::number(NextIds(section, key, 1));
}

namespace {

// The number a counter holds ("1" when missing or empty).
qint64 CounterValue(const IniText& ini, const QString& section, const QString& key, const QString& path) {
    QString current = ini.value(section, key);
    if (current.isEmpty()) current = QStringLiteral("1");
    bool ok = false;
    const qlonglong n = current.toLongLong(&ok);
    if (!ok)
        throw Error(QStringLiteral("'%1' nu este o valoare intreaga valida (contorul %2)").arg(current, key), path);
    return n;
}

} // namespace

qint64 CountersFile::NextIds(const QString& section, const QString& key, qint64 count) {
    CountersLock lock(path_, lockTimeoutMs_);
    IniText ini(readFile(path_));
    const qint64 n = CounterValue(ini, section, key, path_);
    ini.setValue(section, key, QString::number(n + std::max<qint64>(count, 1)));
    db::replaceFile(path_, db::stringToCp1250(ini.text()));
    return n;
}

void CountersFile::RaiseCounter(const QString& section, const QString& key, qint64 atLeast) {
    CountersLock lock(path_, lockTimeoutMs_);
    IniText ini(readFile(path_));
    if (CounterValue(ini, section, key, path_) >= atLeast) return;
    ini.setValue(section, key, QString::number(atLeast));
    db::replaceFile(path_, db::stringToCp1250(ini.text()));
}

std::vector<qint64> CountersFile::NextIdEach(const std::vector<std::pair<QString, QString>>& counters) {
    CountersLock lock(path_, lockTimeoutMs_);
    IniText ini(readFile(path_));
    std::vector<qint64> drawn;
    for (const auto& [section, key] : counters) drawn.push_back(CounterValue(ini, section, key, path_));
    for (size_t i = 0; i < counters.size(); ++i)
        ini.setValue(counters[i].first, counters[i].second, QString::number(drawn[i] + 1));
    db::replaceFile(path_, db::stringToCp1250(ini.text()));
    return drawn;
}

} // namespace vartesa
