#pragma once
// The vehicles of a role one by one: the grid of page 5 with its add / change / delete
// buttons (VehicleDetailsGrid, a widget the page hosts), the form TDetaliiAutoF, and the
// read-only viewer TAutoDetF opened from the role account.

#include "roles/ui/record_table_model.h"
#include "roles/vehicle_details.h"

#include <QDialog>
#include <QWidget>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace vartesa {

class Services;

/// "Detalii Auto": one vehicle. Writes no table; the caller reads detail() after success.
class TDetaliiAutoF : public QDialog {
public:
    explicit TDetaliiAutoF(Services& services, QWidget* parent = nullptr);

    /// File number "0", the first type, "* nespecificata *", capacity "0", empty texts.
    void ResetVehicleDialog();
    /// The values of a stored vehicle; a make no longer in the list shows no make and is
    /// kept when the clerk chooses none.
    void FillVehicleDialog(const VehicleDetail& detail);
    /// Sets the title line and shows the form; true only when "Memoreaza" accepted.
    bool ShowVehicleDialog(const QString& title);
    void MemoreazaClick();
    /// The typed vehicle (role and identifier as filled).
    VehicleDetail detail() const;

    QLabel* TitluL;
    QLineEdit* NrDos;
    QComboBox* TipAuto;
    QComboBox* Marca;
    QLineEdit* Capacit;
    QLineEdit* Serie;
    QLineEdit* SerieM;
    QLineEdit* Obs;
    QPushButton* MemoreazaBut;

private:
    Services& services_;
    VehicleDetail filled_; // the vehicle being changed (identifiers, stored make)
};

/// The grid of page 5: the current role's vehicles with "Adauga", "Modifica" and "Sterge".
class VehicleDetailsGrid : public QWidget {
public:
    explicit VehicleDetailsGrid(Services& services, QWidget* parent = nullptr);
    ~VehicleDetailsGrid() override;

    /// Shows the vehicles of role `id`; 0 or less: none (no role shown).
    void setRole(qint64 id);
    qint64 roleId() const { return roleId_; }

    void AddDetAutoClick();
    void EditDetAutoClick();
    void DelDetAutoClick();

    TDetaliiAutoF& dialog() { return *dialog_; }
    QTableView* DetAutoGrid;
    QPushButton* AddDetAuto;
    QPushButton* EditDetAuto;
    QPushButton* DelDetAuto;

private:
    void reload(qint64 at, bool toLast = false);
    const VehicleDetail* current() const;

    Services& s_;
    VehicleDetails details_;
    RecordTableModel<VehicleDetail>* rows_;
    std::unique_ptr<TDetaliiAutoF> dialog_;
    qint64 roleId_ = -500;
};

/// "Detalii Auto", read only: the vehicles of one role.
class TAutoDetF : public QDialog {
public:
    explicit TAutoDetF(Services& services, QWidget* parent = nullptr);
    /// Reads the role's vehicles into the grid (without showing the window).
    void loadRole(qint64 id);
    /// Reads them and shows the window modally.
    void ShowVehicles(qint64 id);

    QTableView* Grid;

private:
    Services& s_;
    RecordTableModel<VehicleDetail>* rows_;
};

} // namespace vartesa
