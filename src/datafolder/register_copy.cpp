// The register copy: unpacking a backup, reading its tables by field name, the duplicates.

#include "datafolder/register_import.h"

#include "datafolder/backup.h"
#include "datafolder/register_tables.h"
#include "shell/file_helpers.h"
#include "shell/services.h"
#include "shell/text_helpers.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace vartesa {

namespace {

// Widths of the role fields a household fills; a village or number longer than its field is
// refused (cutting would merge roles), the other texts are cut.
constexpr int kVillageWidth = 32;
constexpr int kNumberWidth = 9;
constexpr int kNameWidth = 40;
constexpr int kCodeWidth = 13;
constexpr int kAddressWidth = 80;

// A text as the role form keeps it: upper case, spaces collapsed.
QString formText(const QString& text) { return CollapseSpaces(text.toUpper()); }

// "str. <street> nr.<number>", each part only when there is one.
QString addressOf(const QString& street, const QString& number) {
    QString a;
    if (!street.isEmpty()) a += QStringLiteral("str. ") + street + ' ';
    if (!number.isEmpty()) a += QStringLiteral("nr.") + number;
    return a.trimmed();
}

// Cuts `text` to `width` on purpose, noting it.
QString cut(const QString& text, int width, const QString& what, QStringList& warnings) {
    if (text.size() <= width) return text;
    warnings << QStringLiteral("%1 taiat la %2 caractere").arg(what).arg(width);
    return text.left(width);
}

struct Volume {
    QString village; // LOCALIT, as the role form keeps it
    int kind = 0;    // TIPRA
};

std::map<qint64, Volume> readVolumes(const QString& folder) {
    std::map<qint64, Volume> volumes;
    const auto t = RegisterTable::open(folder, QStringLiteral("Volume.dbf"));
    if (!t) return volumes;
    for (int r = 0; r < t->rowCount(); ++r) {
        const auto id = t->number(r, QStringLiteral("IDVOL"));
        if (!id) continue;
        const auto kind = t->number(r, QStringLiteral("TIPRA"));
        volumes[qint64(*id)] = {formText(t->text(r, QStringLiteral("LOCALIT"))), kind ? int(*kind) : -1};
    }
    return volumes;
}

// The reason a household is not imported; empty when it is.
QString refusalOf(const RegisterTable& t, int r, const QString& number, const Volume* volume) {
    if (t.text(r, QStringLiteral("ANULAT")).toUpper() == QLatin1String("DA")) return QStringLiteral("anulat in RA");
    if (number.isEmpty()) return QStringLiteral("fara numar de ROL");
    if (number.compare(QLatin1String("1")) < 0) return QStringLiteral("ROL-ul \"%1\" este inainte de \"1\"").arg(number);
    if (!volume) return QStringLiteral("fara volum");
    if (volume->village.isEmpty()) return QStringLiteral("volumul nu are localitate");
    if (volume->kind < 1 || volume->kind > 4) return QStringLiteral("tipul volumului (TIPRA) nu este 1-4");
    if (number.size() > kNumberWidth)
        return QStringLiteral("ROL-ul \"%1\" are peste %2 caractere").arg(number).arg(kNumberWidth);
    if (volume->village.size() > kVillageWidth)
        return QStringLiteral("localitatea \"%1\" are peste %2 caractere").arg(volume->village).arg(kVillageWidth);
    return {};
}

RegisterHousehold householdOf(const RegisterTable& t, int r, const std::map<qint64, Volume>& volumes) {
    RegisterHousehold h;
    const auto idid = t.number(r, QStringLiteral("IDID"));
    h.idid = idid ? qint64(*idid) : 0;
    h.number = formText(t.text(r, QStringLiteral("ROL")));
    const auto vol = t.number(r, QStringLiteral("IDVOL"));
    const auto found = vol ? volumes.find(qint64(*vol)) : volumes.end();
    const Volume* volume = found == volumes.end() ? nullptr : &found->second;
    h.refusal = refusalOf(t, r, h.number, volume);
    if (!volume) return h;
    h.village = volume->village;
    h.kind = volume->kind;
    // Kinds 3 and 4 hold legal persons; each kind has its own name, code and street.
    static const char* names[] = {"", "NUME1", "NUME1", "NUME3", "NUME4"};
    const int k = std::clamp(h.kind, 1, 4);
    const QString n = QString::number(k);
    h.name = cut(formText(t.text(r, QLatin1String(names[k]))), kNameWidth, QStringLiteral("numele"), h.warnings);
    h.code = cut(t.text(r, k <= 2 ? QStringLiteral("CNP1") : QStringLiteral("NUIR")), kCodeWidth,
                 QStringLiteral("codul"), h.warnings);
    h.address = cut(addressOf(t.text(r, QStringLiteral("STRADA") + n), t.text(r, QStringLiteral("NR") + n)),
                    kAddressWidth, QStringLiteral("adresa"), h.warnings);
    return h;
}

// Whole m2 of a register area (the register keeps m2; a fraction rounds half away from zero).
qint64 squareMetres(const std::optional<double>& v) { return v ? qint64(std::llround(*v)) : 0; }

// The year of a row: ANUL as a number or as text.
bool ofYear(const RegisterTable& t, int r, int year) {
    const auto y = t.number(r, QStringLiteral("ANUL"));
    return y && qint64(*y) == year;
}

void readLand(const QString& folder, RegisterCopy& copy) {
    const auto t = RegisterTable::open(folder, QStringLiteral("Cap2A.dbf"));
    if (!t) return;
    for (int r = 0; r < t->rowCount(); ++r) {
        const auto idid = t->number(r, QStringLiteral("IDID"));
        if (!idid || !ofYear(*t, r, copy.year)) continue;
        RegisterLand land;
        for (int n = 1; n <= 16; ++n) {
            land.extra[n] = squareMetres(t->number(r, QStringLiteral("EXTRA%1").arg(n)));
            land.intra[n] = squareMetres(t->number(r, QStringLiteral("INTRA%1").arg(n)));
        }
        copy.land[qint64(*idid)] = land; // a second row of the year replaces the first
    }
}

void readBuildings(const QString& folder, RegisterCopy& copy) {
    const auto t = RegisterTable::open(folder, QStringLiteral("CAP11.dbf"));
    if (!t) return;
    // The columns of the working year: n = year - 2014.
    const QString n = QString::number(copy.year - 2014);
    for (int r = 0; r < t->rowCount(); ++r) {
        const auto idid = t->number(r, QStringLiteral("IDID"));
        const auto area = t->number(r, QStringLiteral("SUPRAF") + n);
        if (!idid || !area || *area <= 0) continue;
        RegisterBuilding b;
        b.order = squareMetres(t->number(r, QStringLiteral("RAND")));
        b.area = qint64(std::llround(*area * 100));
        b.type = t->text(r, QStringLiteral("TIP") + n).toUpper();
        b.year = squareMetres(t->number(r, QStringLiteral("ANULT") + n));
        copy.buildings[qint64(*idid)].push_back(b);
    }
    for (auto& [idid, list] : copy.buildings)
        std::stable_sort(list.begin(), list.end(),
                         [](const RegisterBuilding& a, const RegisterBuilding& b) { return a.order < b.order; });
}

} // namespace

