#pragma once
// The counters file Vartesa.set of the data folder: identifier counters, receipt series and
// numbers, options. INI text in Windows-1250 with CRLF line ends, as every workstation
// sharing the folder expects. Section and key names match without regard to case ("SERVER"
// and "Server" are one section). Rewriting keeps every other line byte for byte.
//
// Writes are serialised between workstations with a lock in the folder's lock file, and the
// file is replaced in one rename, so a reader always sees a whole file. NextId reads and
// writes under that lock: two workstations drawing the same counter never get one value.

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace vartesa {

class CountersFile {
public:
    /// `path` is the counters file (it need not exist yet). A copy a save left beside it
    /// ("Vartesa.set-new": the save failed or was killed before the copy replaced the file)
    /// is removed: no value was handed out from it, so the file itself holds every counter.
    explicit CountersFile(const QString& path);

    const QString& path() const { return path_; }

    /// The stored text, or `fallback` when the key is missing or empty (or there is no file).
    QString ReadCounter(const QString& section, const QString& key, const QString& fallback = {}) const;
    /// Stores the text; creates the file and the section when missing.
    void WriteCounter(const QString& section, const QString& key, const QString& value);
    /// Returns the stored number (missing or empty counts as "1") and stores it + 1.
    /// Throws vartesa::Error, writing nothing, when the value is not a whole number.
    QString NextId(const QString& section, const QString& key);
    /// Draws `count` consecutive identifiers in one write: returns the first of them and
    /// stores first + count. Long runs (the assessment of every village) take their line
    /// identifiers in blocks this way instead of rewriting the file for each line.
    qint64 NextIds(const QString& section, const QString& key, qint64 count);
    /// NextId on each (section, key), in one write: each write syncs the file, which a
    /// payment drawing its operation, document and receipt numbers feels. Throws, writing
    /// nothing, when any value is not a whole number.
    std::vector<qint64> NextIdEach(const std::vector<std::pair<QString, QString>>& counters);
    /// Stores `atLeast` when the counter holds less (missing counts as "1"); never lowers it.
    /// A number given out from the stored documents, not drawn here, is recorded this way.
    void RaiseCounter(const QString& section, const QString& key, qint64 atLeast);

    /// How long a write waits for another workstation's lock.
    void setLockTimeout(int milliseconds) { lockTimeoutMs_ = milliseconds; }

private:
    QString path_;            // Vartesa.set
    int lockTimeoutMs_ = 15000;
};

/// Parses and edits INI text, keeping everything not edited as it was.
class IniText {
public:
    explicit IniText(const QString& text);
    QString value(const QString& section, const QString& key, bool* found = nullptr) const;
    void setValue(const QString& section, const QString& key, const QString& value);
    QString text() const;

private:
    QStringList lines_;       // each line with its own line end
};

} // namespace vartesa
