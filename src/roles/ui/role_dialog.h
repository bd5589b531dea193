#pragma once
// TAddGosF: the form that adds or changes one role. It checks what was typed and asks about
// a number or code already in use; it writes no table: the register screen does.

#include "roles/role.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace vartesa {

class Services;
class RoleRegister;

/// The captions the form opens with; any other than the first means editing.
inline const QString kAddRoleCaption = QStringLiteral("Adaugare gospodarie");
inline const QString kEditRoleCaption = QStringLiteral("Modificare gospodarie");

class TAddGosF : public QDialog {
public:
    TAddGosF(Services& services, RoleRegister& roles, QWidget* parent = nullptr);

    /// The "Fara majorari" list shows only when the office uses that option.
    void setNoPenaltiesShown(bool shown);
    /// Empty form for a new role: the villages of Sate.lst, the addresses typed so far,
    /// "FIZICA", no exemption, "0" lei, "NU".
    void ResetRoleDialog(const QStringList& villages, const QStringList& addresses);
    /// The form filled from a stored role (its IDGOS is kept for the checks).
    void FillRoleDialog(const Role& role, const QStringList& addresses);
    /// Shows the form; true only when "&Memoreaza" passed every check.
    bool ShowRoleDialog(const QString& caption);
    /// The role as typed and tidied by the checks.
    const Role& role() const { return role_; }

    void MemoreazaClick();

    QComboBox* SatCombo;
    QLineEdit* ROLEd;
    QLineEdit* CapGosp;
    QComboBox* TipEd;
    QLineEdit* CNP1;
    QComboBox* Adresa;
    QComboBox* FaraMaj;
    QCheckBox* SCCLAD;
    QCheckBox* SCCC;
    QCheckBox* SCAUTO;
    QCheckBox* SCTI;
    QLineEdit* SCTE;
    QPlainTextEdit* Memo1;
    QPushButton* MemoreazaBut;
    QPushButton* RenuntBut;

private:
    Role typedRole() const;
    QWidget* fieldWidget(RoleField field) const;
    void fillAddresses(const QStringList& addresses);

    Services& services_;
    RoleRegister& roles_;
    Role role_; // the stored role being changed, then what was accepted
};

} // namespace vartesa
