// The import of a register copy into the data folder: first the whole plan in memory (every
// household matched, every page row computed and checked against its field), then the writes
// of the plan in one transaction, step by step under the progress window.

#include "datafolder/register_import.h"

#include "admin/admin_zones.h"
#include "datafolder/backup.h"
#include "books/balances.h"
#include "books/ledger.h"
#include "books/roles.h"
#include "db/database.h"
#include "db/query.h"
#include "roles/declaration_pages.h"
#include "roles/page_fields.h"
#include "roles/role_register.h"
#include "roles/village_list.h"
#include "shell/action_log.h"
#include "shell/counters.h"
#include "shell/file_helpers.h"
#include "shell/startup.h"
#include "shell/services.h"
#include "shell/table_files.h"
#include "shell/text_helpers.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <tuple>

namespace vartesa {

namespace {

using Values = std::vector<std::pair<QString, QVariant>>; // field, value to store

// One page table as stored: its fields, and the first row of each role.
class StoredPage {
public:
    StoredPage(const StoredPage&) = delete; // fields_ points into layout_
    StoredPage& operator=(const StoredPage&) = delete;
    StoredPage(db::Database& db, const QString& path) : path_(path) {
        layout_ = db.layout(path);
        q_ = db.query(QStringLiteral("SELECT * FROM \"%1\"").arg(path));
        for (const db::Field& f : layout_.fields) fields_.insert(f.name, &f);
        for (int c = 0; c < q_.columnCount(); ++c) columns_.insert(q_.columnName(c).toUpper(), c);
        const int id = q_.columnIndex(QStringLiteral("IDGOS"));
        for (int r = 0; r < q_.count(); ++r) {
            const qint64 role = q_.cell(r, id).toLongLong();
            if (!rows_.contains(role)) rows_.insert(role, r);
        }
    }
    const QString& path() const { return path_; }
    const db::Layout& layout() const { return layout_; }
    bool has(qint64 role) const { return rows_.contains(role); }
    /// The field of that name (upper case, as the import names them); null when none.
    const db::Field* field(const QString& name) const { return fields_.value(name); }
    QVariant value(qint64 role, const QString& name) const {
        const int c = columns_.value(name, -1);
        const auto row = rows_.constFind(role);
        return c < 0 || row == rows_.cend() ? QVariant() : q_.cell(*row, c);
    }

private:
    QString path_;
    db::Layout layout_;
    db::Query q_;
    QHash<qint64, int> rows_; // IDGOS -> row of q_
    QHash<QString, const db::Field*> fields_; // by upper-case name, into layout_
    QHash<QString, int> columns_;             // column of q_ by upper-case name
};

// 10^n for the widths of a dBase number (at most 32 characters).
double powerOfTen(int n) {
    static const auto table = [] {
        std::array<double, 40> t{};
        t[0] = 1;
        for (size_t i = 1; i < t.size(); ++i) t[i] = t[i - 1] * 10;
        return t;
    }();
    return table[size_t(std::clamp(n, 0, 39))];
}

qint64 scaled(const QVariant& v, int decimals) { return std::llround(v.toDouble() * powerOfTen(decimals)); }

bool sameValue(const db::Field& f, const QVariant& stored, const QVariant& wanted) {
    if (f.type == db::FieldType::Date) return stored.toDate() == wanted.toDate();
    if (f.type == db::FieldType::Char) return stored.toString().trimmed() == wanted.toString().trimmed();
    return !stored.isNull() && scaled(stored, f.decimals) == scaled(wanted, f.decimals);
}

// The refusal of a value its field cannot hold; empty when it fits.
QString misfit(const StoredPage& page, const QString& name, const QVariant& v) {
    const db::Field* f = page.field(name);
    if (!f) return {};
    const bool number = f->type == db::FieldType::Numeric || f->type == db::FieldType::Float;
    bool fits = true;
    if (number) {
        // Digits before the point: the width less the point and the decimals, and the sign.
        const double x = v.toDouble();
        const int whole = f->length - (f->decimals ? f->decimals + 1 : 0) - (x < 0 ? 1 : 0);
        fits = whole > 0 && std::llabs(scaled(x, f->decimals)) < std::llround(powerOfTen(whole + f->decimals));
    } else if (f->type == db::FieldType::Char) {
        fits = v.toString().size() <= f->length;
    }
    if (fits) return {};
    const QString text = number ? QString::number(v.toDouble(), 'f', f->decimals) : v.toString();
    return QStringLiteral("valoarea %1 nu incape in campul %2 din %3").arg(text, f->name, page.path().section('/', -1));
}

struct PagePlan {
    RowChange change = RowChange::None; // None: not imported
    Values values;
};

struct HouseholdPlan {
    const RegisterHousehold* h = nullptr;
    Role role;                 // as it will be stored
    bool isNew = false;
    bool roleChanged = false;
    bool namesChanged = false; // village or number text changed: carried into the books
    PagePlan p1, p4, p2;
    QString refusal;
    QStringList warnings;
};

QString roleKey(const QString& village, const QString& number) {
    return CollapseSpaces(village.toUpper()) + QChar(0x1f) + CollapseSpaces(number.toUpper());
}

qint64 hundredths(const QVariant& v) { return std::llround(v.toDouble() * 100); }

// The zone and rank of each village of DefZone.dbf, the defaults for the others.
class Villages {
public:
    Villages(db::Database& db, const QString& folder, int year) {
        defaults_ = StoredPageDefaults(db, folder);
        if (!ZoneList().contains(defaults_.zone)) defaults_.zone = QStringLiteral("A");
        if (!RankList().contains(defaults_.rank)) defaults_.rank = QStringLiteral("IV");
        defaults_.revaluationDate = QDate(year, 1, 1);
        for (const ZoneRow& row : ZoneTable(db, folder).all()) {
            BlankPageDefaults d = defaults_;
            if (ZoneList().contains(row.zone.toUpper())) d.zone = row.zone.toUpper();
            if (RankList().contains(row.rank.toUpper())) d.rank = row.rank.toUpper();
            const QString key = CollapseSpaces(row.locality.toUpper());
            if (!zones_.contains(key)) zones_.insert(key, d);
        }
    }
    BlankPageDefaults of(const QString& village) const {
        return zones_.value(CollapseSpaces(village.toUpper()), defaults_);
    }

private:
    BlankPageDefaults defaults_;
    QHash<QString, BlankPageDefaults> zones_;
};

// The change a page plan makes to a stored row (or its addition).
RowChange changeOf(const StoredPage& page, qint64 id, bool isNew, const Values& values) {
    if (isNew || !page.has(id)) return RowChange::Added;
    for (const auto& [name, v] : values) {
        const db::Field* f = page.field(name);
        if (f && !sameValue(*f, page.value(id, name), v)) return RowChange::Modified;
    }
    return RowChange::Unchanged;
}

const QRegularExpression& landOutsideField() {
    static const QRegularExpression re(QStringLiteral("^L\\d+[A-E]$"));
    return re;
}
const QRegularExpression& landInsideField() {
    static const QRegularExpression re(QStringLiteral("^(CC|AL\\d+)[A-E]$"));
    return re;
}

Values zeroed(const StoredPage& page, const QRegularExpression& which) {
    Values v;
    for (const db::Field& f : page.layout().fields)
        if (which.match(f.name).hasMatch()) v.emplace_back(f.name, 0.0);
    return v;
}

void set(Values& values, const QString& name, const QVariant& v) {
    for (auto& [n, value] : values)
        if (n == name) {
            value = v;
            return;
        }
    values.emplace_back(name, v);
}

class Planner {
public:
    Planner(const RegisterCopy& copy, const RegisterChoice& choice, const Villages& villages, const StoredPage& p1,
            const StoredPage& p2, const StoredPage& p4)
        : copy_(copy), choice_(choice), villages_(villages), p1_(p1), p2_(p2), p4_(p4) {}

