#pragma once
// Payment notices ("INSTIINTARE DE PLATA"): one rich-text file holding a notice for every
// role of a village, or of a range of its role numbers, that owes something on the chosen
// day, numbered from the registration number the clerk gives. Each notice shows, per local
// tax, the credit, arrears, current amount, penalties and total, then the other taxes and
// fines, the debits of the year and the grand total: the amounts the cashier would collect
// that day, without the early-payment reduction.
//
// The template is Instiintare.rtf of the data folder; the document is "Instiintare" + n +
// ".rtf" beside the base path the caller names (the program folder for the screen). Roles
// that owe nothing get no notice and use no number; when no role is chosen, or none owes,
// nothing is written. One notice body is held at a time, so a village of thousands of roles
// costs no more memory than one.

#include "cash/account.h"
#include "cash/receipt.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>

namespace vartesa {

class Services;
namespace db {
class Database;
}

/// The menu entry's and the documents' title.
inline const QString kNoticesTitle = QStringLiteral("Instiintari de plata");

/// What the clerk chose in TPerSelect.
struct NoticeChoice {
    QString village;                    // SATUL
    QString fromRole = QStringLiteral("0"); // ROL0, as typed
    QString toRole = QStringLiteral("1");   // ROL1, as typed; 0 and 1 (any two adding to 1 or less): the whole village
    qint64 roleId = 0;                  // one role alone, in its own village; 0: the village's roles
    QDate date;                         // DataAzi: the amounts are those of this day
    qint64 firstNumber = 0;             // NrInreg: the first registration number
    QDate registered;                   // DataInreg: the registration date
};

/// The input a refused choice points at.
enum class NoticeField { Village, FromRole, ToRole };

struct NoticeRefusal {
    QString text;      // the balloon's text
    NoticeField field; // where it shows
};

/// The whole part of a number as typed ("12.7" is 12); 0 for a text that is no number.
qint64 WholePart(const QString& typed);

/// The checks of "Raporteaza", in order: "Nu aveti nici o localitate selectata!" without a
/// village, "Interval incorect!" when the last number is below the first, "Nu ati ales
/// intervalul!" when the last number is 0. Nothing when the choice is accepted.
std::optional<NoticeRefusal> CheckNoticeChoice(const QString& village, const QString& fromRole,
                                               const QString& toRole);

/// The villages offered: those of Sate.lst in the data folder when it exists, else those the
/// balances of SoldCalc.dbf name, ascending.
QStringList NoticeVillages(db::Database& db, const QString& dataFolder);

/// What every notice of a run shares.
struct NoticeSettings {
    TownHall townHall;  // county, town hall and its fiscal code in each header
    AccountRules rules; // FARAMAJORARI and the reductions' constants, as the account reads them
    int year = 0;       // the fiscal year
};

/// One notice written, as the command line lists it.
struct NoticeWritten {
    qint64 number = 0;        // [Nr]
    Role role;                // the role it is addressed to
    std::int64_t taxes = 0;   // sum of DEPLATA of the local taxes
    std::int64_t claims = 0;  // of the other taxes and fines
    std::int64_t debits = 0;  // of the debits of the year
    std::int64_t total = 0;   // [Total]
};

/// What a run did.
struct NoticeRun {
    QString file;           // the document written; empty when there is none
    int count = 0;          // notices in it
    std::int64_t total = 0; // the sum of their totals
    bool rolesChosen = false; // the choice held at least one role
};

/// Writes the notices of `choice` into a free "<outputBase><n>.rtf" (n from 0), handing each
/// to `written` as it goes, and opens nothing. A missing template, no role chosen and no role
/// owing anything are told to the clerk and write nothing. A failure midway removes the half
/// written document and throws vartesa::Error.
NoticeRun GeneratePaymentNotices(Services& services, const NoticeSettings& settings, const NoticeChoice& choice,
                                 const QString& outputBase,
                                 const std::function<void(const NoticeWritten&)>& written = {});

} // namespace vartesa
