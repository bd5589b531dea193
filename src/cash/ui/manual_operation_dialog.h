#pragma once
// TFAddOper ("Adaugare operatiune" / "Modificare Operatiune"): a payment or collection typed
// by hand into the cash register.

#include "cash/cash_register.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

namespace vartesa {

class Services;

class TFAddOper : public QDialog {
public:
    explicit TFAddOper(Services& services, QWidget* parent = nullptr);

    /// Shows the dialog modally over `operation` (changed when confirmed); `adding` chooses
    /// the title. True when "&Memoreaza" closed it.
    bool EditOperation(ManualOperation& operation, bool adding);
    /// Everything showing does before the window opens.
    void prepare(const ManualOperation& operation, bool adding);
    /// What the fields hold now.
    ManualOperation operation() const;

    /// "&Memoreaza": closes the dialog when the document and the amount are filled.
    void MemoreazaBClick();

    QComboBox* DocJusCombo; // "Document justificativ", free text of at most 50 characters
    QComboBox* TipCombo;    // "Tipul operatiunii": "INCASARE" or "PLATA"
    QLineEdit* SumaEd;      // "Suma (lei)", at most 6 digits
    QDateEdit* DataEd;      // "din data"
    QPushButton* MemoreazaB;
    QPushButton* RenuntB;

private:
    Services& s_;
};

} // namespace vartesa