    void plan(HouseholdPlan& p) {
        const RegisterHousehold& h = *p.h;
        const BlankPageDefaults zone = villages_.of(h.village);
        if (const auto land = copy_.land.find(h.idid); choice_.land && land != copy_.land.end()) {
            p.p1.values = outside(land->second, zone.zone, p.warnings);
            p.p4.values = inside(land->second, zone.zone, p.role.id);
            p.p1.change = changeOf(p1_, p.role.id, p.isNew, p.p1.values);
            p.p4.change = changeOf(p4_, p.role.id, p.isNew, p.p4.values);
        }
        if (const auto b = copy_.buildings.find(h.idid); choice_.buildings && b != copy_.buildings.end()) {
            p.p2.values = buildings(b->second, zone, p.warnings);
            p.p2.change = changeOf(p2_, p.role.id, p.isNew, p.p2.values);
        }
        for (const auto& [page, plan] : {std::pair{&p1_, &p.p1}, {&p4_, &p.p4}, {&p2_, &p.p2}})
            for (const auto& [name, v] : plan->values)
                if (const QString why = misfit(*page, name, v); !why.isEmpty() && p.refusal.isEmpty()) p.refusal = why;
    }

private:
    // Extravilan land: hectares (m2 / 10000) of the register columns in the village's zone.
    Values outside(const RegisterLand& l, const QString& z, QStringList& warnings) const {
        Values v = zeroed(p1_, landOutsideField());
        const auto& e = l.extra;
        const auto put = [&](int line, qint64 m2) {
            if (m2 < 0) {
                warnings << QStringLiteral("L%1%2 negativ (%3 m2), pus 0").arg(line).arg(z).arg(m2);
                m2 = 0;
            }
            set(v, QStringLiteral("L%1%2").arg(line).arg(z), double(m2) / 10000);
        };
        put(1, e[1] + e[9]);
        put(2, e[2] + e[3]);
        put(3, e[5]);
        put(4, e[4] - e[5] - e[6]);
        put(5, e[8]);
        put(6, e[7] - e[8]);
        put(7, e[12]);
        put(9, e[15]);
        put(11, e[16]);
        return v;
    }

