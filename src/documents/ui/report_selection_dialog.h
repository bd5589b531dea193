#pragma once
// TPerSelect ("Rapoarte"): the village, the range of role numbers, the day the amounts are
// computed for and the registration number and date of the documents of a run. The title
// label names the document ("Instiintari de plata"). "Raporteaza" closes it when the choice
// passes its checks; a failed check shows its balloon at the field and keeps what was typed.

#include "documents/payment_notices.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vartesa {

class AdminConstants;
class Services;

class TPerSelect : public QDialog {
public:
    /// Both dates start on the services' today; ROL0, ROL1 and NrInreg at 0.
    explicit TPerSelect(Services& services, QWidget* parent = nullptr);

    /// Loads the villages and selects the first, shows `title` and the dialog modally; true
    /// only when "Raporteaza" closed it.
    bool ShowSelection(const QString& title);
    /// Everything showing does before the window opens.
    void prepare(const QString& title);

    /// The fields as the generation takes them.
    NoticeChoice choice() const;

    /// "Raporteaza": the checks, then closes with true.
    void MemoButClick();

    QComboBox* SATUL;     // "Localitatea"
    QLineEdit* ROL0;      // "incepand cu numarul de ROL"
    QLineEdit* ROL1;      // "pana la numarul de ROL"
    QDateEdit* DataAzi;   // "Situatia se va calcula la data de"
    QLineEdit* NrInreg;   // "incepand cu nr."
    QDateEdit* DataInreg; // "din data"
    QLabel* TitlulL;      // the document's name
    QPushButton* MemoBut; // "Raporteaza"
    QPushButton* Button1; // "&Renunt"

private:
    Services& s_;
};

/// "Instiintari de plata" of the documents menu: the dialog, then the notices of the choice
/// written beside the program and handed to the desktop. Errors are reported to the clerk.
void InstiintarideplataClick(Services& services, const AdminConstants& constants, TPerSelect& dialog);

} // namespace vartesa
