// The fiscal certificate: its properties, its amounts and the filled CFiscal3.rtf.

#include "documents/certificate.h"

#include "admin/admin_constants.h"
#include "admin/admin_folders.h"
#include "books/roles.h"
#include "documents/summonses.h"
#include "db/database.h"
#include "db/query.h"
#include "db/error.h"
#include "fillers/rtf_replace.h"
#include "roles/declaration_pages.h"
#include "roles/page_fields.h"
#include "roles/vehicle_details.h"
#include "roles/village_list.h"
#include "shell/counters.h"
#include "shell/services.h"
#include "shell/startup.h"
#include "shell/table_files.h"
#include "shell/text_helpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace vartesa {

namespace {

const QString kServer = QStringLiteral("SERVER");
const QString kPurposesFile = QStringLiteral("CFServeste.txt");
const QString kTemplateFile = QStringLiteral("CFiscal3.rtf");
const QString kUnused = QStringLiteral("-");

QString n(int i) { return QString::number(i); }
double number(const PageValues& v, const QString& field) { return v.value(field).toDouble(); }
QString area(double value) { return QString::number(value, 'f', 2); }

// A register or page value as the clerk reads it: whole numbers without decimals.
QString plain(const QVariant& value) {
    if (value.typeId() == QMetaType::Double) return PlainNumber(Currency::fromDouble(value.toDouble()));
    return value.toString().trimmed();
}

QString materialText(const QString& material) {
    return material.trimmed() == QLatin1String("1") ? QStringLiteral("3, 4 sau 5") : QStringLiteral("1 sau 2");
}

// The page's own taxable value of the building whose shown value is `screen`, whole lei.
QString buildingValue(int page, const QString& screen, const PageValues& values, const AdminConstants& constants) {
    for (const PageField* f : FieldsOfPage(page))
        if (f->screen == screen) return QString::number(qint64(TaxableValue(*f, values, constants).roundToInt()));
    return QStringLiteral("0");
}

void landEntries(const PageValues& inside, const PageValues& outside, QStringList& out) {
    static const QStringList zones{"A", "B", "C", "D", "E"};
    for (const QString& z : zones)
        if (number(inside, "CC" + z) > 0)
            out << QStringLiteral("teren curti-constructii cu suprafata de %1 mp").arg(area(number(inside, "CC" + z)));
    static const QStringList insideNames{"teren arabil", "pasune", "faneata",     "vie",
                                         "livada",       "neproductiv", "padure", "teren cu ape"};
    for (int i = 1; i <= insideNames.size(); ++i)
        for (const QString& z : zones)
            if (const double a = number(inside, "AL" + n(i) + z); a > 0)
                out << insideNames[i - 1] + QStringLiteral(" intravilan, cu suprafata de %1 ha").arg(area(a));
    static const QStringList outsideNames{
        "teren arabil",          "pasuni-fanete", "vie pe rod",          "vie pana la intrare pe rod",
        "livada pe rod",         "livada pana la intrare pe rod",        "padure",
        "teren de constructii",  "teren neproductiv", "teren cu apa fara amenajari",
        "teren cu amenajari piscicole"};
    for (int i = 1; i <= outsideNames.size(); ++i)
        for (const QString& z : zones.mid(0, 4))
            if (const double a = number(outside, "L" + n(i) + z); a > 0)
                out << outsideNames[i - 1] + QStringLiteral(" extravilan, cu suprafata de %1 ha").arg(area(a));
}

// Every house slot of the page (the page keeps eight), then the two annexes.
void buildingEntries(const PageValues& houses, const PageValues& annexes, const AdminConstants& constants,
                     CertificateProperties& out) {
    for (int k = 1; k <= 8; ++k) {
        const double a = number(houses, "C" + n(k) + "S");
        if (a <= 0) continue;
        out.entries << QStringLiteral("cladire cu suprafata de %1 mp si valoare impozabila de %2 lei")
                           .arg(area(a), buildingValue(2, "ValImp" + n(k), houses, constants));
        out.lines << QStringLiteral("Cladire cu suprafata de %1 mp, an constructie %2 cod material %3")
                         .arg(PlainNumber(Currency::fromDouble(a)), houses.value("C" + n(k) + "A"),
                              materialText(houses.value("C" + n(k) + "C")));
    }
    for (const QString& s : {QString(), QStringLiteral("2")}) {
        const double a = number(annexes, "CAS" + s);
        if (a <= 0) continue;
        out.entries << QStringLiteral("cladire-anexa cu suprafata de %1 mp si valoare impozabila de %2 lei")
                           .arg(area(a), buildingValue(3, s.isEmpty() ? "ValImpA1" : "ValImpA2", annexes, constants));
        out.lines << QStringLiteral("Cladiri-anexe cu suprafata de %1 mp, an constructie %2 cod material %3")
                         .arg(PlainNumber(Currency::fromDouble(a)), annexes.value("CAA" + s),
                              materialText(annexes.value("CAC" + s)));
    }
}

QString vehicleText(const VehicleDetail& v) {
    QString type = v.type.trimmed();
    if (type == QLatin1String("Autoturisme")) type = QStringLiteral("Autoturism");
    if (!v.make.trimmed().isEmpty()) type += QStringLiteral(" marca ") + v.make.trimmed();
    if (v.capacity != 0) type += QStringLiteral(" capacitate %1 cmc").arg(v.capacity);
    if (!v.bodySerial.trimmed().isEmpty()) type += QStringLiteral(" serie sasiu ") + v.bodySerial.trimmed();
    if (!v.engineSerial.trimmed().isEmpty()) type += QStringLiteral(" serie motor ") + v.engineSerial.trimmed();
    return type;
}

// The highest k of the template's ".DEN k.": the rows it has room for.
int templateRows(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return 0;
    static const QRegularExpression den(QStringLiteral("\\.DEN(\\d+)\\."), QRegularExpression::CaseInsensitiveOption);
    int rows = 0;
    for (auto it = den.globalMatch(QString::fromLatin1(f.readAll())); it.hasNext();)
        rows = std::max(rows, it.next().captured(1).toInt());
    return rows;
}

QString amountText(std::int64_t v) { return QString::number(qint64(v)); }

void addAmounts(TRTFReplace& rtf, const std::vector<CertificateAmount>& amounts) {
    const int rows = std::max(kCertificateKeyRows, int(amounts.size()));
    for (int k = 1; k <= rows; ++k) {
        const bool filled = k <= int(amounts.size());
        const CertificateAmount a = filled ? amounts[size_t(k - 1)] : CertificateAmount{};
        rtf.AddValue(".DEN" + n(k) + ".", filled ? a.name : kUnused);
        rtf.AddValue(".C" + n(k) + ".", filled ? amountText(a.current) : kUnused);
        rtf.AddValue(".R" + n(k) + ".", filled ? amountText(a.arrears) : kUnused);
        rtf.AddValue(".M" + n(k) + ".", filled ? amountText(a.increments) : kUnused);
        rtf.AddValue(".T" + n(k) + ".", filled ? a.code : kUnused);
    }
}

// The purpose typed, spaces collapsed, appended to CFServeste.txt when new.
void rememberPurpose(const QString& dataFolder, const QString& typed) {
    const QString purpose = CollapseSpaces(typed);
    if (purpose.isEmpty()) return;
    const QString path = dataFolder + '/' + kPurposesFile;
    QStringList purposes = ReadVillageList(path); // the same one-a-line Windows-1250 list
    if (purposes.contains(purpose)) return;
    WriteVillageList(path, purposes << purpose);
}

} // namespace

