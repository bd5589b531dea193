#pragma once
// "Verificari / Modificari manuale" (TFVerificari): the administrator browses and edits the
// debt lines and balances directly and lists roles that hold a line twice. The model and
// the statements are shell/verification.h.

#include "datafolder/verification.h"

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QTableView;

namespace vartesa {

class Services;

class TFVerificari final : public QDialog {
public:
    explicit TFVerificari(Services& services, QWidget* parent = nullptr);
    ~TFVerificari() override;

    /// Clears the status line and shows the window modally; closes both grids' data after.
    void OpenVerificationWindow();

    /// "Baza Datorii".
    void Verif1BClick();
    /// "Baza Solduri".
    void ConvexBtn1Click();
    /// Typing in "ROL".
    void RolXChange();
    /// "Dubluri Datorii".
    void DubluriDatP();
    /// "Dubluri Solduri".
    void DubluriSold();
    /// Ctrl+Delete in the upper grid: deletes the current row after a question.
    void DeleteCurrentRow();
    /// "Tabele deteriorate": lists the tables of the data folder the engine refuses.
    void DamagedTablesClick();
    /// "Repara tabela": after a question, mends the record count of the table chosen in that
    /// list and says what it found and did.
    void RepairTableClick();

    TableEditModel& tableModel() { return table_; }
    db::QueryModel& duplicatesModel() { return *duplicates_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openTable(const QString& file, const QString& status);
    void showDuplicates(Duplicates which);
    void rowLeft(const QModelIndex& current, const QModelIndex& previous);

    Services& s_;
    TableEditModel table_;          // the upper grid's table cursor
    db::QueryModel* duplicates_;    // the lower grid's query
    QLineEdit* rol_;                // RolX
    QTableView* upper_;             // DBGrid1
    QTableView* lower_;             // DBGrid2
    QLabel* status_;                // ExplicP
    QListWidget* damaged_;          // TabeleDeteriorate: the damaged tables, by file name
};

} // namespace vartesa
