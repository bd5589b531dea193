#pragma once
// The cash register of one day: what came in and went out, per cashier, with the balance
// carried from the days before.
//
// The working register is built in memory when the screen opens: one summary row per day
// and cashier from the receipts ("C") and payment orders ("O") of Chitante.dbf, a negative
// summary turned into a payment, then a copy of every operation typed by hand in
// RegCasa.dbf. Bank transfers ("V") and accounting notes ("N") move no cash and stay out.
// Summary rows (IDRC < 0) cannot be changed; manual rows change in both places at once.

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace vartesa {

class Services;

/// The first item of the cashier list: every cashier.
QString AnyCashier(); // " * indiferent *"

/// One row of the working register.
struct RegisterRow {
    qint64 idrc = 0;      // RegCasa.dbf identifier; -1 for a daily summary
    QDate day;            // DATAI
    QString document;     // DOCJUS
    qint64 paid = 0;      // PLATIT
    qint64 collected = 0; // INCASAT
    QString cashier;      // INCANUME
    bool isSummary() const { return idrc < 0; }
};

/// The register of one day (and cashier) with its balances.
struct RegisterDay {
    std::vector<RegisterRow> rows; // the day's rows, by cashier
    qint64 previous = 0;           // collected minus paid on every earlier day
    qint64 collected = 0;          // "Total incasat"
    qint64 paid = 0;               // "Total platit"
    qint64 carry() const { return previous + collected - paid; } // "De reportat"
};

/// A manual operation as the clerk types it.
struct ManualOperation {
    QDate day;            // "din data"
    QString document;     // "Document justificativ"
    bool payment = false; // "PLATA" (money out) or "INCASARE"
    qint64 amount = 0;    // "Suma (lei)"
};

/// Why an action on the register is refused: a problem window, or a balloon when `hint`.
struct Refusal {
    QString title;
    QString text;
    bool hint = false;
};

/// The cashier whose documents a summary takes: the logged-in user for a cashier (neither
/// administrator nor role operator), else `chosen`; "" means every cashier.
QString RestrictedCashier(const Services& services, const QString& chosen);

/// "Lipseste Documentul justificativ!" / "Lipseste Suma!" when the operation is incomplete.
std::optional<QString> CheckOperation(const ManualOperation& operation);

class CashRegister {
public:
    explicit CashRegister(Services& services);

    /// Builds the working register from the stored documents and manual operations.
    void Open();
    /// " * indiferent *" followed by every cashier of Chitante.dbf (as read by the last
    /// Open(), or read now when the register was not opened).
    QStringList Cashiers() const;
    /// The rows and balances of `day`; `cashier` empty or AnyCashier() takes every cashier.
    RegisterDay Day(const QDate& day, const QString& cashier) const;
    const std::vector<RegisterRow>& rows() const { return rows_; }

    /// Checks before the dialog opens; `row` is the selected row, null when the grid is empty.
    std::optional<Refusal> CheckAdd() const;
    std::optional<Refusal> CheckModify(const RegisterRow* row) const;
    std::optional<Refusal> CheckDelete(const RegisterRow* row) const;

    /// Stores a new operation of the logged-in user; returns its IDRC. Throws vartesa::Error
    /// for an incomplete operation, nothing stored.
    qint64 AddOperation(const ManualOperation& operation);
    /// Changes / deletes a manual row in RegCasa.dbf and in the working register. Throws
    /// the refusal of CheckModify / CheckDelete (summary rows, cashiers, the year lock).
    void ModifyOperation(qint64 idrc, const ManualOperation& operation);
    void DeleteOperation(qint64 idrc);

private:
    void sortRows();
    RegisterRow& manualRow(qint64 idrc, bool deleting); // throws the refusal
    std::optional<Refusal> checkChange(const RegisterRow* row, const QString& nothing, const QString& summary) const;
    QString table() const;

    Services& s_;
    std::vector<RegisterRow> rows_; // the working register, by day and cashier
    std::optional<QStringList> cashiers_; // every cashier of the documents, from Open()
};

} // namespace vartesa
