#include "catalog.h"

#include "db/database.h"
#include "db/error.h"
#include "shell/table_files.h"

namespace vartesa {
namespace {

using db::Field;
using db::FieldType;

// Column builders, named after the SQL types of the layouts.
Field Dec(const QString& name, int width, int decimals = 0) { return {name, FieldType::Numeric, width, decimals, 0}; }
Field Chr(const QString& name, int width) { return {name, FieldType::Char, width, 0, 0}; }
Field Dat(const QString& name) { return {name, FieldType::Date, 8, 0, 0}; }
Field Id(const QString& name) { return Dec(name, 10); }

// prefix1 .. prefixN (with an optional suffix: G1A .. G15A), all DECIMAL(width, decimals).
void series(std::vector<Field>& out, const QString& prefix, int from, int to, const QString& suffix = {}, int width = 6,
            int decimals = 0) {
    for (int n = from; n <= to; ++n) out.push_back(Dec(prefix + QString::number(n) + suffix, width, decimals));
}

std::vector<Field> pag1() {
    std::vector<Field> f{Id("IDGOS")};
    for (int n = 1; n <= 11; ++n)
        for (const char* c : {"A", "B", "C", "D", "E"}) f.push_back(Dec(QStringLiteral("L%1%2").arg(n).arg(c), 8, 4));
    return f;
}

std::vector<Field> pag2() {
    std::vector<Field> f{Id("IDGOS")};
    for (int n = 1; n <= 8; ++n) {
        const QString k = QString::number(n);
        f.insert(f.end(), {Dec("C" + k + "S", 8, 2), Dec("C" + k + "A", 6), Dec("C" + k + "C", 6), Chr("C" + k + "Z", 1),
                           Chr("C" + k + "R", 3), Dec("NR" + k, 6)});
    }
    for (int n = 1; n <= 12; ++n) {
        const QString k = QString::number(n);
        f.insert(f.end(), {Dec("V" + k, 8), Chr("AM" + k, 2), Dat("DINV" + k)});
    }
    f.insert(f.end(), {Dec("CAS", 8, 2), Dec("CAA", 6), Dec("CAC", 6), Chr("CAZ", 1), Chr("CAR", 3), Dec("CAS2", 8, 2),
                       Dec("CAA2", 6), Dec("CAC2", 6), Chr("CAZ2", 1), Chr("CAR2", 3)});
    for (int n = 1; n <= 2; ++n) {
        const QString k = QString::number(n);
        f.insert(f.end(), {Dec("VA" + k, 8), Chr("AMA" + k, 2), Dat("DINVA" + k)});
    }
    return f;
}

std::vector<Field> pag4() {
    std::vector<Field> f{Id("IDGOS")};
    // Built-up yards in m2: 12 wide, since rural yards pass 1,000 m2 (the upgrades widen
    // tables made 8 wide).
    for (const char* c : {"CCA", "CCB", "CCC", "CCD", "CCE"}) f.push_back(Dec(c, 12, 4));
    for (int n = 1; n <= 8; ++n)
        for (const char* c : {"A", "B", "C", "D", "E"}) f.push_back(Dec(QStringLiteral("AL%1%2").arg(n).arg(c), 8, 4));
    return f;
}

std::vector<Field> pag5() {
    std::vector<Field> f{Id("IDGOS")};
    series(f, "AUTO", 1, 9);
    series(f, "P3000", 1, 4);
    series(f, "AUTO", 11, 16);
    series(f, "ALTE", 1, 4);
    series(f, "ATB", 1, 4);
    series(f, "ATBNR", 1, 4);
    series(f, "TRAC", 1, 4);
    series(f, "TBUC", 1, 4);
    series(f, "REM", 1, 4);
    series(f, "G", 1, 15, "A");
    series(f, "G", 1, 15, "B");
    series(f, "GC", 1, 24, "A");
    series(f, "GC", 1, 24, "B");
    series(f, "APA", 1, 13);
    return f;
}

// The receipt line, with or without the operation it belongs to.
std::vector<Field> receiptLine(bool withOperation) {
    std::vector<Field> f{Id("IDCHIT"), Id("IDGOS")};
    if (withOperation) f.push_back(Id("IDANUL"));
    f.insert(f.end(), {Chr("SERIA", 10), Id("NR"), Dat("DATAI"), Chr("SATUL", 32), Chr("ROL", 9), Chr("GRUPA", 60),
                       Chr("DENUM", 50), Chr("CODCLAS", 24), Chr("NUMEP", 40), Chr("CNP", 13), Chr("ADRESA", 80),
                       Chr("TIPF", 1), Chr("PLATNUME", 40), Chr("INCANUME", 32), Chr("LEGITIMA", 32)});
    for (const char* c : {"RESTANTA", "MAJOREST", "DEPOZIT", "CURENT", "MAJOR", "REDUCERE", "TOTAL"}) f.push_back(Dec(c, 6));
    f.push_back(Chr("TIP", 1));
    return f;
}

std::vector<TableLayout> buildCatalog() {
    std::vector<TableLayout> c;
    c.push_back({tables::Zones, {Id("ID"), Chr("LOCALIT", 32), Chr("ZONA", 1), Chr("RANG", 3)}});
    c.push_back({tables::Roles,
                 {Id("IDGOS"), Chr("SATUL", 32), Chr("ROL", 9), Chr("NUMEP", 40), Chr("CNP", 13), Chr("ADRESA", 80),
                  Chr("TIP", 8), Chr("SCCLAD", 2), Chr("SCCC", 2), Chr("SCTI", 2), Chr("SCAUTO", 2), Dec("SCTE", 6),
                  Chr("OBS", 240), Chr("NOTAX", 2)}});
    c.push_back({tables::LandOutside, pag1()});
    c.push_back({tables::Buildings, pag2()});
    c.push_back({tables::LandInside, pag4()});
    c.push_back({tables::Vehicles, pag5()});
    c.push_back({tables::VehicleDetails,
                 {Id("IDGOS"), Id("IDDETA"), Chr("NrDos", 18), Chr("TipAuto", 18), Chr("Marca", 18), Dec("Capacit", 6),
                  Chr("Serie", 24), Chr("SerieM", 24), Chr("Obs", 100)}});
    std::vector<Field> pag6{Id("IDGOS")};
    series(pag6, "VN", 1, 11);
    c.push_back({tables::Unregistered, pag6});
    std::vector<Field> pag7{Id("IDGOS")};
    series(pag7, "LIN", 1, 6);
    c.push_back({tables::OtherTaxes, pag7});
    std::vector<Field> pag8{Id("IDGOS")};
    series(pag8, "LIN", 1, 11);
    series(pag8, "PEN", 1, 4);
    series(pag8, "SOLD", 1, 4);
    c.push_back({tables::PriorArrears, pag8});
    c.push_back({tables::Ledger,
                 {Id("IDDAT"), Id("IDGOS"), Dat("DINDATA"), Chr("SATUL", 32), Chr("ROL", 9), Chr("GRUPA", 60),
                  Chr("DENUM", 50), Chr("DOCJUS", 50), Id("NR"), Dec("SUMA", 6), Dec("REST", 6), Dec("REDUC", 6),
                  Chr("UM", 8), Dec("CANT", 15, 4), Dec("REDUCP", 6), Dec("SCUTIT", 6), Chr("TIP", 1), Dec("SUMA2", 6),
                  Dec("RESTINI", 6)}});
    std::vector<Field> sold{Id("IDRES"), Id("IDGOS"), Chr("SATUL", 32), Chr("ROL", 9), Chr("GRUPA", 60)};
    for (const char* s : {"SUMA", "REST", "REDUC", "SCUTIRE", "DATOR", "DEPOZ", "MAJOR", "DATORI", "DEPOZI", "MAJORI"})
        sold.push_back(Dec(s, 6));
    sold.push_back(Chr("TIP", 1));
    c.push_back({tables::Balances, sold});
    std::vector<Field> debit{Id("IDDEB"), Id("IDGOS"), Chr("GRUPA", 60), Chr("DOCJUS", 50), Id("NR"), Chr("CATEG", 9),
                             Chr("DENUM", 50), Dat("DINDATA"), Dat("PENDATA"), Chr("FISIER", 8)};
    for (int n = 1; n <= 8; ++n) {
        debit.push_back(Chr(QStringLiteral("CAMP%1").arg(n), 6));
        debit.push_back(Chr(QStringLiteral("VAL%1").arg(n), 10));
    }
    debit.insert(debit.end(), {Dec("SUMAINI", 6), Dec("SUMAC", 6)});
    c.push_back({tables::Debits, debit});
    c.push_back({tables::Receipts, receiptLine(true)});
    std::vector<Field> undelDat{Id("IDANUL"), Id("IDGOS"), Id("IDDAT")};
    for (const char* s : {"SUMA", "REST", "REDUC", "SUMA2", "RESTINI"}) undelDat.push_back(Dec(s, 6));
    c.push_back({tables::LedgerUndo, undelDat});
    std::vector<Field> undelSold{Id("IDANUL"), Id("IDGOS"), Id("IDRES")};
    for (const char* s : {"SUMA", "REST", "REDUC", "SCUTIRE", "DATOR", "DEPOZ", "MAJOR", "DATORI", "DEPOZI", "MAJORI"})
        undelSold.push_back(Dec(s, 6));
    c.push_back({tables::BalancesUndo, undelSold});
    c.push_back({tables::DebitsUndo, {Id("IDANUL"), Id("IDGOS"), Id("IDDEB"), Dec("SUMAINI", 6), Dec("SUMAC", 6)}});
    c.push_back({tables::YearReceipts, receiptLine(false)});
    c.push_back({tables::CashRegister,
                 {Id("IDRC"), Dat("DATAI"), Chr("DOCJUS", 50), Chr("INCANUME", 32), Dec("PLATIT", 6), Dec("INCASAT", 6)}});
    c.push_back({tables::Confirmations,
                 {Id("IDCONF"), Id("IDGOS"), Id("NRCONF"), Dat("DATACONF"), Id("BORDNR"), Dat("BORDATA"), Chr("ROL", 9),
                  Chr("CODCL", 24), Chr("NUMEDEST", 40), Chr("ADRDEST", 40), Chr("LOCDEST", 32), Id("ADRNR"),
                  Dat("ADRDATA"), Dec("SUMA", 6), Chr("NATCL", 60), Chr("NUMEP", 40), Chr("ADRESA", 80),
                  Chr("SATUL", 32)}});
    c.push_back({tables::Summonses,
                 {Id("IDSOM"), Id("IDGOS"), Id("NR"), Dec("DINDATA", 6), Dec("SUMA", 10), Dec("DATACONF", 6),
                  Chr("TIPCONF", 12), Chr("ANULAT", 2), Chr("OBS", 32)}});
    c.push_back({tables::SummonsLines,
                 {Id("IDSOM"), Id("IDGOS"), Chr("GRUPA", 60), Dec("TERMEN", 6), Dec("RAMASITA", 10), Dec("CURENT", 10),
                  Dec("ACCESORII", 10), Chr("DOCJUS", 50)}});
    return c;
}

QString typeOf(const Field& f) {
    switch (f.type) {
    case FieldType::Char: return QStringLiteral("CHAR(%1)").arg(f.length);
    case FieldType::Date: return QStringLiteral("DATE");
    case FieldType::Logical: return QStringLiteral("BOOLEAN");
    case FieldType::Numeric:
    case FieldType::Float: break;
    }
    return QStringLiteral("DECIMAL(%1,%2)").arg(f.length).arg(f.decimals);
}

} // namespace

const std::vector<TableLayout>& TableCatalog() {
    static const std::vector<TableLayout> catalog = buildCatalog();
    return catalog;
}

const TableLayout& CatalogTable(const QString& file) {
    for (const TableLayout& t : TableCatalog())
        if (t.file.compare(file, Qt::CaseInsensitive) == 0) return t;
    throw Error(QStringLiteral("Tabela %1 nu este in catalog").arg(file), file);
}

QString ColumnDefinitions(const std::vector<db::Field>& fields) {
    QStringList parts;
    for (const Field& f : fields) parts << f.name + ' ' + typeOf(f);
    return '(' + parts.join(QStringLiteral(", ")) + ')';
}

void CreateTable(db::Database& db, const QString& path, const TableLayout& layout) {
    db.exec(QStringLiteral("CREATE TABLE \"%1\" %2").arg(path, ColumnDefinitions(layout.fields)));
}

} // namespace vartesa
