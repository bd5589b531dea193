#pragma once
// TFRegCasa ("Registrul de casa"): the cash of one day (and cashier) with the balance carried
// from the days before, the manual payments and collections, and the buttons of the register's
// lists and summaries.

#include "cash/cash_register.h"
#include "cash/cash_summaries.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTableView;

namespace vartesa {

class Services;
class RegisterRowsModel;
class TFAddOper;
class TFAlegePerioada;

class TFRegCasa : public QDialog {
public:
    TFRegCasa(Services& services, TFAlegePerioada& period, QWidget* parent = nullptr);

    /// Builds the working register and shows the screen modally until "Inchide" or Escape.
    void OpenCashRegister();
    /// Everything opening does before the window shows; false when it could not be built.
    bool prepare();

    // Handlers, named after their components.
    void FilterChange();   // "Din data" or "Operator" changed, or a manual change was made
    void AdaugaBClick();   // "Adauga incasare/plata", Enter in the grid
    void ModificaBClick(); // "Modifica incasare/plata", a double click on a row
    void StergeBClick();   // "Sterge incasare/plata"
    void ListeazaBClick(); // "Listeaza Registru de casa"
    /// A list of a period: asks the period, builds the list and hands it to the desktop.
    void RunSummary(SummaryKind kind);

    CashRegister& cashRegister() { return register_; }
    const RegisterDay& day() const { return day_; }

    QDateEdit* DataEd;        // "Din data"
    QComboBox* Casier;        // "Operator"
    QTableView* Grid;
    QLabel* TotalIncasatLab;  // "Total incasat"
    QLabel* TotalPlatitLab;   // "Total platit"
    QLabel* SoldPrecLab;      // previous balance
    QLabel* SoldRapLab;       // balance to carry
    QPushButton* AdaugaB;
    QPushButton* ModificaB;
    QPushButton* StergeB;
    QPushButton* ListeazaB;
    QPushButton* InchideB;

private:
    QWidget* buildButtons();
    QPushButton* button(const char* name, const QString& caption);
    const RegisterRow* selectedRow() const;
    bool refused(const std::optional<Refusal>& refusal, QWidget* anchor);
    void applyFilter();

    Services& s_;
    TFAlegePerioada& period_;
    TFAddOper* operation_;
    RegisterRowsModel* model_;
    CashRegister register_;
    RegisterDay day_;         // what the grid shows
    bool filtering_ = false;  // a filter run is under way
    bool filterAgain_ = false; // a change arrived during it
};

/// "Centralizator compensari" of the main menu: the period, then the summary.
void RunCompensationSummary(Services& services, TFAlegePerioada& period);

} // namespace vartesa
