#pragma once
// "Detalii / Modificari": the split of one payment line into its six parts. The caller puts
// the line's parts in (setParts), shows the editor with the line's tax name and total, and
// after acceptance takes the parts back (parts); the editor itself writes nothing.

#include "cash/payment.h"

#include <QDialog>

#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vartesa {

class Messages;

class TDetaliiModificari : public QDialog {
public:
    explicit TDetaliiModificari(Messages& messages, QWidget* parent = nullptr);

    /// Puts the six parts of `line` into the fields.
    void setParts(const PaymentLine& line);
    /// Writes the six fields, as whole numbers, into the parts of `line`.
    void readParts(PaymentLine& line) const;

    /// ShowSplitEditor: `group` in the title line, `total` remembered, the focus on
    /// "Ramasita", shown modally; true when "&Memoreaza" accepted the split.
    bool ShowSplitEditor(const QString& group, std::int64_t total);
    /// Everything ShowSplitEditor does before the window shows.
    void prepare(const QString& group, std::int64_t total);

    /// "&Memoreaza": every part must fit the receipt's fields and the parts must sum to
    /// the remembered total; otherwise the dialog stays open with the values as typed.
    void MemoreazaClick();

    QLabel* TitluL;
    QLineEdit* Restanta;  // "Ramasita"
    QLineEdit* Majorest;  // "Majorare"
    QLineEdit* Depozit;   // "Plusuri"
    QLineEdit* Curent;    // "Curente"
    QLineEdit* Reducere;  // "Reducere"
    QLineEdit* Major;     // "Majorari"
    QPushButton* MemoreazaBut;
    QPushButton* RenuntBut;

private:
    Messages& messages_;
    QString group_;          // the line's tax name, named in a refusal
    std::int64_t total_ = 0; // the line's total, which the split must keep
};

} // namespace vartesa
