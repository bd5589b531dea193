#pragma once
// Debit receipt confirmations: the register of Confirm.dbf, the budget claims a confirmation
// may name, adding one (its checks, a number of its own sequence), deleting the last one,
// resetting the sequence and printing one from ConfirmareD.rtf.

#include "books/confirmations.h"

#include <QDate>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace vartesa {

class CountersFile;
class Services;
namespace db {
class Database;
}

inline const QString kConfirmationDeleteTitle = QStringLiteral("Stergere Confirmare");
inline const QString kConfirmationPrintTitle = QStringLiteral("Listare Confirmare de primire a debitelor");

/// One entry of CodCLX: a claim with its natural- or legal-person code.
struct ConfirmationCode {
    QString nature; // GRUPA
    bool legal = false;
    QString code;   // CODCLF, or CODCLJ when `legal`
    /// GRUPA + "  >> PF >>  " (or "  >> PJ >>  ") + code, as the list shows it.
    QString text() const;
};
/// From CodCL.dbf ordered by GRUPA: per claim its PF entry, then a PJ entry when that code
/// differs.
std::vector<ConfirmationCode> ConfirmationCodes(db::Database& db, const QString& dataFolder);
/// The entry of the list text `text` ("...  >> PF >>  code"): the part before "  >> P" and the
/// code after the marker, trimmed.
ConfirmationCode ConfirmationCodeOf(const QString& text);

/// What the clerk filled in "Adaugare Confirmare de primire debit".
struct ConfirmationRequest {
    QString village;           // SatulX
    qint64 idgos = 0;          // TitularX; 0 when none is chosen
    std::int64_t amount = 0;   // Suma
    QDate date;                // DataConf
    qint64 listNumber = 0;     // BordNr
    QDate listDate;            // BordData
    ConfirmationCode code;     // CodCLX
    QString senderName;        // NumeDest
    QString senderLocality;    // LocDest
    QString senderAddress;     // AdrDest
    qint64 addressNumber = 0;  // AdrNr
    QDate addressDate;         // AdrData
};

/// A check that failed: the dialog's field at fault and the balloon's text.
struct ConfirmationProblem {
    QString field; // objectName: "SatulX", "TitularX", "Suma", "BordNr", "AdrNr", "NumeDest", ...
    QString message;
};

/// The checks of "Am ales", in order; nothing when the request may be stored.
std::optional<ConfirmationProblem> CheckConfirmation(db::Database& db, const QString& dataFolder,
                                                     const ConfirmationRequest& request);

/// Checks and stores: IDCONF drawn, then the number from "CONFNR", one INSERT. Returns the
/// stored row, or the problem (nothing drawn or stored).
struct ConfirmationAdded {
    std::optional<ConfirmationProblem> problem;
    ConfirmationRecord record;
};
ConfirmationAdded AddConfirmation(db::Database& db, const QString& dataFolder, CountersFile& counters,
                                  const ConfirmationRequest& request);

/// The next confirmation number ("CONFNR", default 1), read without drawing it.
qint64 NextConfirmationNumber(const CountersFile& counters);
/// "&Memoreaza" of TConFRSet: the next number becomes `number` (> 0, else the message).
std::optional<QString> SetConfirmationNumber(CountersFile& counters, qint64 number);

/// Deletes confirmation `id` when it is the last of the register as filtered by `rol` and
/// `name`: refused with "Nu puteti sterge decat ultima Confirmare !" (titled "Stergere
/// Confirmare") otherwise; `ask` hears the question and says whether to delete. True when
/// deleted.
bool DeleteLastConfirmation(Services& services, qint64 id, const QString& rol, const QString& name,
                            const std::function<bool(const QString& question)>& ask);

/// Fills ConfirmareD.rtf of the data folder for confirmation `id` into a free
/// "<outputBase><n>.rtf" and hands it to the desktop when `open`. Returns the document; ""
/// when the template is missing (the clerk is told) or the confirmation is not stored.
/// Throws vartesa::Error when the document cannot be written (every name taken).
QString PrintConfirmation(Services& services, qint64 id, const QString& outputBase, bool open = true);

} // namespace vartesa
