#include "roles/declaration_pages.h"

#include "db/database.h"
#include "db/query.h"
#include "admin/admin_catalog.h"
#include "admin/admin_constants.h"
#include "admin/budget_codes.h"
#include "shell/counters.h"
#include "shell/settings_table.h"
#include "shell/startup.h"
#include "shell/text_helpers.h"

#include <QRegularExpression>

namespace vartesa {
namespace {

using K = PageFieldKind;

const QString kDateFormat = QStringLiteral("dd.MM.yyyy");

// The stored fields of a page, in the order of the field table.
std::vector<const PageField*> storedFields(int page) {
    std::vector<const PageField*> out;
    for (const PageField* f : FieldsOfPage(page))
        if (f->isStored()) out.push_back(f);
    return out;
}

// A cell as the value text of its field (see the header for the forms).
QString valueText(const PageField& f, const QVariant& cell) {
    switch (f.kind) {
    case K::Zone:
    case K::Rank:
    case K::Depreciated: return cell.toString().trimmed();
    case K::Date: return cell.toDate().isValid() ? cell.toDate().toString(kDateFormat) : QString();
    case K::Number:
        if (f.decimals > 0) return QString::number(cell.isNull() ? 0.0 : cell.toDouble(), 'f', f.decimals);
        [[fallthrough]];
    default: return QString::number(cell.isNull() ? 0 : qint64(std::llround(cell.toDouble())));
    }
}

Currency decimalValue(const TypedDecimal& d) {
    return *Currency::parse((d.whole.isEmpty() ? QStringLiteral("0") : d.whole) +
                            (d.fraction.isEmpty() ? QString() : '.' + d.fraction));
}

// A whole number of the page (capacities, arrears) as typed; 0 when not readable, which the
// value checks refuse afterwards.
qint64 wholeOf(const PageValues& values, const QString& field) {
    const std::optional<TypedDecimal> d = ParseTypedDecimal(values.value(field));
    return d && d->whole.size() <= 15 ? d->whole.toLongLong() : 0;
}

PageRefusal badValue(const PageField& f, const QString& message) {
    return PageRefusal(PageRefusal::Reason::BadValue, message, f.field);
}

// The value to bind for a field whose text passed the checks.
QVariant bound(const PageField& f, const QString& text) {
    switch (f.kind) {
    case K::Zone:
    case K::Rank:
    case K::Depreciated: return text.trimmed().toUpper();
    case K::Date: return QDate::fromString(text.trimmed(), kDateFormat);
    case K::Number:
        if (f.decimals > 0) return decimalValue(*ParseTypedDecimal(text)).toDouble();
        [[fallthrough]];
    default: return ParseTypedDecimal(text)->whole.toLongLong();
    }
}

} // namespace

DeclarationPages::DeclarationPages(db::Database& db, const QString& dataFolder) : db_(db), folder_(dataFolder) {}

PageValues DeclarationPages::readRow(qint64 id, int page) {
    QStringList names;
    for (const PageField* f : storedFields(page)) names << f->field;
    const db::Query q = db_.query(QStringLiteral("SELECT %1 FROM \"%2\" WHERE IDGOS = ? ORDER BY rowid LIMIT 1")
                                      .arg(names.join(QStringLiteral(", ")), table(DeclarationPageInfo(page).table)),
                                  {id});
    PageValues values;
    if (q.isEmpty()) return values;
    int column = 0;
    for (const PageField* f : storedFields(page)) values.insert(f->field, valueText(*f, q.cell(0, column++)));
    return values;
}

PageValues DeclarationPages::load(qint64 id, int page, const BlankPageDefaults& defaults) {
    PageValues values = readRow(id, page);
    if (!values.isEmpty()) return values;
    InsertBlankPage(db_, folder_, DeclarationPageInfo(page).table, id, defaults);
    return readRow(id, page);
}

void DeclarationPages::checkValue(const PageField& f, const QString& text, const db::Layout& stored) const {
    const QString t = text.trimmed();
    switch (f.kind) {
    case K::Zone:
        if (!ZoneList().contains(t.toUpper()))
            throw badValue(f, QStringLiteral("Zona incorecta la %1: se scrie A, B, C sau D!").arg(f.label));
        return;
    case K::Rank:
        if (!RankList().contains(t.toUpper()))
            throw badValue(f, QStringLiteral("Rangul incorect la %1: se scrie 0, I, II, III, IV sau V!").arg(f.label));
        return;
    case K::Depreciated:
        if (t.toUpper() != QLatin1String("DA") && t.toUpper() != QLatin1String("NU"))
            throw badValue(f, QStringLiteral("La %1 se scrie DA sau NU!").arg(f.label));
        return;
    case K::Date:
        if (!QDate::fromString(t, kDateFormat).isValid())
            throw badValue(f, QStringLiteral("Data incorecta la %1: se scrie ZZ.LL.AAAA!").arg(f.label));
        return;
    default: break;
    }
    const std::optional<TypedDecimal> d = ParseTypedDecimal(t);
    if (!d) throw badValue(f, QStringLiteral("La %1 se scrie un numar fara semn, nu \"%2\"!").arg(f.label, t));
    // The file's own width counts: a table not yet widened keeps its narrower field.
    const int at = stored.indexOf(f.field);
    const int width = at >= 0 ? stored.fields[size_t(at)].length : f.width;
    const int decimals = at >= 0 ? stored.fields[size_t(at)].decimals : f.decimals;
    const int wholeDigits = decimals > 0 ? width - decimals - 1 : width;
    const bool whole = f.kind != K::Number || decimals == 0;
    if (whole && !d->fraction.isEmpty())
        throw badValue(f, QStringLiteral("La %1 se scrie un numar intreg, nu %2!").arg(f.label, t));
    if (f.kind == K::Year && d->whole.size() > 4)
        throw badValue(f, QStringLiteral("Anul de la %1 are cel mult 4 cifre, nu %2!").arg(f.label, t));
    // A building cannot be in use after the year being assessed: 2035 is a typing slip.
    if (f.kind == K::Year && d->whole.toInt() > WorkingYear().toInt())
        throw badValue(f, QStringLiteral("Anul %1 de la %2 este dupa anul de lucru %3!").arg(t, f.label, WorkingYear()));
    if (f.kind == K::Material && d->whole.toInt() >= MaterialList().size())
        throw badValue(f, QStringLiteral("Cod material incorect la %1: 0 sau 1, nu %2!").arg(f.label, t));
    if (d->whole.size() > wholeDigits || d->fraction.size() > decimals)
        throw badValue(f, QStringLiteral("Valoarea %1 nu incape la %2: cel mult %3 cifre inainte de punct si %4 "
                                         "zecimale!")
                              .arg(t, f.label)
                              .arg(wholeDigits)
                              .arg(decimals));
}

void DeclarationPages::check(int page, const PageValues& values) {
    if (page == 5)
        for (int k = 1; k <= 4; ++k) {
            const QString field = QStringLiteral("P3000%1").arg(k);
            const qint64 capacity = wholeOf(values, field);
            if (capacity > 0 && capacity < 3000)
                throw PageRefusal(PageRefusal::Reason::Capacity, QStringLiteral("Capacitatea trebuie sa fie peste 3000 cmc!"),
                                  field);
        }
    if (IsYearLocked(CountersFile(table(QStringLiteral("Vartesa.set")))))
        throw PageRefusal(PageRefusal::Reason::YearLocked,
                          QStringLiteral("Nu puteti modifica !\rAnuntati seful de retea sau lucrati la altceva!"), {},
                          QStringLiteral("Modificare matricola"));
    if (page == 11)
        for (int k = 1; k <= 4; ++k) {
            const QString sold = QStringLiteral("SOLD%1").arg(k);
            const qint64 arrears = wholeOf(values, QStringLiteral("LIN%1").arg(k)) + wholeOf(values, QStringLiteral("PEN%1").arg(k));
            if (wholeOf(values, sold) > 0 && arrears > 0)
                throw PageRefusal(PageRefusal::Reason::CreditWithArrears,
                                  QStringLiteral("Nu puteti avea si sold si restanta!"), sold);
        }
    const db::Layout stored = db_.layout(table(DeclarationPageInfo(page).table));
    for (const PageField* f : storedFields(page)) {
        if (!values.contains(f->field))
            throw badValue(*f, QStringLiteral("Lipseste valoarea de la %1!").arg(f->label));
        checkValue(*f, values.value(f->field), stored);
    }
}

void DeclarationPages::save(qint64 id, int page, const PageValues& values, const BlankPageDefaults& defaults,
                            const std::function<void()>& checkWritten) {
    check(page, values);
    QStringList sets;
    QVariantList params;
    for (const PageField* f : storedFields(page)) {
        sets << f->field + QStringLiteral(" = ?");
        params << bound(*f, values.value(f->field));
    }
    const QString path = table(DeclarationPageInfo(page).table);
    const QString update = QStringLiteral("UPDATE \"%1\" SET %2 WHERE IDGOS = ?").arg(path, sets.join(QStringLiteral(", ")));
    params << id;
    db::Transaction tx(db_);
    // A row lost since the page was opened is put back blank, then written.
    if (db_.exec(update, params) == 0) {
        InsertBlankPage(db_, folder_, DeclarationPageInfo(page).table, id, defaults);
        db_.exec(update, params);
    }
    if (checkWritten) checkWritten();
    tx.commit();
}

BlankPageDefaults StoredPageDefaults(db::Database& db, const QString& dataFolder) {
    const QHash<QString, QString> stored = SettingsTable(db, dataFolder).load();
    const auto setting = [&stored](const AdminControl& c) {
        const QString v = stored.value(c.key.toUpper()).trimmed();
        return v.isEmpty() ? c.defaultValue : v;
    };
    return {setting(DefaultZoneControl()), setting(DefaultRankControl()), QDate(WorkingYear().toInt(), 1, 1)};
}

PageValues ShownValues(PageValues values, const BlankPageDefaults& defaults) {
    // A default the settings lost falls back to the administrator window's own.
    const QString zone = ZoneList().contains(defaults.zone) ? defaults.zone : DefaultZoneControl().defaultValue;
    const QString rank = RankList().contains(defaults.rank) ? defaults.rank : DefaultRankControl().defaultValue;
    for (auto it = values.begin(); it != values.end(); ++it) {
        const PageField* f = nullptr;
        for (const DeclarationPage& p : DeclarationPageList())
            if (!f) f = FindPageField(p.number, it.key());
        if (!f) continue;
        if (f->kind == K::Zone && !ZoneList().contains(it.value().toUpper())) it.value() = zone;
        if (f->kind == K::Rank && !RankList().contains(it.value().toUpper())) it.value() = rank;
    }
    return values;
}

QString TaxableValueKey(const PageField& shown, const PageValues& values) {
    if (shown.inputs.size() != 4) return {};
    const QString materialText = values.value(shown.inputs[1]).trimmed();
    bool ok = false;
    const int material = materialText.toInt(&ok);
    const QString zone = values.value(shown.inputs[2]).trimmed().toUpper();
    const int rank = int(RankList().indexOf(values.value(shown.inputs[3]).trimmed().toUpper()));
    if (!ok || material < 0 || material >= MaterialList().size() || !ZoneList().contains(zone) || rank < 0) return {};
    const QString prefix = shown.kind == K::AnnexValue ? QStringLiteral("IA%1Z").arg(material + 1)
                                                       : (material == 0 ? QStringLiteral("ICZ") : QStringLiteral("IC2Z"));
    return QStringLiteral("%1%2R%3").arg(prefix, zone).arg(rank);
}

Currency TaxableValue(const PageField& shown, const PageValues& values, const AdminConstants& constants) {
    const QString key = TaxableValueKey(shown, values);
    const std::optional<TypedDecimal> area = ParseTypedDecimal(values.value(shown.inputs.value(0)));
    if (key.isEmpty() || !area || !AdminConstants::isKnown(key) || area->whole.size() > 8) return {};
    return constants.value(key) * decimalValue(*area);
}

QString PlainNumber(Currency value) {
    QString text = value.toString(4);
    while (text.endsWith('0')) text.chop(1);
    if (text.endsWith('.')) text.chop(1);
    return text;
}

} // namespace vartesa
