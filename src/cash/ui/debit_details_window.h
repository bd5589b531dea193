#pragma once
// TFDetaliiDebite: what a role's debits are made of, read-only (see cash/debit_details.h).

#include "cash/debit_details.h"

#include <QDialog>

class QTableView;

namespace vartesa {

class Services;
class DebitDetailsModel;

class TFDetaliiDebite : public QDialog {
public:
    explicit TFDetaliiDebite(Services& services, QWidget* parent = nullptr);

    /// Shows the details of role `idgos` modally under `title`.
    void ShowDebitDetails(const QString& title, qint64 idgos);
    /// Everything showing does before the window opens.
    void prepare(const QString& title, qint64 idgos);

    QTableView* Grid;

private:
    Services& s_;
    DebitDetailsModel* model_;
};

} // namespace vartesa
