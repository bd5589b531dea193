#pragma once
// The windows of the debit receipt confirmations: the register (TConfDeb, "Confirmare
// Debite"), the choice of a role with the confirmation's data (TAlegeROLF, "Alege un ROL")
// and the number of the next confirmation (TConFRSet).

#include "documents/confirmations.h"

#include <QDialog>

#include <optional>
#include <vector>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QWidget;

namespace vartesa {

class ConfirmationGridModel;
class Services;

/// "Stabileste numarul Confirmarii": the number the next confirmation takes.
class TConFRSet : public QDialog {
public:
    explicit TConFRSet(Services& services, QWidget* parent = nullptr);
    /// Shows the counter "CONFNR"; the number stored when "&Memoreaza" accepted it.
    std::optional<qint64> AskNumber();
    void prepare();
    void MemoreazaClick();

    QLineEdit* Numar;
    QPushButton* Memoreaza;
    QPushButton* Renunt;

private:
    Services& s_;
};

/// "Alege un ROL": a village and one of its roles; in confirmation mode also the debit and
/// its sender. The dates and the debit list number stay as last typed for the session.
class TAlegeROLF : public QDialog {
public:
    explicit TAlegeROLF(Services& services, QWidget* parent = nullptr);
    /// Shows the dialog titled `title`; the lower panel only in confirmation mode. True when
    /// "Am ales" accepted a role (and, in confirmation mode, stored the confirmation).
    bool ShowChoice(const QString& title, bool confirmation);
    void prepare(const QString& title, bool confirmation);
    /// The village's roles in TitularX.
    void SatulXChange();
    /// "Am ales": the checks, then (confirmation mode) the confirmation stored.
    void MemoButClick();
    /// BitBtn1: the next confirmation number, through TConFRSet.
    void BitBtn1Click();
    /// The request as the fields hold it.
    ConfirmationRequest request() const;

    qint64 chosenRole() const;               // IDGOS of TitularX; 0 when none
    const ConfirmationRecord& added() const { return added_; } // the confirmation stored

    QComboBox* SatulX;
    QComboBox* TitularX;
    QWidget* ConfPanel; // the lower panel of confirmation mode
    QLabel* NrConf;
    QPushButton* BitBtn1;
    QLineEdit* Suma;
    QDateEdit* DataConf;
    QLineEdit* BordNr;
    QDateEdit* BordData;
    QComboBox* CodCLX;
    QLineEdit* NumeDest;
    QLineEdit* LocDest;
    QLineEdit* AdrDest;
    QLineEdit* AdrNr;
    QDateEdit* AdrData;
    QPushButton* MemoBut;
    QPushButton* CloseBut;
    TConFRSet* numberDialog;

private:
    Services& s_;
    bool confirmation_ = false;
    std::vector<qint64> roles_; // IDGOS of TitularX's entries
    ConfirmationRecord added_;
};

/// "Confirmare Debite": the register of confirmations with its search fields.
class TConfDeb : public QDialog {
public:
    explicit TConfDeb(Services& services, QWidget* parent = nullptr);
    /// Opens the register: search fields cleared, every row, the last one selected.
    void OpenRegister();
    /// Reads the rows again after the search fields, selecting confirmation `id` (the last
    /// row when it is not shown).
    void reload(qint64 id = 0);
    const std::vector<ConfirmationRecord>& rows() const { return rows_; }

    void AdaugaClick();
    void StergeClick();
    void ListeazaClick();

    QLineEdit* ROLF;
    QLineEdit* NumePF;
    QTableView* Grid;
    QPushButton* AdaugaB;
    QPushButton* StergeB;
    QPushButton* ListeazaB;
    QPushButton* InchideB;
    TAlegeROLF* roleDialog;

private:
    Services& s_;
    std::vector<ConfirmationRecord> rows_; // as the search shows them
    ConfirmationGridModel* model_;
};

} // namespace vartesa
