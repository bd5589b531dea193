// The data folder check lists the damaged tables; the repair mends a record count after
// keeping a copy, moves a cut record aside, and refuses what it cannot mend or would
// overwrite. The command line shows the same, and dbf-info the header against the size.

#include "datafolder/table_check.h"
#include "db/database.h"
#include "db/error.h"
#include "support/shell_test_util.h"
#include "support/tool_run.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vartesa {
namespace {

using shelltest::readBytes;
using shelltest::writeBytes;

void put(QByteArray& b, int at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + i] = char((value >> (8 * i)) & 0xFF);
}

// A data folder with T.dbf of three records written by the engine, and a sound Alta.dbf.
struct Folder {
    QTemporaryDir dir;
    QByteArray good;
    int header = 0, length = 0;
    Folder() {
        db::Database db(dir.path());
        for (const char* table : {"T.dbf", "Alta.dbf"}) {
            db.exec(QStringLiteral("CREATE TABLE \"%1\" (ID DECIMAL(4,0), NUME CHAR(6))").arg(QLatin1String(table)));
            for (int id = 1; id <= 3; ++id)
                db.exec(QStringLiteral("INSERT INTO \"%1\" (ID, NUME) VALUES (?, 'A')").arg(QLatin1String(table)), {id});
        }
        good = readBytes(table());
        header = std::uint8_t(good[8]) | std::uint8_t(good[9]) << 8;
        length = std::uint8_t(good[10]) | std::uint8_t(good[11]) << 8;
    }
    QString path() const { return dir.path(); }
    QString table() const { return dir.filePath(QStringLiteral("T.dbf")); }
    QByteArray records(int n) const { return good.left(header + n * length); }
    QByteArray withCount(QByteArray b, int n) const {
        put(b, 4, std::uint32_t(n), 4);
        return b;
    }
    int rows() {
        db::Database db(path());
        return db.scalar(QStringLiteral("SELECT COUNT(*) FROM \"T.dbf\"")).toInt();
    }
};

struct Mend {
    const char* what;
    std::function<QByteArray(const Folder&)> damage;
    int whole;     // records the repaired table holds
    int tail;      // bytes moved to T.rest
    const char* fault;
};

const Mend kMends[] = {
    {"cut inside a record", [](const Folder& f) { return f.records(2) + QByteArray(5, ' '); }, 2, 5,
     "antetul arata 3 inregistrari, fisierul are 2 si inca 5 octeti ai unei inregistrari taiate"},
    {"cut at a record boundary", [](const Folder& f) { return f.records(2); }, 2, 0,
     "antetul arata 3 inregistrari, fisierul are 2"},
    {"count one low", [](const Folder& f) { return f.withCount(f.good, 2); }, 3, 0,
     "antetul arata 2 inregistrari, fisierul are 3"},
    {"count one high", [](const Folder& f) { return f.withCount(f.good, 4); }, 3, 0,
     "antetul arata 4 inregistrari, fisierul are 3"},
};

TEST(TableRepair, ListsAndMendsEachCountAfterKeepingACopy) {
    for (const Mend& m : kMends) {
        Folder f;
        const QByteArray damaged = m.damage(f);
        writeBytes(f.table(), damaged);
        db::Database db(f.path());
        const std::vector<DamagedTable> found = DamagedTables(db, f.path());
        ASSERT_EQ(found.size(), 1u) << m.what;
        EXPECT_EQ(found[0].fault, QStringLiteral("Tabela T.dbf este deteriorata: %1.").arg(m.fault)) << m.what;

        QStringList expected = {found[0].fault, "Copia tabelei asa cum era: T.bak."};
        if (m.tail) expected << QStringLiteral("Cei %1 octeti ai inregistrarii taiate sunt mutati in T.rest.").arg(m.tail);
        expected << QStringLiteral("Antetul arata acum %1 inregistrari.").arg(m.whole);
        EXPECT_EQ(RepairTable(db, f.path(), "t", false), expected) << m.what;
        EXPECT_EQ(readBytes(f.path() + "/T.bak"), damaged) << m.what;
        EXPECT_EQ(QFileInfo::exists(f.path() + "/T.rest"), m.tail > 0) << m.what;
        if (m.tail) EXPECT_EQ(readBytes(f.path() + "/T.rest"), damaged.right(m.tail)) << m.what;
        EXPECT_EQ(f.rows(), m.whole) << m.what;
        EXPECT_TRUE(DamagedTables(db, f.path()).empty()) << m.what;
    }
}

