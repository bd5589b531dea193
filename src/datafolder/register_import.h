#pragma once
// The import from the agricultural register: its households become roles (matched by village
// and role number), their land the extravilan and intravilan pages, their buildings the
// building page; then every role gets the page rows it lacks. The register comes from
// outside, so everything about it is checked before anything is written: the archive whole
// and its names plain, every table whole, no role number twice in a village. The import
// itself is one transaction: the data folder takes all of it or none of it, and the same
// register imported again changes nothing.
//
// The steps, shared by the manual import (a ".rg2" backup) and the daily one (a copy of the
// register's folder): unpack or copy into a work folder, read the copy (ReadRegisterCopy,
// which keeps the working year's land and counts the households), look for duplicates
// (DuplicateProblem), then ImportRegister.

#include "db/error.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <map>
#include <vector>

namespace vartesa {

class Progress;
class Services;
struct ArchiveProgress;

/// Extension of the register's backups.
inline const QString kRegisterBackupSuffix = QStringLiteral(".rg2");

/// A refusal of the whole register: its message window's title and text (lines split at
/// "\r"). Nothing of the data folder was written.
class RegisterRefused : public Error {
public:
    RegisterRefused(const QString& title, const QString& text) : Error(text, title), title(title) {}
    QString title; // heading of the message window
};

/// One household of the register as the import reads it.
struct RegisterHousehold {
    qint64 idid = 0;       // IDID
    QString village;       // LOCALIT of its volume, upper case, spaces collapsed
    QString number;        // ROL, upper case, spaces collapsed
    QString name;          // NUME1 / NUME3 / NUME4 by the volume's kind
    QString code;          // CNP1 or NUIR
    QString address;       // "str. <street> nr.<number>"
    int kind = 0;          // TIPRA of its volume; 0 without volume
    QString refusal;       // why it is not imported; empty when it is
    QStringList warnings;  // what was changed on the way in
};

/// A building of CAP11 for the working year.
struct RegisterBuilding {
    qint64 order = 0;      // RAND
    qint64 area = 0;       // built area, hundredths of m2
    QString type;          // TIP<n>, trimmed, upper case
    qint64 year = 0;       // ANULT<n>
};

/// The land of Cap2A for the working year: m2 per register column 1..16.
struct RegisterLand {
    qint64 extra[17] = {}; // EXTRA<n>, n = 1..16 (index 0 unused)
    qint64 intra[17] = {}; // INTRA<n>
};

/// The register copy as read: households in IDID order, with their land and buildings.
struct RegisterCopy {
    int year = 0;                                          // the working year
    std::vector<RegisterHousehold> households;              // every row of Identificare.dbf
    std::map<qint64, RegisterLand> land;                    // by IDID; the year's row
    std::map<qint64, std::vector<RegisterBuilding>> buildings; // by IDID, in RAND order
    /// Households the import will take (not refused).
    int positions() const;
};

/// What to take (the tick boxes of the choice "Preluare Date RA 2015").
struct RegisterChoice {
    bool land = true;      // "Preia terenurile"
    bool buildings = true; // "Preia constructiile"
};

/// What became of a row.
enum class RowChange { None, Added, Modified, Unchanged, Refused };
/// "ADAUGAT", "MODIFICAT", "NESCHIMBAT", "REFUZAT"; "" for None.
QString RowChangeText(RowChange change);

/// One line of the import's report: a household of Identificare.dbf.
struct RegisterReportRow {
    qint64 idid = 0;
    QString village;
    QString number;
    qint64 idgos = 0;            // the role; 0 when refused or a new role of a dry run
    RowChange role = RowChange::None;
    RowChange page1 = RowChange::None; // None: not imported
    RowChange page4 = RowChange::None;
    RowChange page2 = RowChange::None;
    QString note;                // refusal reason or warnings
};

struct RegisterImportResult {
    std::vector<RegisterReportRow> rows; // in IDID order
    int added = 0, modified = 0, unchanged = 0, refused = 0;
    int completed = 0;                   // page rows the completion added
};

/// The machine folder + "/TEMP/RA": where the manual import unpacks a backup.
QString RegisterUnpackFolder(const Services& services);

/// Checks that `archive` is a register backup (the extension ".rg2", an existing file) and
/// unpacks it, flattened, into `folder` (emptied and created first). The archive is read
/// through first: a damaged one, a refused name or one file twice writes nothing into it.
/// Throws RegisterRefused ("Preluare date" for a file that is no backup, "Preluare date RA
/// 2015" / "Preluare esuata !" for the rest).
void UnpackRegisterBackup(const QString& archive, const QString& folder, const ArchiveProgress& progress);

/// Reads the copy in `folder` for the working `year`. A table that is missing gives no
/// household (Identificare, Volume) or no land or buildings (Cap2A, CAP11); a damaged one
/// throws vartesa::Error.
RegisterCopy ReadRegisterCopy(const QString& folder, int year);

/// The text of an empty register: "Baza de date specificata este goala" ... on two lines.
QString EmptyRegisterText();
/// The text of the first group (in village, role order) of households sharing a village and a
/// role number; empty when there is none.
QString DuplicateProblem(const RegisterCopy& copy);

/// Imports the copy into the data folder of `services` as one transaction and returns the
/// report. `dryRun` writes nothing and draws no identifier. Throws RegisterRefused for an
/// empty register or duplicates, vartesa::Error for anything else (nothing written). After
/// the commit the village list Sate.lst is rewritten from the roles.
RegisterImportResult ImportRegister(Services& services, const RegisterCopy& copy, const RegisterChoice& choice,
                                    Progress& progress, bool dryRun = false);

/// Copies every file of the register folder `source` into `workFolder` (emptied and created
/// first), as the daily import does. Throws RegisterRefused ("Actualizare din RA") when the
/// folder is missing or a file cannot be copied.
void CopyRegisterFolder(const QString& source, const QString& workFolder);

/// The manual import of a backup: unpacked into `unpackFolder`, read for the data folder's
/// working year, imported, the action logged ("Preluare date din salvare RA2015."); the
/// unpack folder is removed whatever happens. Throws as the steps do.
RegisterImportResult ImportRegisterBackup(Services& services, const QString& archive, const QString& unpackFolder,
                                          const RegisterChoice& choice, bool dryRun = false);
/// The same from a register folder copied into `workFolder` first.
RegisterImportResult ImportRegisterFolder(Services& services, const QString& source, const QString& workFolder,
                                          const RegisterChoice& choice, bool dryRun = false);

} // namespace vartesa
