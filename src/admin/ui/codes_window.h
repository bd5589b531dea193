#pragma once
// "Nomenclator Coduri clasificare bugetara": the claims and their budget accounts, and the
// dialog "Cod clasificare" that adds or changes one.

#include "admin/budget_codes.h"

#include <QDialog>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;

namespace vartesa {

class Messages;
class Services;

/// The claim dialog: name and the two accounts, checked by "Memoreaza".
class TFCodClas : public QDialog {
public:
    TFCodClas(BudgetCodes& codes, Messages& messages, QWidget* parent = nullptr);
    /// Opens empty for a new claim; true when "Memoreaza" accepted.
    bool showForAdd();
    /// Opens on a row with its name read-only; true when "Memoreaza" accepted.
    bool showForModify(const BudgetCode& row);

    QString name() const;
    QString personAccount() const;
    QString companyAccount() const;
    /// "Memoreaza": cleans the texts and runs the checks; a failed check shows its balloon.
    void MemoreazaClick();

    QLineEdit* nameField() const { return name_; }
    QLineEdit* personField() const { return person_; }
    QLineEdit* companyField() const { return company_; }

private:
    BudgetCodes& codes_;
    Messages& messages_;
    qint64 editingId_ = 0; // row being changed; 0 when adding
    QLabel* heading_;
    QLineEdit* name_;    // "Denumirea creantei"
    QLineEdit* person_;  // "Cont P.Fizica"
    QLineEdit* company_; // "Cont P.Juridica"
    QPushButton* save_;  // "Memoreaza"
};

class TFCoduri : public QDialog {
public:
    TFCoduri(Services& services, QWidget* parent = nullptr);
    ~TFCoduri() override;
    /// Reads the table and shows the window modally.
    void OpenCodesWindow();
    /// Reads the rows again and makes the row with `id` current (the first row when 0).
    void reload(qint64 id = 0);

    void AdaugaClick();
    void ModificaClick();
    void StergeClick();

    QTableView* grid() const { return grid_; }
    TFCodClas& dialog() { return dialog_; }
    /// IDCOD of the current row, 0 when the grid is empty.
    qint64 currentId() const;

protected:
    /// Enter on the grid means "Modifica".
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool refusedByYearLock();

    Services& services_;
    std::unique_ptr<CountersFile> counters_; // of the data folder
    std::unique_ptr<BudgetCodes> codes_; // the table
    TFCodClas dialog_;
    QStandardItemModel* model_;
    QSortFilterProxyModel* sorted_;      // a click on a column title sorts by it
    QTableView* grid_;
};

} // namespace vartesa