    // Intravilan land in hectares, the built-up yard in m2 (less the stored buildings when
    // they are not taken from the register).
    Values inside(const RegisterLand& l, const QString& z, qint64 id) const {
        Values v = zeroed(p4_, landInsideField());
        const auto& i = l.intra;
        const auto put = [&](int line, qint64 m2) { set(v, QStringLiteral("AL%1%2").arg(line).arg(z), double(m2) / 10000); };
        put(1, i[1] + i[9]);
        put(2, i[2]);
        put(3, i[3]);
        put(4, i[5]);
        put(5, i[8]);
        put(6, i[15]);
        put(7, i[12]);
        put(8, i[16]);
        qint64 yard = (i[14] + std::max<qint64>(l.extra[14], 0)) * 100;
        if (!choice_.buildings) {
            for (int k = 1; k <= 8; ++k) yard -= hundredths(p2_.value(id, QStringLiteral("C%1S").arg(k)));
            yard -= hundredths(p2_.value(id, QStringLiteral("CAS"))) + hundredths(p2_.value(id, QStringLiteral("CAS2")));
        }
        set(v, QStringLiteral("CC") + z, double(std::max<qint64>(yard, 0)) / 100);
        return v;
    }

    // Dwellings (types A and B) into the house slots in RAND order, the rest summed into the
    // annex; a ninth dwelling onward adds its area to house 8.
    Values buildings(const std::vector<RegisterBuilding>& list, const BlankPageDefaults& zone,
                     QStringList& warnings) const {
        Values v;
        const QDate yearStart(copy_.year, 1, 1);
        std::vector<qint64> houses; // hundredths of m2 per slot
        qint64 annex = 0;
        qint64 annexYear = -1;
        for (const RegisterBuilding& b : list) {
            if (b.type != QLatin1String("A") && b.type != QLatin1String("B")) {
                annex += b.area;
                if (annexYear < 0) annexYear = b.year;
                continue;
            }
            if (houses.size() == 8) {
                houses[7] += b.area;
                warnings << QStringLiteral("locuinta %1 (RAND %2) adaugata la casa 8").arg(houses.size() + 1).arg(b.order);
                continue;
            }
            houses.push_back(b.area);
            const QString k = QString::number(houses.size());
            set(v, "C" + k + "A", double(b.year));
            set(v, "C" + k + "C", b.type == QLatin1String("A") ? 0.0 : 1.0);
            set(v, "C" + k + "Z", zone.zone);
            set(v, "C" + k + "R", zone.rank);
            set(v, "NR" + k, double(houses.size()));
            set(v, "V" + k, 0.0);
            set(v, "AM" + k, QStringLiteral("NU"));
            set(v, "DINV" + k, yearStart);
        }
        for (size_t s = 0; s < houses.size(); ++s) set(v, QStringLiteral("C%1S").arg(s + 1), double(houses[s]) / 100);
        if (annexYear >= 0) {
            set(v, QStringLiteral("CAS"), double(annex) / 100);
            set(v, QStringLiteral("CAA"), double(annexYear));
            set(v, QStringLiteral("CAC"), 1.0);
            set(v, QStringLiteral("CAZ"), zone.zone);
            set(v, QStringLiteral("CAR"), zone.rank);
        }
        return v;
    }

