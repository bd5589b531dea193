#pragma once
// TChitantaF ("Operare"): the confirmation of one payment document. It shows the document
// lines the allocation made, the series and number, the kind, the date and the payer, lets
// the cashier move money between the parts of a tax line ("Detalii / &Modificari") and add
// missing budget accounts ("Coduri clasificare"), and on "&OPEREAZA" runs the checks that
// must pass before the document may be stored. It stores nothing itself.

#include "cash/payment.h"

#include <QAbstractTableModel>
#include <QDialog>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace vartesa {

class Services;
class TDetaliiModificari;

/// What the dialog opens with.
struct PaymentDialogSetup {
    DocumentKind kind = DocumentKind::Receipt; // from the allocation: C, O or N
    AccountRole role;           // the payer's identification
    QDate date;                 // the calculation date of the account screen
    ReceiptNumbering numbering; // the cashier's series and next receipt number
    std::int64_t total = 0;     // "Valoare chitanta"
};

/// The document lines as the dialog's grid shows them, numbered from 1 (NRCRT).
class PaymentLinesModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;
    /// Shows `lines` (which must outlive the model or the next call).
    void setLines(std::vector<PaymentLine>* lines);
    /// The lines changed in place.
    void refresh();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<PaymentLine>* lines_ = nullptr;
};

class TChitantaF : public QDialog {
public:
    explicit TChitantaF(Services& services, QWidget* parent = nullptr);
    ~TChitantaF() override;

    /// Sets the dialog up for the document and shows it modally; the document as the
    /// cashier confirmed it, or nothing when cancelled. The split editor changes `lines`.
    std::optional<PaymentDocument> ShowPaymentDialog(const PaymentDialogSetup& setup, std::vector<PaymentLine>& lines);
    /// Everything ShowPaymentDialog does before the window shows.
    void prepare(const PaymentDialogSetup& setup, std::vector<PaymentLine>& lines);

    /// The document as the controls hold it.
    PaymentDocument document() const;

    // Handlers, named after their components.
    void OpereazaClick();
    void DetaliiClick();
    void CoduriClick();
    void TipDocChange();

    /// Opens the classification codes; when not set, a codes window of its own is opened.
    std::function<void()> openCodesWindow;
    TDetaliiModificari& splitEditor() { return *editor_; }
    PaymentLinesModel* linesModel() const { return model_; }

    QTableView* ChitGrid;
    QLabel* SeriaL;
    QLineEdit* NumarC;
    QComboBox* TipDoc;
    QDateEdit* DinData;
    QLineEdit* PlatitorE;
    QLineEdit* Titular;
    QLineEdit* Localitatea;
    QLineEdit* Adresa;
    QLineEdit* NrRol;
    QLineEdit* CnpCui;
    QLabel* TotalL;
    QPushButton* OpereazaBut;
    QPushButton* DetaliiBut;
    QPushButton* CoduriBut;
    QPushButton* RenuntBut;

private:
    QWidget* buildDocumentRow();
    QWidget* buildIdentification();
    QWidget* buildButtons();
    void showProblem(const PaymentProblem& problem, const PaymentDocument& document);
    bool hasPersonAccount(const QString& group) const;
    void refillCodes();
    void fitLineColumns();

    Services& s_;
    PaymentDialogSetup setup_;
    std::vector<PaymentLine>* lines_ = nullptr;
    PaymentLinesModel* model_;
    std::unique_ptr<TDetaliiModificari> editor_;
};

} // namespace vartesa
