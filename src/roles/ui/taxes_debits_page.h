#pragma once
// Page 12 of the role register: the year's taxes and fines entered by hand ("> Amenzi si
// taxe") and the debits raised during the year ("> Debite in timpul anului") of the role.

#include "roles/ledger.h"
#include "roles/ui/record_table_model.h"
#include "roles/ui/role_register_window.h"
#include "roles/year_debit.h"

#include <memory>

class QPushButton;
class QTableView;

namespace vartesa {

class AdminConstants;
class RoleRegister;
class Services;
class TAddImpozit;
class TFTaxe;

class TaxesDebitsPage : public RolePageWidget {
public:
    TaxesDebitsPage(Services& services, AdminConstants& constants, RoleRegister& roles, QWidget* parent = nullptr);
    ~TaxesDebitsPage() override;

    /// Opens both lists for the role; -2 (no role) leaves them empty.
    void loadRole(qint64 id) override;
    qint64 roleId() const { return roleId_; }

    void AddTaxaClick();
    void EditTaxaClick();
    void DelTaxaClick();
    void AddDebClick();
    void EditDebClick();
    void DelDebClick();

    TFTaxe& claimDialog() { return *claimDialog_; }
    TAddImpozit& debitDialog() { return *debitDialog_; }

    QTableView* TaxeGrid;
    QTableView* DebiteGrid;
    QPushButton* AddTaxa;
    QPushButton* EditTaxa;
    QPushButton* DelTaxa;
    QPushButton* AddDeb;
    QPushButton* EditDeb;
    QPushButton* DelDeb;

private:
    void reloadLines(qint64 at);
    void reloadDebits(qint64 at);
    const LedgerLine* currentLine() const;
    const YearDebit* currentDebit() const;
    bool legalPerson() const;

    Services& s_;
    RoleRegister& roles_;
    DebtsLedger ledger_;
    YearDebits debits_;
    RecordTableModel<LedgerLine>* lines_;
    RecordTableModel<YearDebit>* debitRows_;
    std::unique_ptr<TFTaxe> claimDialog_;
    std::unique_ptr<TAddImpozit> debitDialog_;
    qint64 roleId_ = -2;
};

} // namespace vartesa