CertificateProperties ReadCertificateProperties(db::Database& db, const QString& dataFolder, qint64 idgos,
                                                const AdminConstants& constants) {
    DeclarationPages pages(db, dataFolder);
    CertificateProperties p;
    landEntries(pages.stored(idgos, 4), pages.stored(idgos, 1), p.entries);
    buildingEntries(pages.stored(idgos, 2), pages.stored(idgos, 3), constants, p);
    VehicleDetails vehicles(db, dataFolder);
    if (db.tableExists(vehicles.table()))
        for (const VehicleDetail& v : vehicles.of(idgos))
            if (!v.type.trimmed().isEmpty()) {
                p.entries << vehicleText(v);
                p.lines << vehicleText(v);
            }
    return p;
}

QStringList ReadRegisterParcels(db::Database& db, const QString& registerFolder, const QString& rol,
                                const QString& village) {
    const QString households = registerFolder + QStringLiteral("/Identificare.dbf");
    const QString volumes = registerFolder + QStringLiteral("/Volume.dbf");
    const QString parcels = registerFolder + QStringLiteral("/Cap2B.dbf");
    if (registerFolder.isEmpty() || !db.tableExists(households) || !db.tableExists(volumes) || !db.tableExists(parcels))
        return {};
    const db::Query household = db.query(
        QStringLiteral("SELECT I.IDID FROM \"%1\" I JOIN \"%2\" V ON V.IDVOL = I.IDVOL WHERE TRIM(I.ROL) = TRIM(?) "
                       "AND UPPER(TRIM(V.LOCALIT)) = UPPER(TRIM(?)) AND UPPER(TRIM(COALESCE(I.ANULAT, ''))) <> 'DA'")
            .arg(households, volumes),
        {rol, village});
    if (household.count() != 1) return {}; // another village's household, or no single one
    const db::Query rows = db.query(QStringLiteral("SELECT TARLA, NRTARLA, NRPARC, SUPIN, SUPEX FROM \"%1\" "
                                                   "WHERE IDID = ? AND ANUL = ? ORDER BY RAND")
                                        .arg(parcels),
                                    {household.cell(0, 0), WorkingYear().toInt()});
    QStringList out;
    for (int r = 0; r < rows.count(); ++r) {
        const double inside = rows.cell(r, 3).toDouble();
        out << QStringLiteral("Tarla %1 nr.%2, Parcela %3, Suprafata: %4 HA, %5")
                   .arg(plain(rows.cell(r, 0)), plain(rows.cell(r, 1)), plain(rows.cell(r, 2)),
                        PlainNumber(Currency::fromDouble(inside + rows.cell(r, 4).toDouble())),
                        inside > 0 ? QStringLiteral("intravilan;") : QStringLiteral("extravilan;"));
    }
    return out;
}

