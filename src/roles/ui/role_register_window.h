#pragma once
// TGospodarii: the role register, where the role clerks spend their day. On the left the
// navigation list of its pages and the buttons that add roles to payment; on the right the
// identification page (search, the list of roles, the current role's details, add / edit /
// delete) and the declaration pages, one at a time, under a header naming the role.

#include "roles/role_register.h"
#include "roles/role_search.h"

#include <QDialog>

#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTableView;
class QWidget;

namespace vartesa {

class AdminConstants;
class Services;
class TAddGosF;
class TFAddTaxaFixa;
class RoleGridModel;

/// A page of the screen other than the identification page. The declaration pages derive
/// from it; the screen asks it to load the current role and whether it holds unsaved changes.
class RolePageWidget : public QWidget {
public:
    using QWidget::QWidget;
    /// Shows the role's values (the page's "Memoreaza modificarile" panel hidden).
    virtual void loadRole(qint64 id) { (void)id; }
    /// The page was changed and not saved.
    virtual bool isModified() const { return false; }
    /// Writes the page ("Memoreaza modificarile"); a refused save leaves it modified.
    virtual void save() {}
};

class TGospodarii : public QDialog {
public:
    TGospodarii(Services& services, AdminConstants& constants, QWidget* parent = nullptr);
    ~TGospodarii() override;

    /// The village list start-up built (the roles' villages, then the zones' localities).
    void setVillageList(const QStringList& villages);
    const QStringList& villageList() const { return villages_; }
    /// Start-up's last step: the selector shows the first village, so the register opens
    /// on that village's roles.
    void selectFirstVillage();
    /// Puts a declaration page in place of the placeholder of navigation entry `entry` (2-13).
    void setPage(int entry, RolePageWidget* page);

    /// Opening from the main window: reads the register, shows the identification page and
    /// runs modally.
    void OpenRoleRegister();
    /// Everything opening does before the window shows.
    void prepareOpening();

    // Handlers, named after their components.
    void SatComboChange();
    void ROLEdChange();
    void CapGospChange();
    /// The current row of the list moved (scrolling, a click, the navigator).
    void GxAfterScroll();
    void AddGospodarie();
    void EditGospodarie();
    void DelGospodarie();
    /// A navigation entry was chosen.
    void ListView1Click(int entry);
    /// "Adauga o taxa la to&ti": one tax charged to every role of the chosen village.
    void AddTaxaToti();
    /// "Adauga la Alte taxe o cantitate fi&xa": one quantity of a page-7 tax for the village.
    void AddAllTaxa2Click();
    /// Connects "A&dauga Gospodaria (ROL) la plata" and "Adauga toate &Localitatile la plata"
    /// to the assessment and enables them; until then they stay disabled.
    void setPaymentActions(std::function<void()> addCurrentRole, std::function<void()> addAllVillages);
    /// "A&dauga Gospodaria (ROL) la plata": the checks at their fields, then the assessment
    /// of the current role and its report.
    void AddLaPlataClick();
    /// "Adauga toate &Localitatile la plata": every role of every village of the list; the
    /// question and the report only when a clerk asked for it (not in the unattended run).
    void AddAllPlataClick(bool unattended = false);
    /// The unattended run after the daily register import: the screen opens, and 3 seconds
    /// later every village is added to payment without question or report and the screen
    /// closes.
    void StartAutoAdd();
    static constexpr int kAutoAddDelayMs = 3000;

    RoleSearch& search() { return search_; }
    RoleRegister& roles() { return roles_; }
    TAddGosF& roleDialog() { return *dialog_; }
    TFAddTaxaFixa& fixedTaxDialog() { return *fixedTaxDialog_; }
    /// The page of navigation entry `entry` (2-13).
    RolePageWidget* page(int entry) const { return entry >= 2 && entry < int(pages_.size()) ? pages_[size_t(entry)] : nullptr; }
    /// Navigation entry of the page on show (0 = identification).
    int currentEntry() const { return entry_; }

    QListWidget* ListView1;
    QStackedWidget* PageControl;
    QComboBox* SatCombo;
    QLineEdit* ROLEd;
    QLineEdit* CapGosp;
    QTableView* SMDBGrid3;
    QLabel* TotalGosp;
    QLineEdit* TIP;
    QLineEdit* CNP;
    QLineEdit* ADRESA;
    QLineEdit* NOTAX;
    QCheckBox* SCCLAD;
    QCheckBox* SCCC;
    QCheckBox* SCAUTO;
    QCheckBox* SCTI;
    QLineEdit* SCTE;
    QPlainTextEdit* OBS;
    QLabel* HeaderSat;  // village of the role, over the other pages
    QLabel* HeaderNume; // name and number of the role

public:
    void reject() override; // Escape or closing: the unsaved-changes question first

private:
    QWidget* buildNavigation();
    QWidget* buildIdentificationPage();
    QWidget* buildHeader();
    void runSearch(std::function<void()> change);
    void showSearch();
    void showCurrentRole();
    void reopenAt(const QString& village, const QString& name, qint64 id);
    /// False when the clerk chose to save and the page refused: stay on it.
    bool askToSaveCurrentPage();
    void addVillage(const QString& village, bool writeList);
    BlankPageDefaults blankPageDefaults() const;
    QString chosenVillage();
    void reloadPageOnShow(int entry);

    Services& s_;
    AdminConstants& constants_;
    RoleRegister roles_;
    RoleSearch search_;
    ReentryGuard guard_;          // one reaction to the search fields at a time
    RoleGridModel* grid_;         // the list's rows
    std::unique_ptr<TAddGosF> dialog_;
    std::unique_ptr<TFAddTaxaFixa> fixedTaxDialog_;
    std::vector<RolePageWidget*> pages_; // by navigation entry; null for 0 and the heading
    QWidget* header_ = nullptr;   // HeaderSat and HeaderNume
    QStringList villages_;        // the screen's village list
    int entry_ = 0;               // navigation entry on show
};

} // namespace vartesa
