#pragma once
// The garnishment of the role account's "Executare silita": TAddNrTitlu asks for the number
// of the enforcement title and the third party who is to retain the money.

#include "documents/garnishments.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vartesa {

class Services;
class TGospodarieF;

/// "Popriri": the title number, emptied at each opening, and the third party's name and seat,
/// which stay from one garnishment to the next while the program runs.
class TAddNrTitlu : public QDialog {
public:
    explicit TAddNrTitlu(Services& services, QWidget* parent = nullptr);
    /// Shows the dialog modally; what was typed when "Continua" closed it.
    std::optional<ThirdParty> AskTitle();
    /// Empties the number and puts the cursor in it.
    void prepare();
    /// "Continua": the number's spaces collapsed; an empty one is refused and the dialog stays.
    void MemoButClick();

    QLabel* Heading;
    QLineEdit* NrTitlu;
    QLineEdit* NumeTert;
    QLineEdit* SediuTert;
    QPushButton* MemoBut;
    QPushButton* CloseBut;

private:
    Services& s_;
};

/// TGospodarieF.PoprireP: the garnishment of the open role to its bank or employer, its lines
/// computed for today whatever date the screen shows; the document opens beside the program.
void PoprireP(Services& services, TGospodarieF& account, TAddNrTitlu& dialog, GarnishmentTo to);

} // namespace vartesa
