#pragma once
// The action log Log.dbf, kept twice: in the data folder (the whole database's history) and
// in the program folder (this machine's).

#include <QString>
#include <QVariantList>

namespace vartesa {

class Clock;
namespace db {
class Database;
}

class ActionLog {
public:
    ActionLog(db::Database& db, const QString& dataFolder, const QString& programFolder, const Clock& clock);

    /// Name written with every action: the logged-in user, upper case.
    void setUser(const QString& user) { user_ = user.toUpper(); }
    const QString& user() const { return user_; }

    /// Appends one row to the data folder's log, then the same row to this machine's, each
    /// created first when missing. Values longer than their field are cut.
    void LogAction(const QString& rol, const QString& action);

    /// Path of the data folder's log (`whole`) or this machine's.
    QString logPath(bool whole) const;

private:
    void append(const QString& path, const QVariantList& row);

    db::Database& db_;       // engine over both folders
    QString dataFolder_;     // the shared database
    QString programFolder_;  // this machine
    const Clock& clock_;     // date and time of each action
    QString user_;           // logged-in user
};

} // namespace vartesa
