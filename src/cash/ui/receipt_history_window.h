#pragma once
// TFIstoricChit: the payment documents of one role, or of the collections without a debit,
// with the lines of the selected one; the clerk filters by payer and cashier, corrects a
// document's date, series and number ("Modificare"), reprints it, cancels it and, as an
// administrator, deletes a cancelled one.

#include "cash/receipt_history.h"

#include <QDialog>

#include <functional>
#include <memory>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QTableView;

namespace vartesa {

class Services;
class TextRowsModel;

/// "Modificare": the date, series and number of one document.
class TFModificare : public QDialog {
public:
    explicit TFModificare(Services& services, QWidget* parent = nullptr);
    /// Opens on the document's values; `apply` stores the values typed and returns the hint
    /// of a refused number. True when the change was stored.
    bool ShowModify(const HistoryDocument& document,
                    std::function<std::optional<QString>(const QDate&, const QString&, qint64)> apply);
    /// "Modifica" (or Enter on the number).
    void ModificaClick();

    QDateEdit* DinData;
    QLineEdit* Seria;
    QLineEdit* Numarul;
    QPushButton* ModificaB;

private:
    Services& s_;
    std::function<std::optional<QString>(const QDate&, const QString&, qint64)> apply_;
};

class TFIstoricChit : public QDialog {
public:
    explicit TFIstoricChit(Services& services, QWidget* parent = nullptr);
    ~TFIstoricChit() override;

    /// The printing of a receipt by IDCHIT (the report engine's); "Listeaza chitanta" stays
    /// disabled without it.
    void setPrintReceipt(std::function<void(qint64 idchit)> print) { print_ = std::move(print); }

    /// Shows the history modally: `role` is an IDGOS or kNoDebit. True when a document was
    /// cancelled (the caller recalculates).
    bool OpenHistory(const QString& title, qint64 role, bool changesAllowed);
    /// Everything opening does before the window shows.
    void prepare(const QString& title, qint64 role, bool changesAllowed);

    // Handlers, named after their components.
    void FilterChange();
    void ChitGridAfterScroll();
    void ModificaClick();
    void AnuleazaClick();
    void ListeazaClick();
    void StergeClick();

    /// The selected document; null when the list is empty.
    const HistoryDocument* selected() const;
    bool cancelledSomething() const { return changed_; }
    TFModificare& modifyDialog() { return *modify_; }

    QComboBox* PlatitorCombo;
    QComboBox* CasierCombo;
    QTableView* ChitGrid;
    QTableView* LiniiGrid;
    QPushButton* ModificaB;
    QPushButton* AnuleazaB;
    QPushButton* ListeazaB;
    QPushButton* StergeB;

private:
    void reload(qint64 select);
    void showDocuments(qint64 select);
    void selectRow(int row);

    Services& s_;
    std::unique_ptr<ReceiptHistory> history_;
    std::vector<HistoryDocument> documents_;
    bool changesAllowed_ = false;
    bool changed_ = false;            // a document was cancelled since opening
    TextRowsModel* documentsModel_;
    TextRowsModel* linesModel_;
    std::unique_ptr<TFModificare> modify_;
    std::function<void(qint64)> print_;
};

} // namespace vartesa
