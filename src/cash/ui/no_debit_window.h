#pragma once
// TFFaraDebit ("Operatiuni fara debit"): a receipt or a payment order without a debt line,
// built line by line on claims of the budget classification, stored in one step.

#include "cash/no_debit.h"

#include <QDialog>

#include <functional>
#include <optional>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace vartesa {

class Services;
class TextRowsModel;

class TFFaraDebit : public QDialog {
public:
    explicit TFFaraDebit(Services& services, QWidget* parent = nullptr);

    /// The printing of a receipt by IDCHIT (the report engine's).
    void setPrintReceipt(std::function<void(qint64 idchit)> print) { print_ = std::move(print); }

    /// "Incasari fara debit" as both callers run it: the screen, then the stored receipt
    /// printed or the payment order confirmed by a message.
    void RunNoDebit(const NoDebitPayer& payer = {});
    /// Shows the screen modally, prefilled with `payer` (all empty from the role picker).
    /// The stored document, or nothing when it was closed without "&Opereaza".
    std::optional<StoredNoDebit> OpenNoDebit(const NoDebitPayer& payer = {});
    /// Everything opening does before the window shows.
    void prepare(const NoDebitPayer& payer);
    NoDebitType type() const { return document_.type(); }

    // Handlers, named after their components.
    void TipOpChange();
    void AdaugaClick();
    void StergeClick();
    void CoduriClick();
    void OpereazaClick();

    QComboBox* TipOp;
    QDateEdit* DinData;
    QLabel* SeriaL;
    QLabel* SeriaV;
    QLabel* NrV;
    QComboBox* ContCombo;
    QLineEdit* Detalii;
    QLineEdit* Suma;
    QLineEdit* Titular;
    QLineEdit* CNP;
    QLineEdit* Adresa;
    QLineEdit* Platitor;
    QComboBox* TipPers;
    QTableView* Grid;
    QLabel* TotalL;
    QPushButton* AdaugaB;
    QPushButton* StergeB;
    QPushButton* CoduriB;
    QPushButton* OpereazaB;
    QPushButton* RenuntB;

private:
    QWidget* buildDocument();
    QWidget* buildPayer();
    void showNumbering();
    void showLines(int selectNrcrt);
    void fillAccounts();
    QWidget* fieldOf(NoDebitField field) const;
    NoDebitPayer payer() const;

    Services& s_;
    NoDebitDocument document_;
    std::optional<StoredNoDebit> stored_;
    TextRowsModel* linesModel_;
    std::function<void(qint64)> print_;
};

} // namespace vartesa
