#pragma once
// TFAlegePerioada ("Alegeti perioada"): the period of a list, shared by the cash register and
// the lists of the documents menu. "Inclusiv platile prin virament" shows only when the caller
// asks for it; a period that runs backwards stays open with "Perioada incorecta!".

#include <QDate>
#include <QDialog>

class QCheckBox;
class QDateEdit;
class QPushButton;

namespace vartesa {

class Services;

class TFAlegePerioada : public QDialog {
public:
    /// Both dates start on the day the program started (the services' today, now).
    explicit TFAlegePerioada(Services& services, QWidget* parent = nullptr);

    /// Shows the dialog modally; true when "Listeaza" closed it. `start` (when valid) sets
    /// both dates first.
    bool ChoosePeriod(bool offerTransfers, const QDate& start = {});
    /// Everything showing does before the window opens.
    void prepare(bool offerTransfers, const QDate& start);

    QDate from() const;
    QDate to() const;
    bool withTransfers() const;

    /// "Listeaza": closes the dialog unless the period runs backwards.
    void ListeazaBClick();

    QDateEdit* DataI;       // "Incepand cu data"
    QDateEdit* DataF;       // "terminand cu data"
    QCheckBox* ViramentCB;  // "Inclusiv platile prin virament"
    QPushButton* ListeazaB;
    QPushButton* RenuntB;

private:
    Services& s_;
    QDate startDay_; // the day the program started
};

} // namespace vartesa
