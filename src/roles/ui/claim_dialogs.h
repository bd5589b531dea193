#pragma once
// "Taxe / Amenzi": one manual claim of one role; "Taxe cu valoare fixa": one tax and one
// number for a whole village. Neither writes a table: the caller reads the fields.

#include "roles/claim_rules.h"

#include <QDate>
#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vartesa {

class Services;

class TFTaxe : public QDialog {
public:
    explicit TFTaxe(Services& services, QWidget* parent = nullptr);

    /// Today's date, empty explanation, amounts "0", the claims other than the four local
    /// taxes with the first selected. The number keeps its last value.
    void ResetClaimDialog();
    /// Sets the title line and shows the dialog; true only when "&Memoreaza" accepted.
    bool ShowClaimDialog(const QString& title);
    /// Refills the claim list (claims other than the four local taxes), first one selected.
    void fillClaims();

    void MemoreazaClick();
    /// "Coduri clasificare": opens the codes window, then refills the claim list.
    void CoduriClick();
    /// Opens the codes window; when not set, a codes window of its own is opened.
    std::function<void()> openCodesWindow;

    QDate date() const;
    QString claim() const;
    QString number() const;
    QString explanation() const;
    ClaimAmounts amounts() const;

    QDateEdit* DINDATA;
    QComboBox* CreantaBox;
    QLineEdit* Nr;
    QLineEdit* DOCJUS;
    QLineEdit* Suma;
    QLineEdit* Rest;
    QLineEdit* Reduc;
    QLabel* TitlulL;
    QPushButton* MemoreazaBut;

private:
    Services& services_;
};

class TFAddTaxaFixa : public QDialog {
public:
    explicit TFAddTaxaFixa(Services& services, QWidget* parent = nullptr);

    /// Village-tax mode (`villageTax`): the claims of kind "T"; otherwise the six taxes of
    /// page 7. The number and the tick box keep their values. True only when "Adauga" closed it.
    bool ShowFixedTaxDialog(bool villageTax);
    void AdaugaClick();

    QString tax() const;
    /// 1 to 6 in the page-7 mode: the LIN field the tax names.
    int taxPosition() const;
    qint64 value() const;
    bool onlyWithHouses() const;

    QComboBox* Taxa;
    QLineEdit* Cant;
    QCheckBox* CuCase;
    QLabel* CantL;
    QLabel* TitluL;
    QPushButton* AdaugaBut;

private:
    Services& services_;
    bool villageTax_ = true; // the mode of the last opening
};

} // namespace vartesa
