#pragma once
// The users file s.mpg of the data folder: one fixed record of 100 bytes per account, no
// header, in the order the accounts were created. Every workstation shares it; it is read
// and written whole records at a time.
//
// Record layout (texts are Windows-1250, the first `length` bytes of a field count):
//
//   offset size  content
//        0    1  length of the user name (0..32)
//        1   32  user name
//       33    1  length of the password field's text
//       34   32  password as stored (see passwords.h: salted hash, or plain text written
//                by an older release, or empty)
//       66    1  grade: 0 ADMIN, 1 OPERATOR DE ROL, 2 CASIER, 3 NECUNOSCUT
//       67    1  length of the card number
//       68   32  card number ("Legitimatia")
//
// Reading is lenient: a length byte above 32 reads as 32, a grade above 3 as NECUNOSCUT,
// and a short last record (a write cut off) is ignored. Writing is strict: texts longer
// than 32 bytes are cut, unused bytes are zero.

#include "shell/services.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace vartesa {

/// One account as kept in the file (and the logged-in user, with the typed password).
struct UserRecord {
    QString name;     // upper case, at most 32 characters
    QString password; // as stored: hashed, plain (older releases) or empty
    UserGrade grade = UserGrade::Unknown;
    QString card;     // card number, upper case

    bool operator==(const UserRecord&) const = default;
};

/// Text of a grade: "ADMIN", "OPERATOR DE ROL", "CASIER", "NECUNOSCUT".
QString GradeText(UserGrade grade);
/// The grade a text names (as GradeText writes it); Unknown for any other text.
UserGrade GradeNamed(const QString& text);

/// Encodes one record into its 100 bytes.
QByteArray encodeUserRecord(const UserRecord& record);
/// Decodes 100 bytes (fewer: the missing bytes read as zero).
UserRecord decodeUserRecord(const QByteArray& bytes);

class UsersFile {
public:
    static constexpr int kRecordSize = 100;
    static constexpr int kFieldSize = 32;

    /// `path` is the users file (it need not exist yet).
    explicit UsersFile(QString path);
    /// The users file of a data folder.
    static UsersFile inFolder(const QString& dataFolder);

    const QString& path() const { return path_; }
    bool exists() const;

    /// Every record in file order. Throws vartesa::Error when the file cannot be opened.
    std::vector<UserRecord> readAll() const;
    /// Number of whole records.
    int count() const;

    /// Creates the file holding only `first`. Throws when it cannot be written.
    void create(const UserRecord& first);
    /// Adds a record at the end.
    void append(const UserRecord& record);
    /// Replaces the record at `index` (0-based) in place.
    void overwrite(int index, const UserRecord& record);
    /// Removes the record at `index`: the last record is copied over it and the file is
    /// shortened by one record, so the order of the others changes.
    void removeAt(int index);

    /// Position of the first record bearing `name` exactly; -1 when none does.
    int indexOfName(const QString& name) const;

private:
    void writeAt(int index, const QByteArray& bytes);

    QString path_; // s.mpg
};

} // namespace vartesa