std::vector<CertificateAmount> CertificateAmounts(db::Database& db, const QString& dataFolder,
                                                  const AccountGrids& grids) {
    QHash<QString, QString> codes; // GRUPA in capitals -> CODCLF
    const QString table = dataFolder + '/' + tables::BudgetCodes;
    if (db.tableExists(table)) {
        const db::Query q = db.query(QStringLiteral("SELECT GRUPA, CODCLF FROM \"%1\"").arg(table));
        for (int r = 0; r < q.count(); ++r) {
            const QString group = q.cell(r, 0).toString().trimmed().toUpper();
            if (!codes.contains(group)) codes.insert(group, q.cell(r, 1).toString().trimmed());
        }
    }
    auto row = [&](const QString& group, std::int64_t c, std::int64_t r, std::int64_t m) {
        return CertificateAmount{group, c, r, m, codes.value(group.trimmed().toUpper(), kUnused)};
    };
    std::vector<CertificateAmount> out;
    for (const TaxRow& t : grids.taxes) out.push_back(row(t.group, t.current, t.netArrears, t.penalties));
    for (const DebitRow& d : grids.debits) out.push_back(row(d.group, d.open, 0, d.penalty));
    for (const ClaimRow& c : grids.claims) out.push_back(row(c.group, c.current, c.arrears, 0));
    return out;
}

