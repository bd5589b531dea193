#pragma once
// TAddListDeInc ("Lista de incasat"): the choices of the lists to collect. The caller shows
// it, and when "Arata Lista" was pressed reads the village, the date, the two options and,
// when it asked for it, the person type.

#include <QDate>
#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;

namespace vartesa {

class Services;

class TAddListDeInc : public QDialog {
public:
    explicit TAddListDeInc(Services& services, QWidget* parent = nullptr);

    /// Fills the villages, sets the date to today and shows the dialog modally; "Tip
    /// persoana" only with `withPersonType`. True when "Arata Lista" closed it.
    bool ShowCollectionListDialog(bool withPersonType);
    /// Everything showing does before the dialog appears.
    void prepare(bool withPersonType);
    /// "Arata Lista": closes with success when the village and the date pass their checks.
    void ArataListaClick();

    QString village() const;    // " * indiferent *" means every village
    QDate date() const;
    bool withCredits() const;   // "Include si plusurile"
    bool withoutDebts() const;  // "Include si gospodariile fara debite"
    int personType() const;     // 0 any, 1 natural persons, 2 legal persons

    QComboBox* SatulX;
    QDateEdit* DataC;
    QCheckBox* SiPlusuri;
    QCheckBox* SiZero;
    QLabel* TipPersL;
    QComboBox* TipPers;
    QPushButton* ArataBut;
    QPushButton* RenuntBut;

private:
    Services& s_;
};

} // namespace vartesa
