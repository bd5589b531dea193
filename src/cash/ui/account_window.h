#pragma once
// TGospodarieF ("Incasari"): the cashier's workplace for one role. The header names the
// role; the three grids show, for the calculation date, what it owes on the local taxes,
// the debits of the year and the other taxes and fines; the cashier types in "ACHITA" what
// is paid on each line and the footer sums it into "Valoare chitanta".
//
// The buttons that open screens of other parts of the program stay disabled until those
// screens are attached (attach()); "&OPEREAZA" is attached by the payment operation.

#include "cash/account.h"

#include <QDialog>
#include <QHash>

#include <functional>
#include <memory>

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;

namespace vartesa {

class AccountGridModel;
class AdminConstants;
class Services;
class TFDetaliiDebite;
class TFTaxe;

class TGospodarieF : public QDialog {
public:
    TGospodarieF(Services& services, AdminConstants& constants, QWidget* parent = nullptr);
    ~TGospodarieF() override;

    /// OpenRoleAccount: opens the screen modally for the role chosen in the picker and
    /// returns when it is closed.
    void OpenRoleAccount(qint64 idgos, const QString& village);
    /// Everything opening does before the window shows: today's date, the header, the
    /// grids, the year lock.
    void prepareOpening(qint64 idgos, const QString& village);

    /// Gives a button (by objectName: "OperBut", "IstClickB", "DetaliiAutoB", "PagRolB",
    /// "CertifBut", "FaraDebB", "Button1", or a menu entry of "Executare silita":
    /// "SomatieTitlu", "PoprireBanca", "PoprireAngajator") the action it runs and enables it.
    void attach(const QString& name, std::function<void()> action);

    // Handlers, named after their components.
    /// The calculation date changed, or stored amounts did: the grids are computed again
    /// and the typed amounts are cleared.
    void CalcOm();
    void AddTaxaBClick();
    /// Commits an amount still being typed in a grid, so the entry rules apply to it.
    void postPendingEdits();
    void DetaliiDebClick();

    const AccountRole& accountRole() const { return role_; }
    AccountGrids& grids() { return grids_; }
    AccountGridModel* model(AccountGrid grid) const;
    TFTaxe& claimDialog() { return *claimDialog_; }
    TFDetaliiDebite& detailsWindow() { return *details_; }
    /// The year was locked when the screen opened.
    bool yearLocked() const { return locked_; }

    QDateEdit* DataCalc;
    QLabel* RolL;
    QLineEdit* Localitatea;
    QLineEdit* CNP;
    QLineEdit* ADRESA;
    QLineEdit* TIP;
    QLabel* NotaxL;
    QLineEdit* NOTAX;
    QCheckBox* SCCLAD;
    QCheckBox* SCCC;
    QCheckBox* SCTI;
    QCheckBox* SCAUTO;
    QLineEdit* SCTE;
    QLineEdit* OBS;
    QTableView* ImpoziteGrid;
    QTableView* DebiteGrid;
    QTableView* TaxeGrid;
    QLabel* TotPlata1;
    QLabel* TotalAchitatL;
    QPushButton* OperBut;
    QPushButton* AddTaxaB;
    QPushButton* IstClickB;
    QPushButton* DetaliiDeb;
    QPushButton* DetaliiAutoB;
    QPushButton* PagRolB;
    QPushButton* CertifBut;
    QPushButton* SomBut;
    QPushButton* FaraDebB;
    QPushButton* Button1;
    QMenu* SomMenu;

private:
    QWidget* buildHeader();
    QWidget* buildGrids();
    QWidget* buildButtons();
    QTableView* buildGrid(AccountGrid grid, const char* name);
    void showHeader();
    void showGrids();
    void applyRights();
    void SumEnteredAmountsChanged();

    Services& s_;
    AdminConstants& constants_;
    AccountRole role_;
    AccountGrids grids_;
    QString village_;                 // "Localitatea": the village chosen in the picker
    bool locked_ = false;             // the year lock, read at opening
    AccountGridModel* models_[3] = {}; // by AccountGrid
    QHash<QString, std::function<void()>> actions_; // attached screens by control name
    std::unique_ptr<TFTaxe> claimDialog_;
    std::unique_ptr<TFDetaliiDebite> details_;
};

} // namespace vartesa
