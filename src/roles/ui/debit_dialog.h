#pragma once
// "Impozite" (TAddImpozit): one debit raised during the year for a role: the tax, the kind
// of change, the date, the document, the amount and the object in the detail form of the
// tax. The dialog writes no table; the caller reads entry() after a confirmed close.

#include "roles/ui/debit_detail_forms.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vartesa {

class AdminConstants;
class EnterNavigation;
class Services;

class TAddImpozit : public QDialog {
public:
    TAddImpozit(Services& services, AdminConstants& constants, QWidget* parent = nullptr);

    /// Today's date, the first tax, "Cumparare", empty texts, 0 amounts and the detail forms'
    /// defaults, in the forms of a legal person or not.
    void ResetDebitDialog(bool legalPerson);
    /// The values of a stored debit, for changing it.
    void FillDebitDialog(const DebitEntry& entry, bool legalPerson);
    /// Sets the title line and shows the dialog; true only when "&Memoreaza" accepted.
    bool ShowDebitDialog(const QString& title);

    void MemoreazaClick();
    /// Opens the classification codes; when not set, a codes window of its own.
    std::function<void()> openCodesWindow;

    /// The accepted values, tidied and checked by the last "&Memoreaza".
    const DebitEntry& entry() const { return entry_; }
    DebitForm form() const { return Detalii->form(); }

    QLabel* TitluL;
    QDateEdit* DINDATA;
    QComboBox* Impozit;
    QComboBox* Categoria;
    QLabel* BDLabel;
    QLineEdit* DOCJUS;
    QLineEdit* Numarul;
    QLineEdit* Valoare;
    DebitDetailForms* Detalii;
    QPushButton* MemoreazaBut;

private:
    DebitEntry typedEntry() const;
    void showFormOfTax();
    void installEnterWalk();

    Services& services_;
    AdminConstants& constants_;
    bool legalPerson_ = false;
    DebitEntry entry_;
    EnterNavigation* walk_ = nullptr; // rebuilt with the detail form's fields
};

} // namespace vartesa
