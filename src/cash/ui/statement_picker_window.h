#pragma once
// TBordSelect ("Borderouri", "Alegeti Borderoul dorit"): the clerk picks one debit statement
// and the period to show; the debit-statement lists read the choice.

#include "cash/debit_statements.h"

#include <QDate>
#include <QDialog>

class QDateEdit;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace vartesa {

class Services;

/// What the clerk chose.
struct StatementChoice {
    QString type;      // "BD" or "BS"
    qint64 number = 0; // the statement's number
    QDate from, to;    // "Perioada de afisat"
};

class TBordSelect : public QDialog {
public:
    explicit TBordSelect(Services& services, QWidget* parent = nullptr);

    /// Shows the statements modally; true with `choice` filled when one was chosen. Without
    /// any statement the clerk is told and nothing is shown.
    bool ChooseStatement(StatementChoice& choice);
    /// Reads the statements and positions on the last; false when there is none to choose.
    bool prepare();

    /// "Am ales", Enter or a double click in the grid.
    void AmAlesBClick();

    QTableView* Grid;
    QDateEdit* DeLaEd;   // "Perioada de afisat": from
    QDateEdit* PanaLaEd; // to
    QPushButton* AmAlesB;

private:
    Services& s_;
    QStandardItemModel* model_;
    StatementChoice choice_;
};

} // namespace vartesa
