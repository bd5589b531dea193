#pragma once
// The fiscal certificate: what a taxpayer is registered with (his land, buildings and
// vehicles, read from the declaration pages) and what he owes on the certificate's date,
// row for row the role account of that date. CFiscal3.rtf is filled into "Cert<n>.rtf";
// the certificate number comes from the counter "CFNR", which two workstations never share.
// Nothing is written to the tables; the dialog keeps its remembered values in the counters
// file and its purposes in CFServeste.txt.

#include "cash/account.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace vartesa {

class AdminConstants;
class CountersFile;
class Services;
namespace db {
class Database;
}

inline const QString kCertificateTitle = QStringLiteral("Certificat Fiscal");
/// The first entry of the property list: every property.
inline const QString kAllProperties = QStringLiteral(" * toate proprietatile *");
/// Rows the amounts keys run to: those after the last row are "-".
constexpr int kCertificateKeyRows = 15;

/// What a role is registered with: the entries of the dialog's property list (without the
/// first, "all") and the lines of "[CAP2B]" from the pages (without the parcels).
struct CertificateProperties {
    QStringList entries; // land, buildings with their taxable value, vehicles
    QStringList lines;   // buildings with year and material, vehicles
};

/// The properties of role `idgos` from Pag4, Pag1, Pag2 and AutoDet.dbf, read only (a role
/// without a page row has nothing on it). Areas "0.00"; building values the page's own
/// (TaxableValue), whole lei.
CertificateProperties ReadCertificateProperties(db::Database& db, const QString& dataFolder, qint64 idgos,
                                                const AdminConstants& constants);

/// The parcels of the agricultural register in `registerFolder` for the household of role
/// number `rol` in `village` (Identificare by ROL, its volume's LOCALIT the village, trimmed
/// and in any case; cancelled households skipped): "Tarla ... intravilan;" in RAND order of
/// the working year. None when no household or more than one matches, or the folder lacks
/// the tables.
QStringList ReadRegisterParcels(db::Database& db, const QString& registerFolder, const QString& rol,
                                const QString& village);

/// One row of the amounts table: ".DEN k.", ".C k.", ".R k.", ".M k.", ".T k.".
struct CertificateAmount {
    QString name;            // GRUPA
    std::int64_t current = 0; // CUR1, or SUMAC of a debit
    std::int64_t arrears = 0; // RAM1, 0 for a debit, REST1 for another tax
    std::int64_t increments = 0; // MAJOR1, MAJOR of a debit, 0 for another tax
    QString code;            // CODCLF of the group, "-" when CodCL.dbf lacks it
};

/// The rows of the account's grids in their order (taxes, debits, other taxes), with the
/// natural-person budget code of each group.
std::vector<CertificateAmount> CertificateAmounts(db::Database& db, const QString& dataFolder,
                                                  const AccountGrids& grids);

/// "[DL]": "persoana juridica" for a legal person; "domnul" for a code starting with 1, 3,
/// 5 or 7 or none, "doamna" for any other.
QString CertificateAddress(const Role& role);
/// "[CNP]": "C.N.P. " or "C.F. " (legal person) and the trimmed code.
QString CertificateCode(const Role& role);

/// What the clerk filled in the dialog.
struct CertificateRequest {
    qint64 idgos = 0;
    QString number;        // CFNr as typed; empty: the number drawn is printed
    QDate date;            // CFData: the day of the certificate and of its amounts
    QString requestNumber; // CereNr
    QDate requestDate;     // CereData
    QString idType = QStringLiteral("C.I."); // CITip
    QString idSeries;      // CISeria
    QString idNumber;      // CINr
    int property = 0;      // TipSup: 0 every property, k the k-th entry
    QString place;         // SupPoz
    bool fromRegister = false; // CheckBox1: parcels and buildings listed
    QString registerFolder; // CALERA2015
    QString purpose;       // Serveste
    QString stamp;         // TimbruVal
    QString stampReceipt;  // TaxaChitNr
    QDate stampDate;       // TaxaChitData
};

/// What issuing wrote.
struct CertificateIssue {
    bool refused = true;       // a message told the clerk why nothing was done
    QString number;            // [CERTNR]
    QStringList properties;    // the property list without its first entry
    QStringList lines;         // "[CAP2B]" values, as printed
    std::vector<CertificateAmount> amounts;
    int templateRows = 0;      // rows the template has room for
    QString file;              // the document
};

/// The purposes of CFServeste.txt, one a line.
QStringList ReadCertificatePurposes(const QString& dataFolder);
/// "CFDINRA" stored after the register box: the dialog does it however it closes.
void RememberRegisterChoice(CountersFile& counters, bool fromRegister);
/// The register folder remembered ("CALERA2015") when it holds Cap2B.dbf, else "".
QString CertificateRegisterFolder(const CountersFile& counters);

/// BitBtn1: a folder holding Ra2015.set (its trailing separator dropped) is remembered as
/// "CALERA2015" and returned; any other gives "" after "Calea indicata nu este corecta!"
/// (titled "Cale Baza de date RA 2015").
QString ChooseRegisterFolder(Services& services, const QString& picked);
/// The folder holds Ra2015.set: a DATA folder of the agricultural register.
bool IsRegisterFolder(const QString& folder);
/// CheckBox1 may stay ticked: the folder holds Cap2B.dbf.
bool RegisterFolderHasParcels(const QString& folder);
inline const QString kRegisterUnavailable = QStringLiteral("Baza de date Registru Agricol nedisponibila!");

/// Accepts the dialog and writes the certificate: CFiscal3.rtf first (missing: the clerk is
/// told and nothing is drawn or stored), then the purpose appended once to CFServeste.txt,
/// "CFTAXAT", "CFDINRA", the number drawn from "CFNR", and the document filled into a free
/// "<outputBase><n>.rtf" and handed to the desktop when `open`. The amounts are the account
/// of `request.date`; more rows than the template holds are told to the clerk after the
/// document is written. Throws vartesa::Error when the document cannot be written.
CertificateIssue IssueCertificate(Services& services, const AdminConstants& constants, const AccountRules& rules,
                                  const CertificateRequest& request, const QString& outputBase, bool open = true);

} // namespace vartesa
