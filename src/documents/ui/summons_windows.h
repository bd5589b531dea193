#pragma once
// The windows of the summonses: the lines shown before one is stored (TSomConfirm), the
// central list (TSomTitList) with its cancellation (TSomAnul) and confirmation (TConfirmareF)
// dialogs, and the choice of period of "Situatia executarilor silite" (TSelPerPF).

#include "documents/summonses.h"

#include <QDialog>

#include <functional>
#include <optional>

class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace vartesa {

class Services;
class TGospodarieF;

/// "Confirmare Somatie - Titlu": the prepared lines, their total, "Arata" and "&Renunt".
class TSomConfirm : public QDialog {
public:
    explicit TSomConfirm(Services& services, QWidget* parent = nullptr);
    /// Shows `detail` modally; true when "Arata" accepted it.
    bool ShowLines(const SummonsDetail& detail);
    void fill(const SummonsDetail& detail);
    /// "Arata": accepts up to 20 lines, asks above.
    void ArataClick();

    QTableView* Grid;
    QLabel* TotalL;
    QPushButton* Arata;
    QPushButton* Renunt;

private:
    Services& s_;
    QStandardItemModel* model_;
    SummonsDetail detail_;
};

/// TGospodarieF.SomTitP: the calculation date goes to today, then the summons of the open
/// role is issued, stored and printed beside the program.
void SomTitP(Services& services, TGospodarieF& account, TSomConfirm& confirm);

/// "Anulare Somatie": the reason of a cancellation.
class TSomAnul : public QDialog {
public:
    explicit TSomAnul(Services& services, QWidget* parent = nullptr);
    /// Shows the summons of `row` with its reason proposed; the reason typed when accepted.
    std::optional<QString> AskReason(const SummonsListRow& row, const QStringList& reasons);
    void prepare(const SummonsListRow& row, const QStringList& reasons);
    void MemoreazaClick();

    QLabel* Info;
    QComboBox* Motiv;
    QPushButton* Memoreaza;
    QPushButton* Renunt;

private:
    Services& s_;
};

/// "Confirmare": the day and way a summons was delivered.
class TConfirmareF : public QDialog {
public:
    explicit TConfirmareF(Services& services, QWidget* parent = nullptr);
    /// The day (preset to the issue date + 2 days) and way when accepted.
    std::optional<std::pair<QDate, QString>> AskDelivery(const SummonsListRow& row);
    void prepare(const SummonsListRow& row);
    void MemoreazaClick();

    QLabel* Info;
    QDateEdit* DataConf;
    QComboBox* TipConf;
    QPushButton* Memoreaza;
    QPushButton* Renunt;

private:
    Services& s_;
    QDate issued_;
};

/// "Somatii si Titluri": every summons ever issued, by name and number.
class TSomTitList : public QDialog {
public:
    explicit TSomTitList(Services& services, QWidget* parent = nullptr);
    /// Reads the list and shows it modally.
    void ShowList();
    /// Reads the list again in `order`, keeping summons `id` selected when it is there.
    void reload(const QString& order, qint64 id);
    /// The summons of the selected row; none when the list is empty.
    std::optional<SummonsListRow> selected() const;

    void ListeazaClick();
    void AnuleazaClick();
    void ConfirmareClick();
    void ExportClick();
    void TitleClick(int column);

    QTableView* SMDBGrid1;
    QPushButton* ExportB;
    QPushButton* ListeazaB;
    QPushButton* AnuleazaB;
    QPushButton* ConfirmareB;
    TSomAnul* cancelDialog;
    TConfirmareF* confirmDialog;

private:
    Services& s_;
    QStandardItemModel* model_;
    std::vector<SummonsListRow> rows_;
    QString order_ = QStringLiteral("NUMEP");
};

/// "Situatie": the period and person type of "Situatia executarilor silite".
class TSelPerPF : public QDialog {
public:
    explicit TSelPerPF(Services& services, QWidget* parent = nullptr);
    /// Shows the dialog; on "Arata" writes the report as a free Rap<n>.xls beside the program
    /// and opens it.
    void ShowChoice();
    /// "Arata": the period's check, then the report; the file written, "" when none.
    QString ArataClick();

    QDateEdit* Data0;
    QDateEdit* Data1;
    QComboBox* TipPF;
    QPushButton* Arata;
    QPushButton* Renunt;

private:
    Services& s_;
};

} // namespace vartesa