    const RegisterCopy& copy_;
    const RegisterChoice& choice_;
    const Villages& villages_;
    const StoredPage& p1_;
    const StoredPage& p2_;
    const StoredPage& p4_;
};

void writePage(db::Database& db, const StoredPage& page, const BlankPageDefaults& blank, qint64 id, const PagePlan& plan,
               const QString& dataFolder) {
    if (plan.change == RowChange::None || plan.change == RowChange::Unchanged) return;
    const QString file = page.path().section('/', -1);
    if (plan.change == RowChange::Added) InsertBlankPage(db, dataFolder, file, id, blank);
    QStringList sets;
    QVariantList values;
    for (const auto& [name, v] : plan.values) {
        const db::Field* f = page.field(name);
        // A stored row gets only the fields that change.
        if (!f || (plan.change == RowChange::Modified && sameValue(*f, page.value(id, name), v))) continue;
        sets << name + QStringLiteral(" = ?");
        values << v;
    }
    values << id;
    db.exec(QStringLiteral("UPDATE \"%1\" SET %2 WHERE IDGOS = ?").arg(page.path(), sets.join(QStringLiteral(", "))),
            values);
}

QString noteOf(const HouseholdPlan& p) {
    if (!p.refusal.isEmpty()) return p.refusal;
    return (p.h->warnings + p.warnings).join(QStringLiteral("; "));
}

} // namespace

RegisterImportResult ImportRegister(Services& services, const RegisterCopy& copy, const RegisterChoice& choice,
                                    Progress& progress, bool dryRun) {
    if (copy.positions() == 0) throw RegisterRefused(QStringLiteral("Preluare date"), EmptyRegisterText());
    if (const QString problem = DuplicateProblem(copy); !problem.isEmpty())
        throw RegisterRefused(QStringLiteral("Problema in baza RA"), problem);

    db::Database& db = services.database();
    const QString folder = services.folders.data;
    const auto path = [&](const QString& file) { return folder + '/' + file; };
    ProgressShown shown(progress, QStringLiteral("Pregatire baza..."));
    // Damaged tables are refused before anything is drawn or written.
    db.checkTable(path(tables::Roles));
    for (const QString& file : PageTables()) db.checkTable(path(file));
    for (const QString& file : PageTables()) {
        try {
            db.addIndex(path(file), QStringLiteral("IDGOS"));
        } catch (const Error&) { // indexed already
        }
    }

    // The roles by village and number as the role form keeps them; the first of a pair wins.
    QHash<QString, Role> roles;
    std::vector<Role> allRoles;
    {
        const db::Query q = db.query(QStringLiteral("SELECT * FROM \"%1\" ORDER BY IDGOS").arg(path(tables::Roles)));
        for (int r = 0; r < q.count(); ++r) {
            allRoles.push_back(RoleFromRow(q, r));
            const QString key = roleKey(allRoles.back().village, allRoles.back().number);
            if (!roles.contains(key)) roles.insert(key, allRoles.back());
        }
    }
    const StoredPage p1(db, path(tables::LandOutside)), p2(db, path(tables::Buildings)), p4(db, path(tables::LandInside));
    const Villages villages(db, folder, copy.year);
    Planner planner(copy, choice, villages, p1, p2, p4);

    // The plan: every household matched and its pages computed, nothing written yet.
    std::vector<HouseholdPlan> plans;
    plans.reserve(copy.households.size());
    int newRoles = 0;
    for (const RegisterHousehold& h : copy.households) {
        HouseholdPlan p;
        p.h = &h;
        p.refusal = h.refusal;
        if (p.refusal.isEmpty()) {
            const auto found = roles.constFind(roleKey(h.village, h.number));
            p.isNew = found == roles.cend();
            Role stored = p.isNew ? Role{} : *found;
            p.role = stored;
            p.role.village = h.village;
            p.role.number = h.number;
            p.role.name = h.name;
            p.role.code = h.code;
            p.role.address = h.address;
            p.role.personType = h.kind >= 3 ? kPersonLegal : kPersonNatural;
            // An existing role keeps its exemptions, notes and "Fara majorari"; a new one has none.
            p.namesChanged = !p.isNew && (stored.village != p.role.village || stored.number != p.role.number);
            p.roleChanged = p.isNew || p.namesChanged || stored.name != p.role.name || stored.code != p.role.code ||
                            stored.address != p.role.address || stored.personType != p.role.personType;
            planner.plan(p);
            if (p.refusal.isEmpty() && p.isNew) ++newRoles;
        }
        plans.push_back(std::move(p));
    }

    // New roles take their IDGOS from the counters file, in one draw.
    qint64 nextId = 0;
    if (!dryRun && newRoles > 0)
        nextId = services.counters().NextIds(QStringLiteral("SERVER"), QStringLiteral("IDGOS"), newRoles);
    for (HouseholdPlan& p : plans)
        if (p.refusal.isEmpty() && p.isNew) p.role.id = dryRun ? 0 : nextId++;

    RegisterImportResult result;
    std::optional<db::Transaction> tx;
    if (!dryRun) tx.emplace(db);
    const auto step = [&](const QString& text, int count) {
        progress.Describe(text);
        progress.SetMaximum(std::max(count, 1));
    };
    step(QStringLiteral("Identificare ..."), int(plans.size()));
    for (const HouseholdPlan& p : plans) {
        progress.Step();
        if (dryRun || !p.refusal.isEmpty() || !p.roleChanged) continue;
        if (p.isNew) {
            InsertRole(db, folder, p.role);
            continue;
        }
        UpdateRole(db, folder, p.role);
        if (p.namesChanged) {
            SetLedgerRoleNames(db, folder, p.role.id, p.role.village, p.role.number);
            SetBalanceRoleNames(db, folder, p.role.id, p.role.village, p.role.number);
        }
    }
    const std::vector<std::tuple<QString, const StoredPage*, PagePlan HouseholdPlan::*>> pageSteps = {
        {QStringLiteral("Import extravilan..."), &p1, &HouseholdPlan::p1},
        {QStringLiteral("Import intravilan..."), &p4, &HouseholdPlan::p4},
        {QStringLiteral("Transfer Cladiri.."), &p2, &HouseholdPlan::p2}};
    for (const auto& [text, page, member] : pageSteps) {
        if (text == QLatin1String("Transfer Cladiri..") ? !choice.buildings : !choice.land) continue;
        step(text, int(plans.size()));
        for (const HouseholdPlan& p : plans) {
            progress.Step();
            if (!dryRun && p.refusal.isEmpty())
                writePage(db, *page, villages.of(p.role.village), p.role.id, p.*member, folder);
        }
    }

    // Completion: every role gets the page rows it lacks, as a new role's blank rows.
    std::vector<const Role*> everyRole;
    for (const Role& r : allRoles) everyRole.push_back(&r);
    for (const HouseholdPlan& p : plans)
        if (p.refusal.isEmpty() && p.isNew) everyRole.push_back(&p.role);
    const std::vector<std::pair<QString, QString>> completion = {
        {QStringLiteral("5"), tables::Vehicles},     {QStringLiteral("1"), tables::LandOutside},
        {QStringLiteral("2"), tables::Buildings},    {QStringLiteral("4"), tables::LandInside},
        {QStringLiteral("6"), tables::Unregistered}, {QStringLiteral("7"), tables::OtherTaxes},
        {QStringLiteral("8"), tables::PriorArrears}};
    // The rows this import adds (which a dry run does not find in the tables).
    QHash<QString, QSet<const Role*>> addedRows;
    for (const HouseholdPlan& p : plans) {
        if (!p.refusal.isEmpty()) continue;
        for (const auto& [file, plan] : {std::pair{tables::LandOutside, &p.p1}, {tables::LandInside, &p.p4},
                                         {tables::Buildings, &p.p2}})
            if (plan->change == RowChange::Added) addedRows[file].insert(&p.role);
    }
    for (const auto& [chapter, file] : completion) {
        step(QStringLiteral("Completare Cap.%1 ...").arg(chapter), int(everyRole.size()));
        QSet<qint64> present;
        db.scan(path(file), {QStringLiteral("IDGOS")},
                [&](const std::vector<QVariant>& v) { present.insert(v[0].toLongLong()); });
        const QSet<const Role*> added = addedRows.value(file);
        for (const Role* r : everyRole) {
            progress.Step();
            if ((r->id && present.contains(r->id)) || added.contains(r)) continue;
            ++result.completed;
            if (!dryRun) InsertBlankPage(db, folder, file, r->id, villages.of(r->village));
        }
    }
    if (tx) tx->commit();

    for (const HouseholdPlan& p : plans) {
        RegisterReportRow row;
        row.idid = p.h->idid;
        row.village = p.h->village;
        row.number = p.h->number;
        row.note = noteOf(p);
        if (!p.refusal.isEmpty()) {
            row.role = RowChange::Refused;
            ++result.refused;
        } else {
            row.idgos = p.role.id;
            row.page1 = p.p1.change;
            row.page4 = p.p4.change;
            row.page2 = p.p2.change;
            const bool pages = row.page1 == RowChange::Modified || row.page4 == RowChange::Modified ||
                               row.page2 == RowChange::Modified || row.page1 == RowChange::Added ||
                               row.page4 == RowChange::Added || row.page2 == RowChange::Added;
            row.role = p.isNew ? RowChange::Added : p.roleChanged || pages ? RowChange::Modified : RowChange::Unchanged;
            ++(row.role == RowChange::Added ? result.added : row.role == RowChange::Modified ? result.modified
                                                                                             : result.unchanged);
        }
        result.rows.push_back(row);
    }
    if (dryRun) return result;

    // After the commit: the program folder's land work table goes, the village list is rebuilt.
    QFile::remove(services.folders.program + QStringLiteral("/Teren.dbf"));
    const db::Query v = db.query(QStringLiteral("SELECT DISTINCT TRIM(SATUL) AS SATUL FROM \"%1\" "
                                                "WHERE TRIM(COALESCE(SATUL, '')) <> '' ORDER BY 1")
                                     .arg(path(tables::Roles)));
    QStringList list;
    for (int r = 0; r < v.count(); ++r) list << v.cell(r, 0).toString();
    WriteVillageList(folder + QStringLiteral("/Sate.lst"), list);
    return result;
}

} // namespace vartesa

