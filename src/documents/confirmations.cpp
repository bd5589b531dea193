// Debit receipt confirmations: the register's operations and the printed confirmation.

#include "documents/confirmations.h"

#include "books/roles.h"
#include "db/database.h"
#include "db/query.h"
#include "db/error.h"
#include "documents/summonses.h"
#include "fillers/rtf_replace.h"
#include "shell/counters.h"
#include "shell/services.h"
#include "shell/table_files.h"
#include "shell/text_helpers.h"

#include <QDir>
#include <QFileInfo>

namespace vartesa {

namespace {

const QString kServer = QStringLiteral("SERVER");
const QString kNumberKey = QStringLiteral("CONFNR");
const QString kPersonMarker = QStringLiteral("  >> PF >>  ");
const QString kCompanyMarker = QStringLiteral("  >> PJ >>  ");


} // namespace

QString ConfirmationCode::text() const { return nature + (legal ? kCompanyMarker : kPersonMarker) + code; }

std::vector<ConfirmationCode> ConfirmationCodes(db::Database& db, const QString& dataFolder) {
    const QString table = dataFolder + '/' + tables::BudgetCodes;
    if (!db.tableExists(table)) return {};
    const db::Query q = db.query(QStringLiteral("SELECT GRUPA, CODCLF, CODCLJ FROM \"%1\" GROUP BY GRUPA, CODCLF, CODCLJ "
                                                "ORDER BY GRUPA")
                                     .arg(table));
    std::vector<ConfirmationCode> out;
    for (int r = 0; r < q.count(); ++r) {
        const QString group = q.cell(r, 0).toString().trimmed();
        const QString person = q.cell(r, 1).toString().trimmed(), company = q.cell(r, 2).toString().trimmed();
        out.push_back({group, false, person});
        if (company != person) out.push_back({group, true, company});
    }
    return out;
}

ConfirmationCode ConfirmationCodeOf(const QString& text) {
    ConfirmationCode c;
    const int at = int(text.indexOf(QStringLiteral("  >> P")));
    if (at < 0) return {text.trimmed(), false, {}};
    c.nature = text.left(at);
    c.legal = text.mid(at).startsWith(kCompanyMarker);
    c.code = text.mid(at + int(kPersonMarker.size())).trimmed();
    return c;
}

std::optional<ConfirmationProblem> CheckConfirmation(db::Database& db, const QString& dataFolder,
                                                     const ConfirmationRequest& r) {
    using W = ConfirmationWidths;
    if (r.village.trimmed().isEmpty()) return ConfirmationProblem{"SatulX", QStringLiteral("Nu ati ales Localitatea!")};
    if (r.idgos <= 0) return ConfirmationProblem{"TitularX", QStringLiteral("Nu ati ales Titularul!")};
    if (r.amount <= 0) return ConfirmationProblem{"Suma", QStringLiteral("Mai trebuie si-o suma pe aici...")};
    // SUMA holds six digits: a larger debit would be stored cut.
    if (r.amount > W::amount) return ConfirmationProblem{"Suma", QStringLiteral("Suma prea mare!")};
    if (r.listNumber <= 0) return ConfirmationProblem{"BordNr", QStringLiteral("Numar borderou incorect!")};
    if (r.addressNumber <= 0) return ConfirmationProblem{"AdrNr", QStringLiteral("Numar adresa inaintata incorect!")};
    if (CollapseSpaces(r.senderName).isEmpty())
        return ConfirmationProblem{"NumeDest", QStringLiteral("Lipseste Nume destinatar!")};
    // The sender's texts are stored whole or refused: a cut address would be sent back wrong.
    const struct {
        const char* field;
        QString text;
        int width;
    } texts[] = {{"NumeDest", r.senderName, W::senderName},
                 {"LocDest", r.senderLocality, W::senderLocality},
                 {"AdrDest", r.senderAddress, W::senderAddress}};
    for (const auto& t : texts)
        if (CollapseSpaces(t.text).size() > t.width) return ConfirmationProblem{t.field, QStringLiteral("Text prea lung!")};
    const std::optional<Role> role = ReadRole(db, dataFolder, r.idgos);
    if (!role || role->village.trimmed().compare(r.village.trimmed(), Qt::CaseInsensitive) != 0)
        return ConfirmationProblem{"TitularX", QStringLiteral("Nu exista Titularul in satul ales!")};
    return std::nullopt;
}

ConfirmationAdded AddConfirmation(db::Database& db, const QString& dataFolder, CountersFile& counters,
                                  const ConfirmationRequest& r) {
    ConfirmationAdded added;
    added.problem = CheckConfirmation(db, dataFolder, r);
    if (added.problem) return added;
    const Role role = *ReadRole(db, dataFolder, r.idgos);
    db.checkTable(dataFolder + '/' + tables::Confirmations);
    const std::vector<qint64> drawn = counters.NextIdEach({{kServer, QStringLiteral("IDCONF")}, {kServer, kNumberKey}});
    ConfirmationRecord& c = added.record;
    c.id = drawn[0];
    c.roleId = r.idgos;
    c.number = drawn[1];
    c.date = r.date;
    c.listNumber = r.listNumber;
    c.listDate = r.listDate;
    c.rol = role.number;
    c.code = r.code.code;
    c.senderName = CollapseSpaces(r.senderName);
    c.senderAddress = CollapseSpaces(r.senderAddress);
    c.senderLocality = CollapseSpaces(r.senderLocality);
    c.addressNumber = r.addressNumber;
    c.addressDate = r.addressDate;
    c.amount = r.amount;
    c.nature = r.code.nature;
    c.name = role.name;
    c.address = role.address;
    c.village = role.village;
    InsertConfirmation(db, dataFolder, c);
    return added;
}

qint64 NextConfirmationNumber(const CountersFile& counters) {
    return counters.ReadCounter(kServer, kNumberKey, QStringLiteral("1")).toLongLong();
}

std::optional<QString> SetConfirmationNumber(CountersFile& counters, qint64 number) {
    if (number <= 0) return QStringLiteral("Numar de Confirmare Debit incorect!");
    counters.WriteCounter(kServer, kNumberKey, QString::number(number));
    return std::nullopt;
}

bool DeleteLastConfirmation(Services& s, qint64 id, const QString& rol, const QString& name,
                            const std::function<bool(const QString&)>& ask) {
    const std::vector<ConfirmationRecord> rows = ReadConfirmations(s.database(), s.folders.data, rol, name);
    if (rows.empty() || rows.back().id != id) {
        s.messages().showError(kConfirmationDeleteTitle, QStringLiteral("Nu puteti sterge decat ultima Confirmare !"));
        return false;
    }
    const ConfirmationRecord& last = rows.back();
    if (!ask(QStringLiteral("Doriti sa stergeti Confirmarea nr.%1 / %2 ?").arg(last.number).arg(DateText(last.date))))
        return false;
    DeleteConfirmation(s.database(), s.folders.data, id);
    return true;
}

QString PrintConfirmation(Services& s, qint64 id, const QString& outputBase, bool open) {
    const QString source = s.folders.data + QStringLiteral("/ConfirmareD.rtf");
    if (!QFileInfo(source).isFile()) {
        s.messages().showError(kConfirmationPrintTitle,
                               QStringLiteral("Fisierul \\DATA\\ConfirmareD.rtf nu exista!\rActualizati programul!"));
        return {};
    }
    const ConfirmationRecord c = ReadConfirmation(s.database(), s.folders.data, id);
    if (c.id == 0) return {};
    TRTFReplace rtf(s.desktop());
    rtf.RTFSursa = source;
    QDir().mkpath(QFileInfo(outputBase).absolutePath());
    if (!rtf.FindFreeDest(outputBase))
        throw Error(QStringLiteral("Confirmarea nu poate fi scrisa: toate numele de fisier sunt ocupate!"), outputBase);
    if (!rtf.WriteHeader()) throw Error(QStringLiteral("Documentul %1 nu poate fi scris!").arg(rtf.RTFDest), rtf.RTFDest);
    const SummonsPrintSettings office = ReadSummonsPrintSettings(s, {});
    const QString amount = QString::number(qint64(c.amount));
    const std::pair<const char*, QString> values[] = {
        {"[JUDET]", office.townHall.county},     {"[LOCALITATEA]", office.townHall.locality},
        {"[CF]", office.townHall.fiscalCode},    {"[NRCONF]", QString::number(c.number)},
        {"[DATACONF]", DateText(c.date)},        {"[BORDNR]", QString::number(c.listNumber)},
        {"[BORDATA]", DateText(c.listDate)},     {"[CODCL]", c.code},
        {"[NUMEDEST]", c.senderName},            {"[ADRDEST]", c.senderAddress},
        {"[ROL]", c.rol},                        {"[NUMEP]", c.name},
        {"[ADRESA]", c.address},                 {"[LOCDEST]", c.senderLocality},
        {"[SUMA]", amount},                      {"[SUMATEXT]", AmountInWords(amount)},
        {"[ADRNR]", QString::number(c.addressNumber)}, {"[ADRDATA]", DateText(c.addressDate)},
        {"[NATCL]", c.nature},                   {"[SATUL]", c.village}};
    try {
        for (const auto& [key, value] : values) rtf.AddValue(QLatin1String(key), value);
        rtf.AppendBody(1);
        rtf.CloseDocument();
    } catch (...) {
        QFile::remove(rtf.RTFDest);
        throw;
    }
    if (open) rtf.OpenDest();
    return rtf.RTFDest;
}

} // namespace vartesa