QString RowChangeText(RowChange change) {
    switch (change) {
    case RowChange::Added: return QStringLiteral("ADAUGAT");
    case RowChange::Modified: return QStringLiteral("MODIFICAT");
    case RowChange::Unchanged: return QStringLiteral("NESCHIMBAT");
    case RowChange::Refused: return QStringLiteral("REFUZAT");
    case RowChange::None: break;
    }
    return {};
}

int RegisterCopy::positions() const {
    return int(std::count_if(households.begin(), households.end(),
                             [](const RegisterHousehold& h) { return h.refusal.isEmpty(); }));
}

QString RegisterUnpackFolder(const Services& services) { return services.folders.machine + QStringLiteral("/TEMP/RA"); }

void UnpackRegisterBackup(const QString& archive, const QString& folder, const ArchiveProgress& progress) {
    if (!archive.endsWith(kRegisterBackupSuffix, Qt::CaseInsensitive) || !QFileInfo(archive).isFile())
        throw RegisterRefused(QStringLiteral("Preluare date"),
                              QStringLiteral("Fisierul ") + archive +
                                  QStringLiteral(" nu este salvare a Registrului Agricol 2015!"));
    DeleteFolder(folder);
    if (!QDir().mkpath(folder))
        throw RegisterRefused(QStringLiteral("Preluare date RA 2015"),
                              QStringLiteral("Preluare esuata !\rNu pot crea directorul %1").arg(folder));
    try {
        DecompressFiles(archive, folder, progress, StoredFolders::Flattened);
    } catch (const Error& e) {
        DeleteFolder(folder);
        throw RegisterRefused(QStringLiteral("Preluare date RA 2015"), QStringLiteral("Preluare esuata !\r") + e.text());
    }
}

RegisterCopy ReadRegisterCopy(const QString& folder, int year) {
    RegisterCopy copy;
    copy.year = year;
    const std::map<qint64, Volume> volumes = readVolumes(folder);
    if (const auto t = RegisterTable::open(folder, QStringLiteral("Identificare.dbf")); t && !volumes.empty())
        for (int r = 0; r < t->rowCount(); ++r) copy.households.push_back(householdOf(*t, r, volumes));
    std::stable_sort(copy.households.begin(), copy.households.end(),
                     [](const RegisterHousehold& a, const RegisterHousehold& b) { return a.idid < b.idid; });
    readLand(folder, copy);
    readBuildings(folder, copy);
    return copy;
}

QString EmptyRegisterText() {
    return QStringLiteral("Baza de date specificata este goala\rsau nu are trecut numarul unic de ROL!");
}

QString DuplicateProblem(const RegisterCopy& copy) {
    std::map<std::pair<QString, QString>, int> groups; // (village, number) in that order
    for (const RegisterHousehold& h : copy.households)
        if (h.refusal.isEmpty()) ++groups[{h.village, h.number}];
    int count = 0;
    const std::pair<QString, QString>* first = nullptr;
    for (const auto& [key, n] : groups) {
        if (n < 2) continue;
        ++count;
        if (!first) first = &key;
    }
    if (!first) return {};
    return QStringLiteral("Exista in baza RA %1 de ROL-uri dublate!!\rDe exemplu, localitatea %2 ROL %3!\r"
                          "Corectati in RA si mai reveniti!")
        .arg(count)
        .arg(first->first, first->second);
}

} // namespace vartesa
