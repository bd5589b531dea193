#include "admin/users_admin.h"

#include "db/database.h"
#include "db/cp1250.h"
#include "db/error.h"
#include "db/query.h"
#include "db/sql_text.h"
#include "shell/counters.h"
#include "shell/file_helpers.h"
#include "shell/passwords.h"
#include "shell/text_helpers.h"

#include <QFile>

namespace vartesa {

namespace {

const QString kSeries = QStringLiteral("SERIA");
const QString kNumber = QStringLiteral("CHIT");
const QString kAdmin = QStringLiteral("ADMIN");

} // namespace

UsersList::UsersList(Services& services) : s_(services) {}

UsersList::~UsersList() {
    try {
        drop();
    } catch (...) {
        // A table another program holds stays behind; FreeTempFileName reuses the name later.
    }
}

void UsersList::drop() {
    if (path_.isEmpty()) return;
    const QString path = path_;
    path_.clear();
    if (s_.database().tableExists(path)) s_.database().exec(QStringLiteral("DROP TABLE ") + db::quoteIdentifier(path));
    QFile::remove(path);
}

void UsersList::build() {
    drop();
    const QString path = FreeTempFileName(s_.folders.program, QStringLiteral("U"), QStringLiteral(".dbf"));
    if (path.isEmpty())
        throw Error(QStringLiteral("Nu mai exista nume libere pentru tabelele de lucru in ") + s_.folders.program);
    s_.database().exec(QStringLiteral("CREATE TABLE ") + db::quoteIdentifier(path) +
                       QStringLiteral(" (NUME CHAR(32), PAROLA CHAR(32), GRAD CHAR(16), LEGIT CHAR(32), "
                                      "SERIA CHAR(10), NR CHAR(9))"));
    path_ = path;
    const UsersFile file = UsersFile::inFolder(s_.folders.data);
    if (!file.exists()) return;
    const CountersFile counters = s_.counters();
    db::Transaction t(s_.database());
    for (const UserRecord& r : file.readAll()) {
        if (r.name == s_.user) continue;
        insertRow({r.name, r.password, GradeText(r.grade), r.card, counters.ReadCounter(r.name, kSeries),
                   counters.ReadCounter(r.name, kNumber, QStringLiteral("1"))});
    }
    t.commit();
}

void UsersList::insertRow(const UserListRow& row) {
    s_.database().exec(QStringLiteral("INSERT INTO ") + db::quoteIdentifier(path_) +
                           QStringLiteral(" (NUME, PAROLA, GRAD, LEGIT, SERIA, NR) VALUES (?, ?, ?, ?, ?, ?)"),
                       {row.name, row.password, row.grade, row.card, row.series, row.number});
}

std::vector<UserListRow> UsersList::rows() const {
    std::vector<UserListRow> rows;
    if (path_.isEmpty()) return rows;
    db::Query q = s_.database().query(QStringLiteral("SELECT NUME, PAROLA, GRAD, LEGIT, SERIA, NR FROM ") +
                                      db::quoteIdentifier(path_) + QStringLiteral(" ORDER BY NUME"));
    for (q.first(); !q.eof(); q.next())
        rows.push_back({q.text("NUME"), q.text("PAROLA"), q.text("GRAD"), q.text("LEGIT"), q.text("SERIA"),
                        q.text("NR")});
    return rows;
}

db::Query UsersList::gridQuery() const {
    return s_.database().query(QStringLiteral("SELECT NUME AS \"Numele\", GRAD AS \"Rangul\", LEGIT AS \"Legitim.\", "
                                              "SERIA AS \"Seria\", NR AS \"Nr. chitanta\" FROM ") +
                               db::quoteIdentifier(path_) + QStringLiteral(" ORDER BY NUME"));
}

bool UsersList::isEmpty() const { return rows().empty(); }

QString UsersList::CheckEntry(UserEntry& entry, bool adding) const {
    entry.name = db::storedLetters(CollapseSpaces(entry.name)).left(UsersFile::kFieldSize);
    entry.card = CollapseSpaces(entry.card).left(UsersFile::kFieldSize);
    entry.series = CollapseSpaces(entry.series).left(10);
    if (entry.name.isEmpty()) return QStringLiteral("Lipseste numele!");
    if (adding) {
        const UsersFile file = UsersFile::inFolder(s_.folders.data);
        if (file.exists())
            for (const UserRecord& r : file.readAll())
                if (db::sameLetters(r.name, entry.name)) return QStringLiteral("Acest nume mai exista!");
    }
    return {};
}

QString UsersList::CannotModify(const QString& name) const {
    if (isEmpty()) return QStringLiteral("Nu aveti ce modifica!");
    if (name == kAdmin) return QStringLiteral("Acest utilizator nu poate fi modificat!");
    return {};
}

QString UsersList::CannotDelete(const QString& name) const {
    if (isEmpty()) return QStringLiteral("Nu prea mai aveti ce sterge...");
    // The first account is the one a lost administrator password is recovered through.
    if (name == kAdmin) return QStringLiteral("Acest utilizator nu poate fi sters!");
    if (isLastAdministrator(name)) return QStringLiteral("Ultimul administrator nu poate fi sters!");
    return {};
}

QString UsersList::CannotRegrade(const UserEntry& entry) const {
    if (entry.grade != UserGrade::Admin && isLastAdministrator(entry.name))
        return QStringLiteral("Ultimul administrator ramane ADMIN!");
    return {};
}

// `name` is an administrator and no other account of the users file is one.
bool UsersList::isLastAdministrator(const QString& name) const {
    const UsersFile file = UsersFile::inFolder(s_.folders.data);
    if (!file.exists()) return false;
    bool named = false;
    int administrators = 0;
    for (const UserRecord& r : file.readAll()) {
        if (r.grade != UserGrade::Admin) continue;
        ++administrators;
        named = named || r.name == name;
    }
    return named && administrators == 1;
}

void UsersList::writeReceiptCounters(const UserEntry& entry) {
    CountersFile counters = s_.counters();
    counters.WriteCounter(entry.name, kSeries, entry.series);
    counters.WriteCounter(entry.name, kNumber, entry.fromNumber.isEmpty() ? QStringLiteral("1") : entry.fromNumber);
}

void UsersList::Add(const UserEntry& entry) {
    const QString number = entry.fromNumber.isEmpty() ? QStringLiteral("1") : entry.fromNumber;
    const QString password = entry.setPassword ? hashPassword(entry.password) : QString();
    insertRow({entry.name, password, GradeText(entry.grade), entry.card, entry.series, number});
    UsersFile::inFolder(s_.folders.data).append({entry.name, password, entry.grade, entry.card});
    writeReceiptCounters(entry);
}

void UsersList::Modify(const UserEntry& entry) {
    UsersFile file = UsersFile::inFolder(s_.folders.data);
    const int at = file.exists() ? file.indexOfName(entry.name) : -1;
    if (at < 0)
        throw Error(QStringLiteral("Utilizatorul %1 nu mai exista in fisierul utilizatorilor.").arg(entry.name),
                    file.path());
    UserRecord record = file.readAll().at(size_t(at));
    record.grade = entry.grade;
    record.card = entry.card;
    if (entry.clearPassword) record.password.clear();
    if (entry.setPassword) record.password = hashPassword(entry.password);
    file.overwrite(at, record);

    const QString number = entry.fromNumber.isEmpty() ? QStringLiteral("1") : entry.fromNumber;
    s_.database().exec(QStringLiteral("UPDATE ") + db::quoteIdentifier(path_) +
                           QStringLiteral(" SET GRAD = ?, LEGIT = ?, SERIA = ?, NR = ?, PAROLA = ? WHERE NUME = ?"),
                       {GradeText(entry.grade), entry.card, entry.series, number, record.password, entry.name});
    writeReceiptCounters(entry);
}

bool UsersList::Delete(const QString& name) {
    if (!s_.messages().askYesNoDefaultNu(QStringLiteral("Stergere utilizator"),
                                QStringLiteral("Chiar il stergem pe ") + name + QStringLiteral("?"),
                                MessageKind::Warning))
        return false;
    s_.database().exec(QStringLiteral("DELETE FROM ") + db::quoteIdentifier(path_) + QStringLiteral(" WHERE NUME = ?"),
                       {name});
    UsersFile file = UsersFile::inFolder(s_.folders.data);
    const int at = file.exists() ? file.indexOfName(name) : -1;
    if (at >= 0) file.removeAt(at);
    return true;
}

} // namespace vartesa
