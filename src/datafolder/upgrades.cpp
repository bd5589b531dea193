#include "upgrades.h"

#include "db/cp1250.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "admin/budget_codes.h"
#include "shell/catalog.h"
#include "shell/counters.h"
#include "shell/file_helpers.h"
#include "shell/services.h"
#include "shell/version.h"
#include "shell/table_files.h"

#include <QFile>
#include <QSet>
#include <QFileInfo>
#include <QTextStream>

namespace vartesa {
namespace {

// Width of Datorii.dbf's CANT: a company's inventory values, summed, need ten integer digits.
constexpr int kQuantityWidth = 15;
constexpr int kQuantityDecimals = 4;
// Width of Pag4.dbf's built-up yards CCA..CCE.
constexpr int kYardWidth = 12;

QString table(const UpgradeContext& c, const QString& file) { return c.dataFolder + '/' + file; }

bool hasField(db::Database& db, const QString& path, const char* field) {
    return db.layout(path).indexOf(QLatin1String(field)) >= 0;
}

int count(db::Database& db, const QString& sql, const QVariantList& params = {}) {
    return db.scalar(sql, params).toInt();
}

// The probes of the second set, all taken before anything changes.
struct Probes {
    bool a = false; // the vehicle tax names were never renamed
    bool b = false; // the data comes from a release older than 1.18
    bool c = false; // Pag5.dbf lacks P30001
    bool d = false; // Pag5.dbf lacks ATB3
    bool e = false; // Pag5.dbf still has ALTE
    bool f = false; // Datorii.dbf has assessed lines with nothing established
    bool g = false; // Ini.dbf knows the EC<n>ZE settings
    bool h = false; // SomDet.dbf has DOCJUS
    bool i = false; // GOSPODAR.dbf's ADRESA is 80 wide
    bool j = false; // Pag6.dbf has VN1
    bool k = false; // Pag2.dbf has C5S
    bool l = false; // Datorii.dbf's CANT is narrower than its 15 digits, or W_ copies are left
    bool rolesEmpty = false;
};

Probes probe(UpgradeContext& c) {
    Probes p;
    db::Database& db = c.db;
    p.a = c.counters.ReadCounter("SERVER", "Up20154").isEmpty();
    bool ok = false;
    double existing = c.counters.ReadCounter("SERVER", "ExistVer").replace(',', '.').toDouble(&ok);
    if (!ok) existing = 1.01;
    p.b = existing < 1.18;
    c.counters.WriteCounter("SERVER", "ExistVer", QString(kVersionNumber));
    const QString pag5 = table(c, tables::Vehicles);
    p.c = !hasField(db, pag5, "P30001");
    p.d = !hasField(db, pag5, "ATB3");
    p.e = hasField(db, pag5, "ALTE");
    const QString ini = table(c, tables::Settings);
    if (db.tableExists(ini))
        db.exec(QStringLiteral("UPDATE \"%1\" SET FORMA = 'FORM4' WHERE FORMA = 'FR12' OR FORMA = 'FRCOMB'").arg(ini));
    p.f = count(db, QStringLiteral("SELECT Count(*) AS NRXX FROM \"%1\" WHERE TIP = 'A' AND SUMA2 = 0 AND RESTINI = 0")
                        .arg(table(c, tables::Ledger))) > 0;
    p.g = db.tableExists(ini) && count(db, QStringLiteral("SELECT COUNT(*) FROM \"%1\" WHERE NUME = 'EC11ZE'").arg(ini)) > 0;
    const QString somDet = table(c, tables::SummonsLines);
    p.h = db.tableExists(somDet) && hasField(db, somDet, "DOCJUS");
    const QString roles = table(c, tables::Roles);
    p.rolesEmpty = count(db, QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(roles)) == 0;
    const db::Layout rolesLayout = db.layout(roles);
    const int address = rolesLayout.indexOf("ADRESA");
    p.i = address >= 0 && rolesLayout.fields[size_t(address)].length == 80;
    p.j = hasField(db, table(c, tables::Unregistered), "VN1");
    p.k = hasField(db, table(c, tables::Buildings), "C5S");
    const db::Layout debts = db.layout(table(c, tables::Ledger));
    const int quantity = debts.indexOf(QStringLiteral("CANT"));
    p.l = debts.indexOf(QStringLiteral("W_CANT")) >= 0 ||
          (quantity >= 0 && debts.fields[size_t(quantity)].length < kQuantityWidth);
    return p;
}

void insertSettings(UpgradeContext& c, const QString& pattern, int from, int to) {
    for (int n = from; n <= to; ++n)
        c.db.exec(QStringLiteral("INSERT INTO \"%1\" (FORMA, NUME, VALOARE) VALUES ('FORM4', ?, '0')").arg(table(c, tables::Settings)),
                  {pattern.arg(n)});
}

// Step 1: a page-6 table without VN1 comes from before the pasture tax moved there.
void recreatePageSix(UpgradeContext& c) {
    const QString pag6 = table(c, tables::Unregistered);
    c.db.exec(QStringLiteral("DROP TABLE \"%1\"").arg(pag6));
    CreateTable(c.db, pag6, CatalogTable(tables::Unregistered));
    const QString ini = table(c, tables::Settings);
    c.db.exec(QStringLiteral("DELETE FROM \"%1\" WHERE FORMA = 'FORM4' AND NUME IN ('PAS1', 'PAS2', 'PAS3', 'PAS4')").arg(ini));
    c.db.exec(QStringLiteral("DELETE FROM \"%1\" WHERE GRUPA = 'Taxa pe pasune' AND TIP = 'A'").arg(table(c, tables::Ledger)));
    insertSettings(c, QStringLiteral("VN%1"), 1, 11);
}

void widenAddresses(UpgradeContext& c) {
    const std::pair<QString, std::pair<const char*, int>> changes[] = {
        {tables::Roles, {"ADRESA", 80}}, {tables::Roles, {"OBS", 240}}, {tables::Receipts, {"ADRESA", 80}},
        {tables::YearReceipts, {"ADRESA", 80}}, {tables::Confirmations, {"ADRESA", 80}}};
    for (const auto& [file, change] : changes) {
        try { // a table that cannot be changed now is changed at a later start
            ChangeFieldWidth(c.db, table(c, file), QLatin1String(change.first), change.second);
        } catch (const Error&) {
        }
    }
}

// Step 10: the vehicle tax lines move to their new names; an old line whose role already
// has the new one is merged into it (what was paid on the old line lowers the new one).
void renameVehicleTaxes(UpgradeContext& c, UpgradeReport& report) {
    db::Database& db = c.db;
    const QString debts = table(c, tables::Ledger);
    const QString work = FreeTempFileName(c.programFolder, QStringLiteral("UpG"), QStringLiteral(".dbf"));
    if (work.isEmpty()) throw Error(QStringLiteral("Nu gasesc un nume liber pentru tabela de lucru"), c.programFolder);
    CreateTable(db, work, CatalogTable(tables::Ledger));
    QStringList oldNames;
    QString placeholders;
    for (const RenamedTax& r : RenamedVehicleTaxes()) {
        oldNames << QLatin1String(r.oldName);
        placeholders += placeholders.isEmpty() ? "?" : ", ?";
    }
    const QString which =
        QStringLiteral("GRUPA = 'Impozit pe mijloace de transport' AND TIP = 'A' AND DENUM IN (%1)").arg(placeholders);
    QVariantList params;
    for (const QString& n : oldNames) params << n;
    db::Transaction tx(db);
    db.exec(QStringLiteral("INSERT INTO \"%1\" SELECT * FROM \"%2\" WHERE %3").arg(work, debts, which), params);
    db.exec(QStringLiteral("DELETE FROM \"%1\" WHERE %2").arg(debts, which), params);
    for (const RenamedTax& r : RenamedVehicleTaxes()) {
        const bool first = &r == &RenamedVehicleTaxes().front();
        db.exec(QStringLiteral("UPDATE \"%1\" SET DENUM = ?%2 WHERE DENUM = ?").arg(work, first ? ", UM = '200cmc'" : ""),
                {QLatin1String(r.newName), QLatin1String(r.oldName)});
    }
    bool merged = false;
    db::Query rows = db.query(QStringLiteral("SELECT rowid AS R, IDGOS, DENUM, SUMA, SUMA2 FROM \"%1\"").arg(work));
    for (rows.first(); !rows.eof(); rows.next()) {
        const QVariant target = db.scalar(QStringLiteral("SELECT IDDAT FROM \"%1\" WHERE IDGOS = ? AND DENUM = ?").arg(debts),
                                          {rows.integer("IDGOS"), rows.text("DENUM")});
        if (target.isNull()) continue;
        db.exec(QStringLiteral("UPDATE \"%1\" SET SUMA = SUMA - ? WHERE IDDAT = ?").arg(debts),
                {rows.integer("SUMA2") - rows.integer("SUMA"), target});
        db.exec(QStringLiteral("UPDATE \"%1\" SET TIP = 'D' WHERE rowid = ?").arg(work), {rows.integer("R")});
        merged = true;
    }
    db.exec(QStringLiteral("INSERT INTO \"%1\" SELECT * FROM \"%2\" WHERE TIP = 'A'").arg(debts, work));
    tx.commit();
    c.counters.WriteCounter("SERVER", "Up20154", "DA");
    report.changes << QStringLiteral("Datorii.dbf: denumirile impozitului pe mijloace de transport actualizate");

    if (merged) {
        db::Query pairs = db.query(QStringLiteral("SELECT DISTINCT SATUL, ROL FROM \"%1\" ORDER BY SATUL, ROL").arg(work));
        const QString listPath = FreeTempFileName(c.programFolder, QStringLiteral("ROLURI"), QStringLiteral(".txt"));
        QFile file(listPath);
        if (listPath.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw Error(QStringLiteral("Lista rolurilor de adaugat la plata nu poate fi scrisa"), listPath);
        QByteArray text = "LISTA ROLURILOR DE ADAUGAT LA PLATA\r\n***********************************\r\n \r\n";
        for (pairs.first(); !pairs.eof(); pairs.next())
            text += db::stringToCp1250(pairs.text("SATUL") + QStringLiteral("  ROL: ") + pairs.text("ROL")) + "\r\n";
        file.write(text);
        file.close();
        c.messages.ShowErrors(QStringLiteral("ATENTIE!"),
                              QStringLiteral("Dupa schimbarile pe care le-am operat la Auto,\rtrebuie sa adaugati %1 "
                                             "ROL-uri la plata!\rO sa va arat lista cu aceste ROL-uri.")
                                  .arg(pairs.count()),
                              MessageKind::Warning, MessageButton::Ok);
        c.desktop.openFile(listPath);
        report.changes << QStringLiteral("Lista rolurilor de adaugat la plata: ") + listPath;
    }
    db.exec(QStringLiteral("DROP TABLE \"%1\"").arg(work));
}

// CANT of Datorii.dbf widened to N(15,4) in one change of the file, keeping the lines and
// the order of the fields. Releases before this one widened it in steps, through copies of
// CANT and the fields after it (W_<name>); a folder such a release left half-way is put
// back first: while CANT is still narrow it holds the values and the copies only go, once
// CANT has been made anew the copies hold the values and are moved back before they go.
void widenDebtQuantity(UpgradeContext& c, UpgradeReport& report) {
    const QString debts = table(c, tables::Ledger);
    const db::Layout layout = c.db.layout(debts);
    const int quantity = layout.indexOf(QStringLiteral("CANT"));
    if (quantity < 0) return;
    QStringList copiesBack, dropCopies;
    for (const db::Field& copy : layout.fields) {
        if (!copy.name.startsWith(QLatin1String("W_"))) continue;
        dropCopies << QStringLiteral("DROP ") + copy.name;
        for (const db::Field& f : layout.fields)
            if (!f.name.startsWith(QLatin1String("W_")) && f.name.left(8) == copy.name.mid(2))
                copiesBack << f.name + QStringLiteral(" = ") + copy.name;
    }
    const bool remade = layout.fields[size_t(quantity)].length >= kQuantityWidth;
    if (remade && !copiesBack.isEmpty())
        c.db.exec(QStringLiteral("UPDATE \"%1\" SET %2").arg(debts, copiesBack.join(QStringLiteral(", "))));
    if (!dropCopies.isEmpty())
        c.db.exec(QStringLiteral("ALTER TABLE \"%1\" %2").arg(debts, dropCopies.join(QStringLiteral(", "))));
    if (!remade) c.db.changeNumericWidth(debts, {{QStringLiteral("CANT"), kQuantityWidth, kQuantityDecimals}});
    report.changes << QStringLiteral("Datorii.dbf: campul CANT largit la %1 cifre").arg(kQuantityWidth);
}

// Every stored control gets its row, coefficients included: a control without one would
// lose what the administrator saves at the next start.
void addMissingSettingRows(UpgradeContext& c, UpgradeReport& report) {
    const QString ini = table(c, tables::Settings);
    if (!c.db.tableExists(ini)) return;
    QSet<QString> present;
    db::Query rows = c.db.query(QStringLiteral("SELECT NUME FROM \"%1\" WHERE FORMA = 'FORM4'").arg(ini));
    for (; !rows.eof(); rows.next()) present.insert(rows.text("NUME").toUpper());
    int added = 0;
    for (const Setting& s : c.adminSettings) {
        if (present.contains(s.name.toUpper())) continue;
        c.db.exec(QStringLiteral("INSERT INTO \"%1\" (FORMA, NUME, VALOARE) VALUES ('FORM4', ?, ?)").arg(ini),
                  {s.name, s.value});
        ++added;
    }
    if (added) report.changes << QStringLiteral("Ini.dbf: %1 valori adaugate").arg(added);
}

} // namespace

const std::vector<RenamedTax>& RenamedVehicleTaxes() {
    static const std::vector<RenamedTax> names = {
        {"Alte autovehicule", "Alte autovehicule pana in 12t (1)"},
        {"Remorci, rulote pana la 1 tona inclusiv", "Remorci, rulote max.1 t"},
        {"Remorci, rulote peste 1 tona - pana la 3 tone", "Remorci, rulote >1..3 t"},
        {"Remorci, rulote peste 3 tone - pana la 5 tone", "Remorci, rulote >3 t .. 5 t"},
        {"Remorci, rulote peste 5 tone", "Remorci, rulote >5 t"},
        {"Autoturisme cap.cil. peste 3000 cmc: Cap.(cmc)", "Autoturisme cap.cil.peste 3000cmc (1)"},
    };
    return names;
}

void ChangeFieldWidth(db::Database& db, const QString& table, const QString& field, int width) {
    db.changeCharWidth(table, field, width);
}

StartupHooks UpgradeHooks(db::Database& db, const Folders& folders, Messages& messages, Desktop& desktop,
                          std::vector<Setting> adminSettings) {
    // Both sets work on the data folder start-up has chosen by the time they run.
    auto run = [&db, &folders, &messages, &desktop, adminSettings](bool first) {
        CountersFile counters(folders.data + QStringLiteral("/Vartesa.set"));
        UpgradeContext c{db, folders.data, folders.program, counters, messages, desktop, adminSettings};
        return first ? RunFirstUpgradeSet(c) : RunSecondUpgradeSet(c);
    };
    StartupHooks hooks;
    hooks.firstUpgradeSet = [run] { run(true); };
    hooks.secondUpgradeSet = [run] { return run(false).rolesTableEmpty; };
    return hooks;
}

UpgradeReport RunFirstUpgradeSet(UpgradeContext& c) {
    UpgradeReport report;
    SettingsTable settings(c.db, c.dataFolder);
    if (!c.db.tableExists(settings.path())) {
        settings.save(c.adminSettings);
        report.changes << QStringLiteral("Ini.dbf creata");
    }
    BudgetCodes codes(c.db, c.dataFolder, c.counters);
    if (!c.db.tableExists(codes.path())) {
        codes.EnsureCodesTable();
        report.changes << QStringLiteral("CODCL.dbf creata");
    }
    const char* const templates[][3] = {{"ListPlat.xls", "ListPlat", "XLS"}, {"RegCasa.xls", "RegCasa", "XLS"},
                                        {"Titlu.rtf", "Titlu", "Model"}};
    for (const auto& t : templates) {
        const QString path = table(c, t[0]);
        if (c.db.tableExists(path)) continue;
        try {
            WriteResourceToFile(QLatin1String(t[1]), QLatin1String(t[2]), path);
            report.changes << QLatin1String(t[0]) + QStringLiteral(" scris");
        } catch (const Error&) {
            report.missingTemplates << QLatin1String(t[0]);
        }
    }
    for (const TableLayout& t : TableCatalog()) {
        const QString path = c.dataFolder + '/' + t.file;
        if (c.db.tableExists(path)) continue;
        CreateTable(c.db, path, t);
        report.changes << t.file + QStringLiteral(" creata");
    }
    return report;
}

UpgradeReport RunSecondUpgradeSet(UpgradeContext& c) {
    UpgradeReport report;
    const Probes p = probe(c);
    report.rolesTableEmpty = p.rolesEmpty;
    db::Database& db = c.db;
    if (!p.j) {
        recreatePageSix(c);
        report.changes << QStringLiteral("Pag6.dbf refacuta");
    }
    if (!p.i) {
        widenAddresses(c);
        report.changes << QStringLiteral("Adresele largite la 80 de caractere");
    }
    if (!p.h) {
        db.exec(QStringLiteral("ALTER TABLE \"%1\" ADD DOCJUS CHAR(50)").arg(table(c, tables::SummonsLines)));
        report.changes << QStringLiteral("SomDet.dbf: DOCJUS adaugat");
    }
    if (!p.g) {
        insertSettings(c, QStringLiteral("EC%1ZE"), 1, 11);
        QStringList add, zero;
        for (int n = 1; n <= 11; ++n) {
            add << QStringLiteral("ADD L%1E DECIMAL(8,4)").arg(n);
            zero << QStringLiteral("L%1E = 0").arg(n);
        }
        const QString pag1 = table(c, tables::LandOutside);
        if (!hasField(db, pag1, "L1E")) db.exec(QStringLiteral("ALTER TABLE \"%1\" %2").arg(pag1, add.join(", ")));
        db.exec(QStringLiteral("UPDATE \"%1\" SET %2").arg(pag1, zero.join(", ")));
        report.changes << QStringLiteral("Pag1.dbf: coloanele L1E-L11E adaugate");
    }
    if (!p.k) {
        QStringList add, set;
        for (int n = 5; n <= 8; ++n) {
            add << QStringLiteral("ADD C%1S DECIMAL(8,2), ADD C%1A DECIMAL(6,0), ADD C%1C DECIMAL(6,0), ADD C%1Z CHAR(1), "
                                  "ADD C%1R CHAR(3), ADD NR%1 DECIMAL(6,0)")
                       .arg(n);
            set << QStringLiteral("C%1S = 0, C%1A = 0, C%1C = 0, NR%1 = 1").arg(n);
        }
        const QString pag2 = table(c, tables::Buildings);
        db.exec(QStringLiteral("ALTER TABLE \"%1\" %2").arg(pag2, add.join(", ")));
        db.exec(QStringLiteral("UPDATE \"%1\" SET %2").arg(pag2, set.join(", ")));
        report.changes << QStringLiteral("Pag2.dbf: cladirile 5-8 adaugate");
    }
    if (p.f) {
        const QString debts = table(c, tables::Ledger);
        db.exec(QStringLiteral("DELETE FROM \"%1\" WHERE TIP = 'A' AND SUMA2 = 0 AND RESTINI = 0").arg(debts));
        db.pack(debts); // drops the production index flag and its .mdx file too
        try {
            db.addIndex(debts, QStringLiteral("IDGOS"));
        } catch (const Error&) {
        }
        report.changes << QStringLiteral("Datorii.dbf: liniile calculate fara sume sterse");
    }
    const QString pag5 = table(c, tables::Vehicles);
    if (p.c) {
        db.exec(QStringLiteral("ALTER TABLE \"%1\" ADD P30001 DECIMAL(6,0), ADD P30002 DECIMAL(6,0), ADD P30003 DECIMAL(6,0), "
                               "ADD P30004 DECIMAL(6,0), ADD ALTE1 DECIMAL(6,0), ADD ALTE2 DECIMAL(6,0), "
                               "ADD ALTE3 DECIMAL(6,0), ADD ALTE4 DECIMAL(6,0)")
                    .arg(pag5));
        report.changes << QStringLiteral("Pag5.dbf: P30001-P30004 si ALTE1-ALTE4 adaugate");
    }
    if (p.d) {
        db.exec(QStringLiteral("ALTER TABLE \"%1\" ADD ATB3 DECIMAL(6,0), ADD ATB4 DECIMAL(6,0), ADD ATBNR3 DECIMAL(6,0), "
                               "ADD ATBNR4 DECIMAL(6,0)")
                    .arg(pag5));
        db.exec(QStringLiteral("UPDATE \"%1\" SET ATB3 = 0, ATB4 = 0, ATBNR3 = 0, ATBNR4 = 0").arg(pag5));
        report.changes << QStringLiteral("Pag5.dbf: ATB3, ATB4, ATBNR3, ATBNR4 adaugate");
    }
    if (p.e) {
        db.exec(QStringLiteral("UPDATE \"%1\" SET P30001 = AUTO10, ALTE1 = ALTE, P30002 = 0, P30003 = 0, P30004 = 0, "
                               "ALTE2 = 0, ALTE3 = 0, ALTE4 = 0")
                    .arg(pag5));
        db.exec(QStringLiteral("ALTER TABLE \"%1\" DROP AUTO10, DROP ALTE").arg(pag5));
        report.changes << QStringLiteral("Pag5.dbf: AUTO10 si ALTE mutate");
    }
    if (p.a) renameVehicleTaxes(c, report);
    // Built-up yards of 1,000 m2 and more did not fit N(8,4); rural yards often are larger.
    // A table another workstation holds now is widened at a later start.
    try {
        const QString pag4 = table(c, tables::LandInside);
        // The work table of an older release's rebuild, stopped before it replaced Pag4.dbf.
        const QString work = table(c, "Pag4_L.dbf");
        if (db.tableExists(work)) db.exec(QStringLiteral("DROP TABLE \"%1\"").arg(work));
        const QStringList names{"CCA", "CCB", "CCC", "CCD", "CCE"};
        std::vector<db::NumericWidth> yards; // the narrow ones, each keeping its decimals
        for (const db::Field& f : db.layout(pag4).fields)
            if (names.contains(f.name) && f.type == db::FieldType::Numeric && f.length < kYardWidth)
                yards.push_back({f.name, kYardWidth, f.decimals});
        if (!yards.empty()) {
            db.changeNumericWidth(pag4, yards);
            report.changes << QStringLiteral("Pag4.dbf: curtile-constructii largite la %1 cifre").arg(kYardWidth);
        }
    } catch (const Error&) {
    }
    addMissingSettingRows(c, report);
    if (p.b) {
        const int moved = db.exec(QStringLiteral("UPDATE \"%1\" SET DENUM = 'Autoturisme cap.cil.peste 3000 cmc (1)', CAMP1 = 'P30001', "
                               "VAL1 = (SELECT CAST(P.P30001 AS CHAR(10)) FROM \"%2\" P WHERE P.IDGOS = \"%1\".IDGOS) "
                               "WHERE FISIER = 'PAG5' AND CAMP1 = 'AUTO10'")
                    .arg(table(c, tables::Debits), pag5));
        if (moved) report.changes << QStringLiteral("Debit.dbf: %1 debite AUTO10 mutate pe P30001").arg(moved);
    }
    if (p.l) widenDebtQuantity(c, report);
    return report;
}

} // namespace vartesa