QString CertificateAddress(const Role& role) {
    if (role.personType.trimmed().compare(kPersonNatural, Qt::CaseInsensitive) != 0)
        return QStringLiteral("persoana juridica");
    const QString code = role.code.trimmed();
    return code.isEmpty() || QStringLiteral("1357").contains(code.front()) ? QStringLiteral("domnul")
                                                                           : QStringLiteral("doamna");
}

QString CertificateCode(const Role& role) {
    const bool natural = role.personType.trimmed().compare(kPersonNatural, Qt::CaseInsensitive) == 0;
    return (natural ? QStringLiteral("C.N.P. ") : QStringLiteral("C.F. ")) + role.code.trimmed();
}

QStringList ReadCertificatePurposes(const QString& dataFolder) { return ReadVillageList(dataFolder + '/' + kPurposesFile); }

void RememberRegisterChoice(CountersFile& counters, bool fromRegister) {
    counters.WriteCounter(kServer, QStringLiteral("CFDINRA"), YesNo(fromRegister));
}

QString CertificateRegisterFolder(const CountersFile& counters) {
    const QString folder = counters.ReadCounter(kServer, QStringLiteral("CALERA2015")).trimmed();
    return RegisterFolderHasParcels(folder) ? folder : QString();
}

bool RegisterFolderHasParcels(const QString& folder) {
    return !folder.isEmpty() && HoldsFiles(folder, {QStringLiteral("Cap2B.dbf")});
}

bool IsRegisterFolder(const QString& folder) {
    return !folder.isEmpty() && HoldsFiles(folder, {QStringLiteral("Ra2015.set")});
}

QString ChooseRegisterFolder(Services& s, const QString& picked) {
    const QString folder = WithoutTrailingSeparator(picked.trimmed());
    if (!IsRegisterFolder(folder)) {
        s.messages().showError(QStringLiteral("Cale Baza de date RA 2015"), QStringLiteral("Calea indicata nu este corecta!"));
        return {};
    }
    s.counters().WriteCounter(kServer, QStringLiteral("CALERA2015"), folder);
    return folder;
}