namespace vartesa {

namespace {

// Removes a work folder when the import leaves, however it leaves.
struct FolderRemoved {
    QString folder;
    ~FolderRemoved() { DeleteFolder(folder); }
};

RegisterImportResult importCopy(Services& services, const QString& folder, const RegisterChoice& choice, bool dryRun) {
    const RegisterCopy copy = ReadRegisterCopy(folder, DataFolderYear(services.counters()));
    return ImportRegister(services, copy, choice, services.progress(), dryRun);
}

} // namespace

void CopyRegisterFolder(const QString& source, const QString& workFolder) {
    DeleteFolder(workFolder);
    if (!QDir().mkpath(workFolder) || !CopyFolderFiles(source, workFolder))
        throw RegisterRefused(QStringLiteral("Actualizare din RA"),
                              QStringLiteral("Nu pot copia registrul din %1 in %2").arg(source, workFolder));
}

RegisterImportResult ImportRegisterBackup(Services& services, const QString& archive, const QString& unpackFolder,
                                          const RegisterChoice& choice, bool dryRun) {
    FolderRemoved removed{unpackFolder};
    {
        ProgressShown shown(services.progress(), QStringLiteral("Despachetare baza de date..."));
        UnpackRegisterBackup(archive, unpackFolder, {&services.progress(), {}});
    }
    RegisterImportResult result = importCopy(services, unpackFolder, choice, dryRun);
    if (!dryRun) services.actionLog().LogAction(QStringLiteral("X"), QStringLiteral("Preluare date din salvare RA2015."));
    return result;
}

RegisterImportResult ImportRegisterFolder(Services& services, const QString& source, const QString& workFolder,
                                          const RegisterChoice& choice, bool dryRun) {
    FolderRemoved removed{workFolder};
    CopyRegisterFolder(source, workFolder);
    return importCopy(services, workFolder, choice, dryRun);
}

} // namespace vartesa
