#pragma once
// "Contul meu" (window "Utilizator"): the logged-in clerk sets a new password and card
// number. The dialog only checks the two passwords; UserSession::ChangeAccount writes.

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace vartesa {

class Messages;

class AccountDialog final : public QDialog {
public:
    /// Both password fields start with `password`, "Legitimatia" with `card`.
    AccountDialog(const QString& password, const QString& card, Messages& messages, QWidget* parent = nullptr);

    QString password() const;
    QString card() const;

    /// "&Memoreaza": closes with success when both passwords are filled and equal,
    /// otherwise the balloon on the first field.
    void MemoreazaClick();

private:
    Messages& messages_;
    QLineEdit* password_; // ParolaNouaEd: "Parola noua"
    QLineEdit* verify_;   // VerificaParolaEd: "Verifica parola"
    QLineEdit* card_;     // LegitimatiaEd: "Legitimatia"
};

} // namespace vartesa