CertificateIssue IssueCertificate(Services& s, const AdminConstants& constants, const AccountRules& rules,
                                  const CertificateRequest& request, const QString& outputBase, bool open) {
    CertificateIssue issue;
    db::Database& db = s.database();
    const QString folder = s.folders.data;
    const QString source = folder + '/' + kTemplateFile;
    if (!QFileInfo(source).isFile()) {
        s.messages().showError(kCertificateTitle, QStringLiteral("Va lipseste fisierul ") + source + QStringLiteral(" !"));
        return issue;
    }
    const AccountRole account = OpenAccountRole(db, folder, rules, request.idgos, WorkingYear().toInt());
    if (!account.found) {
        s.messages().showError(kCertificateTitle, QStringLiteral("ROL-ul cu IDGOS %1 nu exista.").arg(request.idgos));
        return issue;
    }
    const Role& role = account.role;
    const CertificateProperties properties = ReadCertificateProperties(db, folder, request.idgos, constants);
    if (request.property < 0 || request.property > properties.entries.size()) {
        s.messages().showError(kCertificateTitle, QStringLiteral("Nu exista proprietatea %1!").arg(request.property));
        return issue;
    }
    issue.properties = properties.entries;
    if (request.fromRegister) {
        issue.lines = ReadRegisterParcels(db, request.registerFolder, role.number, role.village);
        issue.lines << properties.lines;
    }
    issue.amounts = CertificateAmounts(db, folder, BuildAccountGrids(db, folder, account, request.date));
    issue.templateRows = templateRows(source);

    // Accepted: what the dialog remembers, then the number.
    rememberPurpose(folder, request.purpose);
    CountersFile counters = s.counters();
    counters.WriteCounter(kServer, QStringLiteral("CFTAXAT"), request.stamp.trimmed());
    RememberRegisterChoice(counters, request.fromRegister);
    const QString drawn = counters.NextId(kServer, QStringLiteral("CFNR"));
    issue.number = request.number.trimmed().isEmpty() ? drawn : request.number.trimmed();
    issue.refused = false;

    TRTFReplace rtf(s.desktop());
    rtf.RTFSursa = source;
    QDir().mkpath(QFileInfo(outputBase).absolutePath());
    if (!rtf.FindFreeDest(outputBase))
        throw Error(QStringLiteral("Certificatul nu poate fi scris: toate numele de fisier sunt ocupate!"), outputBase);
    if (!rtf.WriteHeader()) throw Error(QStringLiteral("Documentul %1 nu poate fi scris!").arg(rtf.RTFDest), rtf.RTFDest);
    try {
        const SummonsPrintSettings office = ReadSummonsPrintSettings(s, {});
        rtf.AddValue(QStringLiteral("[JUDET]"), office.townHall.county);
        rtf.AddValue(QStringLiteral("[PRIMARIA]"), office.townHall.name);
        rtf.AddValue(QStringLiteral("[PRIMAR]"), office.mayor);
        rtf.AddValue(QStringLiteral("[CUI]"), office.townHall.fiscalCode);
        rtf.AddValue(QStringLiteral("[CNP]"), CertificateCode(role));
        rtf.AddValue(QStringLiteral("[DL]"), CertificateAddress(role));
        rtf.AddValue(QStringLiteral("[NUMEP]"), role.name);
        rtf.AddValue(QStringLiteral("[ADRESA]"), role.address);
        rtf.AddValue(QStringLiteral("[ROL]"), role.number);
        rtf.AddValue(QStringLiteral("[CERTNR]"), issue.number);
        rtf.AddValue(QStringLiteral("[CERTDATA]"), DateText(request.date));
        rtf.AddValue(QStringLiteral("[CERENR]"), request.requestNumber.trimmed());
        rtf.AddValue(QStringLiteral("[CEREDATA]"), DateText(request.requestDate));
        rtf.AddValue(QStringLiteral("[CITIP]"), request.idType);
        rtf.AddValue(QStringLiteral("[CISERIA]"), request.idSeries.trimmed());
        rtf.AddValue(QStringLiteral("[CINR]"), request.idNumber.trimmed());
        rtf.AddValue(QStringLiteral("[SUP]"), request.property == 0 ? properties.entries.join(QStringLiteral(", "))
                                                                    : properties.entries[request.property - 1]);
        rtf.AddValue(QStringLiteral("[SUPPOZ]"), request.place.trimmed());
        rtf.AddValue(QStringLiteral("[SERVESTE]"), CollapseSpaces(request.purpose));
        rtf.AddValue(QStringLiteral("[TAXA]"), request.stamp.trimmed());
        rtf.AddValue(QStringLiteral("[CHITNR]"), request.stampReceipt.trimmed());
        rtf.AddValue(QStringLiteral("[CHITDATA]"), DateText(request.stampDate));
        // One template line per property line; a single space when there is none.
        if (issue.lines.isEmpty()) rtf.AddValue(QStringLiteral("[CAP2B]"), QStringLiteral(" "));
        for (const QString& line : issue.lines) rtf.AddValue(QStringLiteral("[CAP2B]"), line);
        addAmounts(rtf, issue.amounts);
        rtf.AppendBody(1);
        rtf.CloseDocument();
    } catch (...) {
        QFile::remove(rtf.RTFDest);
        throw;
    }
    issue.file = rtf.RTFDest;
    if (int(issue.amounts.size()) > issue.templateRows)
        s.messages().showInformation(kCertificateTitle,
                                     QStringLiteral("Certificatul cuprinde doar primele %1 randuri din %2! Completati "
                                                    "modelul CFiscal3.rtf.")
                                         .arg(issue.templateRows)
                                         .arg(issue.amounts.size()));
    if (open) rtf.OpenDest();
    return issue;
}

} // namespace vartesa
