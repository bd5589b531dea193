#pragma once
// The administrator window TForm4 ("Administrator program"): the page list on the left and
// the pages generated from the catalog of stored controls (admin_catalog.h) on the right;
// each generated control's objectName is its key. The window shows the live constants
// (AdminConstants) when it opens and writes the clerk's edits back into them only on
// "Salveaza si inchide"; closing it in any way loads the stored values again, so edits
// that were not saved are dropped. Also the zone dialog "Constante de calcul".

#include "admin/admin_constants.h"
#include "admin/admin_folders.h"
#include "admin/admin_zones.h"

#include <QDialog>
#include <QHash>

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QStandardItemModel;
class QTableView;

namespace vartesa {

class Messages;
class Services;
class UsersPanel;

/// "Constante de calcul": a locality with its zone and rank, checked by "&Memoreaza".
class TZoneDialog final : public QDialog {
public:
    /// Checks against the zones of the data folder in use when "&Memoreaza" is pressed.
    explicit TZoneDialog(Services& services, QWidget* parent = nullptr);
    /// Opens empty with the default zone and rank; true when "&Memoreaza" accepted.
    bool showForAdd(const QString& zone, const QString& rank);
    /// Opens on a row; true when "&Memoreaza" accepted.
    bool showForModify(const ZoneRow& row);
    /// Fills the dialog without showing it (what the two above do first).
    void prepare(const QString& heading, const ZoneRow& row);

    /// The locality as checked (cleaned), the chosen zone and rank.
    QString locality() const { return accepted_; }
    QString zone() const;
    QString rank() const;
    /// "&Memoreaza": cleans the locality and checks it; a refusal shows its balloon.
    void MemoreazaClick();

    QLineEdit* localityField() const { return locality_; }
    QComboBox* zoneField() const { return zone_; }
    QComboBox* rankField() const { return rank_; }

private:
    Services& s_;
    qint64 editingId_ = 0; // row being changed; 0 when adding
    QString accepted_;     // cleaned locality of the accepted dialog
    QLabel* heading_;      // "Adaugare zona" / "Modificare zona"
    QLineEdit* locality_;  // LocalitateEd: "Localitatea"
    QComboBox* zone_;      // ZonaCombo: "Zona"
    QComboBox* rank_;      // RangCombo: "Rangul"
};

class TForm4 final : public QDialog {
public:
    /// `constants` is the live copy the window shows and saves; it outlives the window.
    TForm4(Services& services, AdminConstants& constants, QWidget* parent = nullptr);
    ~TForm4() override;

    /// OpenAdministratorWindow: prepares the window and shows it modally.
    void OpenAdministratorWindow();
    /// What opening does before the window shows: the constants into the controls, the
    /// zones query, the users list, the first page.
    void prepareToOpen();

    /// "Salveaza si inchide": saves the constants, closes, rebuilds the village list.
    void SaveAndClose();
    /// Chooses page list item `item` (the heading opens nothing).
    void showListItem(int item);
    /// The page shown (AdminPage index).
    int currentPage() const;
    /// The generated control of a stored key (any store); null when there is none.
    QWidget* control(const QString& key) const;
    /// Network mode: the server field shows the data folder in use.
    void showServerPath(const QString& folder);

    // Zones page.
    void AdaugaClick();
    void ModificaClick();
    void StergeClick();
    TZoneDialog& zoneDialog() { return *zoneDialog_; }
    QTableView* zoneGrid() const { return zoneGrid_; }
    /// ID of the zones grid's current row; 0 when it is empty.
    qint64 currentZoneId() const;

    /// "Explicatii" of the pages of fixed values.
    void ExplicatiiClick();
    /// "Coduri clasificare".
    void CoduriClick();
    // Folder settings.
    void ModificareServerClick();
    void StergereServerClick();
    void ModificareSalvariClick();
    void StergereSalvariClick();
    void CaleAutoClick();

    /// The folder picker (a test replaces it): caption in, folder out, "" when cancelled.
    void setFolderPicker(std::function<QString(const QString&)> picker) { pickFolder_ = std::move(picker); }
    /// Ends the program after the server folder changed (the application's quit by default).
    void setEndProgram(std::function<void()> end) { endProgram_ = std::move(end); }
    /// Receives the rebuilt village list after a save.
    void setVillagesReady(std::function<void(const QStringList&)> ready) { villagesReady_ = std::move(ready); }

protected:
    /// Any way of closing: the stored values come back and the users list goes.
    void done(int result) override;

private:
    void buildWindow();
    QWidget* buildGeneralPage();
    QWidget* buildZonesPage();
    QWidget* buildImportOptions();
    void addFolderRow(QGridLayout* grid, int row, const AdminRegistryControl& folder, QPushButton* change,
                      QPushButton* clear);
    void showConstants();
    void readConstants();
    void reloadZones(qint64 select = 0);
    /// DefZone.dbf of the data folder in use now (start-up may have chosen the server's).
    ZoneTable zones() const;
    void applyFolderOutcome(const QString& control, const FolderOutcome& outcome);

    Services& s_;
    AdminConstants& constants_;
    std::unique_ptr<TZoneDialog> zoneDialog_;
    QHash<QString, QWidget*> controls_;      // by key in capitals: every stored control
    QListWidget* pageList_ = nullptr;        // PageList
    QStackedWidget* pages_ = nullptr;        // PageControl, tabs hidden
    QStandardItemModel* zoneModel_ = nullptr;
    QTableView* zoneGrid_ = nullptr;         // ZoneGrid
    UsersPanel* users_ = nullptr;            // "Gestiune utilizatori"
    std::function<QString(const QString&)> pickFolder_;
    std::function<void()> endProgram_;
    std::function<void(const QStringList&)> villagesReady_;
};

/// One generated page of stored controls: its title lines, the "Explicatii" button when it
/// has one, and a block per group, rows by label and columns by column caption. Each field
/// is registered in `controls` by its key and appended to `order` (the Enter walk).
QWidget* BuildConstantsPage(AdminPage page, QHash<QString, QWidget*>& controls, QList<QWidget*>& order,
                            QPushButton** explanations);

} // namespace vartesa
