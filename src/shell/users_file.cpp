#include "shell/users_file.h"

#include "db/cp1250.h"
#include "db/error.h"

#include <QFile>
#include <QFileInfo>

namespace vartesa {

namespace {

// Offsets of the record's fields; each text field is a length byte and 32 bytes.
constexpr int kNameAt = 0;
constexpr int kPasswordAt = 33;
constexpr int kGradeAt = 66;
constexpr int kCardAt = 67;

void putText(QByteArray& record, int at, const QString& text) {
    const QByteArray bytes = db::stringToCp1250(text).left(UsersFile::kFieldSize);
    record[at] = char(bytes.size());
    for (int i = 0; i < bytes.size(); ++i) record[at + 1 + i] = bytes[i];
}

QString takeText(const QByteArray& record, int at) {
    const int length = std::min<int>(quint8(record[at]), UsersFile::kFieldSize);
    return db::cp1250ToString(record.constData() + at + 1, length);
}

Error fileError(const QFile& file, const QString& what) {
    return Error(QStringLiteral("Fisierul utilizatorilor %1 nu poate fi %2: %3")
                     .arg(file.fileName(), what, file.errorString()),
                 file.fileName());
}

} // namespace

QString GradeText(UserGrade grade) {
    switch (grade) {
    case UserGrade::Admin:
        return QStringLiteral("ADMIN");
    case UserGrade::RolOperator:
        return QStringLiteral("OPERATOR DE ROL");
    case UserGrade::Cashier:
        return QStringLiteral("CASIER");
    case UserGrade::Unknown:
        break;
    }
    return QStringLiteral("NECUNOSCUT");
}

UserGrade GradeNamed(const QString& text) {
    for (UserGrade g : {UserGrade::Admin, UserGrade::RolOperator, UserGrade::Cashier})
        if (GradeText(g) == text.trimmed()) return g;
    return UserGrade::Unknown;
}

QByteArray encodeUserRecord(const UserRecord& r) {
    QByteArray record(UsersFile::kRecordSize, '\0');
    putText(record, kNameAt, r.name);
    putText(record, kPasswordAt, r.password);
    record[kGradeAt] = char(int(r.grade));
    putText(record, kCardAt, r.card);
    return record;
}

UserRecord decodeUserRecord(const QByteArray& bytes) {
    QByteArray record = bytes.left(UsersFile::kRecordSize);
    record.append(UsersFile::kRecordSize - record.size(), '\0');
    UserRecord r;
    r.name = takeText(record, kNameAt);
    r.password = takeText(record, kPasswordAt);
    const int grade = quint8(record[kGradeAt]);
    r.grade = grade <= 3 ? UserGrade(grade) : UserGrade::Unknown;
    r.card = takeText(record, kCardAt);
    return r;
}

UsersFile::UsersFile(QString path) : path_(std::move(path)) {}

UsersFile UsersFile::inFolder(const QString& dataFolder) { return UsersFile(dataFolder + QStringLiteral("/s.mpg")); }

bool UsersFile::exists() const { return QFileInfo(path_).isFile(); }

std::vector<UserRecord> UsersFile::readAll() const {
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) throw fileError(file, QStringLiteral("deschis"));
    const QByteArray bytes = file.readAll();
    std::vector<UserRecord> records;
    for (qsizetype at = 0; at + kRecordSize <= bytes.size(); at += kRecordSize)
        records.push_back(decodeUserRecord(bytes.mid(at, kRecordSize)));
    return records;
}

int UsersFile::count() const { return int(QFileInfo(path_).size() / kRecordSize); }

void UsersFile::create(const UserRecord& first) {
    QFile file(path_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) throw fileError(file, QStringLiteral("creat"));
    if (file.write(encodeUserRecord(first)) != kRecordSize) throw fileError(file, QStringLiteral("scris"));
}

void UsersFile::append(const UserRecord& record) {
    // A short last record (a write cut off) is dropped, so the new one starts on a boundary.
    writeAt(count(), encodeUserRecord(record));
}

void UsersFile::overwrite(int index, const UserRecord& record) {
    if (index < 0 || index >= count())
        throw Error(QStringLiteral("Utilizatorul nr. %1 nu exista in fisier").arg(index + 1), path_);
    writeAt(index, encodeUserRecord(record));
}

void UsersFile::removeAt(int index) {
    const int n = count();
    if (index < 0 || index >= n)
        throw Error(QStringLiteral("Utilizatorul nr. %1 nu exista in fisier").arg(index + 1), path_);
    QFile file(path_);
    if (!file.open(QIODevice::ReadWrite)) throw fileError(file, QStringLiteral("deschis"));
    if (index != n - 1) {
        file.seek(qint64(n - 1) * kRecordSize);
        const QByteArray last = file.read(kRecordSize);
        file.seek(qint64(index) * kRecordSize);
        if (last.size() != kRecordSize || file.write(last) != kRecordSize)
            throw fileError(file, QStringLiteral("scris"));
    }
    if (!file.resize(qint64(n - 1) * kRecordSize)) throw fileError(file, QStringLiteral("scurtat"));
}

int UsersFile::indexOfName(const QString& name) const {
    const std::vector<UserRecord> records = readAll();
    for (size_t i = 0; i < records.size(); ++i)
        if (db::sameLetters(records[i].name, name)) return int(i);
    return -1;
}

void UsersFile::writeAt(int index, const QByteArray& bytes) {
    QFile file(path_);
    if (!file.open(QIODevice::ReadWrite)) throw fileError(file, QStringLiteral("deschis"));
    // A record cut off by an interrupted write is dropped before anything is added.
    const qint64 whole = file.size() / kRecordSize * kRecordSize;
    if (file.size() != whole && !file.resize(whole)) throw fileError(file, QStringLiteral("scurtat"));
    if (!file.seek(qint64(index) * kRecordSize) || file.write(bytes) != kRecordSize)
        throw fileError(file, QStringLiteral("scris"));
}

} // namespace vartesa