TEST(TableRepair, RefusesWhatTheCountDoesNotExplainAndWhatItWouldOverwrite) {
    const struct {
        const char* what;
        std::function<QByteArray(Folder&)> prepare; // damages T.dbf, may leave other files
        QString refusal;
    } cases[] = {
        {"wrong header length",
         [](Folder& f) {
             QByteArray b = f.good;
             put(b, 8, std::uint32_t(f.header + 1), 2);
             return b;
         },
         "Tabela T.dbf nu se poate repara aici: antetul are 98 octeti, cele 2 campuri cer 97. Restaurati-o dintr-o "
         "salvare."},
        {"wrong record length",
         [](Folder& f) {
             QByteArray b = f.good;
             put(b, 10, std::uint32_t(f.length + 1), 2);
             return b;
         },
         "Tabela T.dbf nu se poate repara aici: inregistrarea are 12 octeti, campurile cer 11. Restaurati-o dintr-o "
         "salvare."},
        {"zero width field",
         [](Folder& f) {
             QByteArray b = f.good;
             b[32 + 32 + 16] = 0;
             return b;
         },
         "Tabela T.dbf nu se poate repara aici: campul NUME de tip C are lungimea 0. Restaurati-o dintr-o salvare."},
        {"copy already there",
         [](Folder& f) {
             writeBytes(f.path() + "/T.bak", "copia de ieri");
             return f.withCount(f.good, 2);
         },
         "Fisierul T.bak exista deja: mutati-l sau stergeti-l, apoi reparati tabela T.dbf."},
        {"cut record's file already there",
         [](Folder& f) {
             writeBytes(f.path() + "/T.rest", "rest");
             return f.records(2) + "xyz";
         },
         "Fisierul T.rest exista deja: mutati-l sau stergeti-l, apoi reparati tabela T.dbf."},
    };
    for (const auto& c : cases) {
        Folder f;
        const QByteArray damaged = c.prepare(f);
        writeBytes(f.table(), damaged);
        const QStringList before = QDir(f.path()).entryList(QDir::Files);
        db::Database db(f.path());
        QString refusal;
        try {
            RepairTable(db, f.path(), "T.dbf", false);
        } catch (const Error& e) {
            refusal = e.text();
        }
        EXPECT_EQ(refusal, c.refusal) << c.what;
        EXPECT_EQ(readBytes(f.table()), damaged) << c.what;
        EXPECT_EQ(QDir(f.path()).entryList(QDir::Files), before) << c.what;
    }
}

TEST(TableRepair, CommandLineChecksTriesAndRepairs) {
    Folder f;
    const QByteArray damaged = f.records(2) + QByteArray(5, ' ');
    writeBytes(f.table(), damaged);
    const QString fault = "Tabela T.dbf este deteriorata: antetul arata 3 inregistrari, fisierul are 2 si inca 5 "
                          "octeti ai unei inregistrari taiate.\n";
    QString out;
    EXPECT_EQ(test::runTool({"verify", f.path()}, &out), 1);
    EXPECT_EQ(out, fault);
    EXPECT_EQ(test::runTool({"dbf-info", f.table()}, &out), 0);
    EXPECT_TRUE(out.contains("Inregistrari: 3\n")) << qPrintable(out);
    EXPECT_TRUE(out.endsWith("Inregistrari dupa marimea fisierului: 2 si inca 5 octeti ai unei inregistrari taiate\n"
                             "Verdict: deteriorata: antetul arata 3 inregistrari, fisierul are 2 si inca 5 octeti ai "
                             "unei inregistrari taiate\n"))
        << qPrintable(out);

    EXPECT_EQ(test::runTool({"repair", f.path(), "T.dbf", "--dry-run"}, &out), 0);
    EXPECT_EQ(out, fault + "Copia tabelei asa cum este s-ar face in T.bak.\n"
                           "Cei 5 octeti ai inregistrarii taiate s-ar muta in T.rest.\n"
                           "Antetul ar arata 2 inregistrari.\n"
                           "Proba: nu s-a scris nimic.\n");
    EXPECT_EQ(readBytes(f.table()), damaged);
    EXPECT_FALSE(QFileInfo::exists(f.path() + "/T.bak"));

    EXPECT_EQ(test::runTool({"repair", f.path(), "T.dbf"}, &out), 0);
    EXPECT_EQ(test::runTool({"repair", f.path(), "T.dbf"}, &out), 0);
    EXPECT_EQ(out, "Tabela T.dbf este intreaga: antetul arata 2 inregistrari, cate are fisierul. Nu este nimic de "
                   "reparat.\n");
    EXPECT_EQ(test::runTool({"verify", f.path()}, &out), 0);
    EXPECT_EQ(test::runTool({"dbf-info", f.table()}, &out), 0);
    EXPECT_TRUE(out.endsWith("Inregistrari dupa marimea fisierului: 2\nVerdict: intreaga\n")) << qPrintable(out);
}

} // namespace
} // namespace vartesa
