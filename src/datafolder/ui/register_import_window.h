#pragma once
// The manual import from the agricultural register (menu "Preluare date din Registru Agricol
// 2015-2019"): the backup chosen, unpacked and checked, the choice "Preluare Date RA 2015"
// (TRA2015Sel), then the import; and the choice window itself.

#include "datafolder/register_import.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;

namespace vartesa {

class Services;

/// "Preluare Date RA 2015": the year and the number of households, what to take.
class TRA2015Sel final : public QDialog {
    Q_OBJECT
public:
    TRA2015Sel(Services& services, QWidget* parent = nullptr);

    /// Fills the window: the working year, the households to take, both boxes ticked.
    void reset(int year, int positions);
    RegisterChoice choice() const;

    /// "&Preia": closes accepting unless neither box is ticked ("Nu ati selectat nimic!").
    void PreiaClick();

private:
    Services& s_;
    QLabel* year_;         // AnulL
    QLabel* positions_;    // NrPozL
    QCheckBox* land_;      // TerenCB: "Preia terenurile"
    QCheckBox* buildings_; // CladCB: "Preia constructiile"
};

/// What the import needs from the windows around it.
struct RegisterImportScreens {
    std::function<QString()> chooseFile;                      // the backup; "" when cancelled
    std::function<bool(TRA2015Sel&)> confirm;                 // shows the choice; true on "&Preia"
    std::function<void()> closeRoles;                         // the role register closed before
    std::function<void()> reopenRoles;                        // and reopened after the import
    std::function<void()> pump;                               // repaints while unpacking
};

/// Steps 1 to 7 of the manual import, each refusal shown with its message. Returns true when
/// the import ran.
bool PreluareRA1Click(Services& services, TRA2015Sel& choice, const RegisterImportScreens& screens);

/// The file dialog "Incarcare din Registrul Agricol 2015" over register backups (*.rg2).
QString ChooseRegisterBackup(QWidget* parent);

} // namespace vartesa
