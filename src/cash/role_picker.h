#pragma once
// The role picker of the collections ("Alegere ROL") as a plain model: a snapshot of the
// register taken when collections start, the six filters, the order of the list and the
// current role.
//
// Names, codes and addresses are compared in the engine's upper case, which folds the
// Romanian letters (and their two written forms) alike. A name matches anywhere; a code
// and an address match at their start.

#include <QString>
#include <QStringList>

#include <vector>

namespace vartesa {

namespace db {
class Database;
}

/// What "every" reads in the village list and in the list of legal forms.
inline const QString kAnyVillage = QStringLiteral(" * indiferent *");
inline const QString kAnyForm = QStringLiteral("* indiferent *");

/// One role of the snapshot.
struct PickerRole {
    qint64 id = 0;    // IDGOS
    QString village;  // SATUL
    QString number;   // ROL
    QString name;     // NUMEP
    QString code;     // CNP
    QString address;  // ADRESA
    QString form;     // TIP: "FIZICA" or "JURIDICA"
};

/// The filter controls as the clerk left them.
struct PickerFilter {
    QString village; // "Localitate": kAnyVillage or a village
    QString name;    // "Nume si prenume": contained in the name
    QString code;    // "CNP": the code's start
    QString number;  // "ROL": the whole role number
    QString address; // "Adresa": the address's start
    QString form;    // "Forma jurid.": kAnyForm, "FIZICA" or "JURIDICA"
};

/// The grid's columns, in order.
enum class PickerColumn { Village, Number, Name, Code, Address, Form };

class RolePicker {
public:
    explicit RolePicker(db::Database& db) : db_(db) {}

    /// Reads every role of the register (GOSPODAR.dbf of `dataFolder`) into the snapshot and
    /// lets all of them through, ordered by name.
    void takeSnapshot(const QString& dataFolder);
    /// Forgets the snapshot (collections ended).
    void clear();
    int total() const { return int(rows_.size()); }
    /// The distinct villages of the snapshot, in order.
    QStringList villages() const;

    /// Lets through the roles the filter allows, in the order in force; the current row
    /// becomes the last one.
    void apply(const PickerFilter& filter);
    /// Orders the list by a column, keeping the current role current.
    void sortBy(PickerColumn column);

    int count() const { return int(shown_.size()); }
    const PickerRole& role(int row) const { return rows_[size_t(shown_[size_t(row)])].role; }
    /// Current row, -1 when the list is empty.
    int current() const { return current_; }
    void setCurrent(int row);
    const PickerRole* currentRole() const { return current_ < 0 ? nullptr : &role(current_); }

private:
    struct Row {
        PickerRole role;
        QString upperVillage, upperName, upperCode, upperAddress; // through the engine's UPPER
    };
    QString upper(const QString& text) const;
    bool lets(const Row& row, const PickerFilter& upperFilter) const;
    void order();

    db::Database& db_;
    std::vector<Row> rows_;  // the snapshot, in the register's order
    std::vector<int> sorted_; // indexes into rows_ of every role, in list order
    std::vector<int> shown_;  // those let through, in list order
    PickerColumn order_ = PickerColumn::Name;
    int current_ = -1;
};

} // namespace vartesa
