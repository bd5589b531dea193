// vartesa-tool role: the register window's add, change and delete from the command line,
// with the window's checks and one transaction.

#include "db/file_io.h"
#include "roles/role_test_util.h"
#include "support/tool_run.h"

#include <QDir>

#include <gtest/gtest.h>

#include <map>

using namespace vartesa;
using test::runTool;

namespace {

struct RoleToolFolder : test::RoleFolder {
    QString data() const { return env.folders().data; }
    QStringList role(const QStringList& more) const { return QStringList{"role", data()} + more; }
    std::map<QString, QByteArray> tables() const {
        std::map<QString, QByteArray> out;
        for (const QString& name : QDir(data()).entryList({"*.dbf", "*.lst"}, QDir::Files))
            out[name] = test::fileBytes(data() + '/' + name);
        return out;
    }
    QString stored(const char* column, qint64 id) {
        return db().scalar(QStringLiteral("SELECT %1 FROM \"%2\" WHERE IDGOS = ?").arg(column, path("Gospodar.dbf")), {id})
            .toString();
    }
};

// The IDGOS of "IDGOS,<id>", the first line the command prints.
qint64 newId(const QString& out) { return out.section('\n', 0, 0).section(',', 1).toLongLong(); }

TEST(RoleTool, AddsARoleWithQuotesPercentAndCommaBelowInItsTexts) {
    RoleToolFolder f;
    QString out;
    const QString name = QStringLiteral("SC \"ALFA\" O'NEIL 100% ȘTEFAN");
    ASSERT_EQ(runTool(f.role({"add", "--village", QStringLiteral("Vârteșa"), "--name", name, "--set",
                              "ADRESA=Str. Mare, nr. 5", "--yes"}),
                      &out),
              0)
        << out.toStdString();
    EXPECT_TRUE(out.startsWith("IDGOS,")) << out.toStdString();
    const qint64 id = newId(out);
    // ș is kept as the tables keep it, ş; the next form offers the new village.
    EXPECT_EQ(f.stored("NUMEP", id), QStringLiteral("SC \"ALFA\" O'NEIL 100% ŞTEFAN"));
    EXPECT_EQ(test::fileBytes(f.data() + "/Sate.lst"), QByteArray("V\xC2RTE\xAA" "A\r\n"));
    EXPECT_EQ(f.rowsOf("Pag8.dbf", id), 1);
}

TEST(RoleTool, ProposesTheNextNumberAndCarriesAChangedNumberToTheDebts) {
    RoleToolFolder f;
    const qint64 first = f.add("CORBU", "12", "ION");
    f.addMoneyRows(first, "CORBU", "12");
    QString out;
    ASSERT_EQ(runTool(f.role({"add", "--village", "CORBU", "--name", "ANA", "--yes"}), &out), 0) << out.toStdString();
    EXPECT_EQ(f.stored("ROL", newId(out)), "13");
    ASSERT_EQ(runTool(f.role({"edit", QString::number(first), "--set", "ROL=40", "--set", "SATUL=Aluni", "--yes"}), &out),
              0)
        << out.toStdString();
    EXPECT_EQ(f.db().scalar(QStringLiteral("SELECT SATUL || '/' || ROL FROM \"%1\"").arg(f.path("Datorii.dbf"))).toString(),
              "ALUNI/40");
}

TEST(RoleTool, RefusalsPrintTheFormsMessageAndChangeNothing) {
    RoleToolFolder f;
    const qint64 id = f.add("CORBU", "7", "ION", "1800101221144");
    const QString other = QString::number(f.add("CORBU", "8", "ANA"));
    const auto before = f.tables();
    const struct {
        QStringList args;
        QString message;
    } cases[] = {
        {{"add", "--village", " ", "--name", "X"}, "Lipseste Localitatea!\n"},
        {{"add", "--village", "CORBU", "--name", "X", "--rol", " "}, "Numar de ROL incorect!\n"},
        {{"add", "--village", "CORBU", "--name", "X", "--set", "CNP=1800101221145"}, "CNP / CUI incorect!\n"},
        {{"add", "--village", "CORBU", "--name", "  "}, "Lipseste Capul de gospodarie!\n"},
        {{"add", "--village", "CORBU", "--name", "X", "--rol", "7"},
         "Numarul unic de ROL exista deja!\nContinuati in halul asta?! ;)\n"},
        {{"edit", other, "--set", "CNP=1800101221144"},
         "Acest CNP mai exista la ROL 7\nION !\nContinuati memorarea ?\n"},
        {{"add", "--village", "ALUNI", "--name", "X"}, "Localitatea ALUNI nu este in lista. O adaugam?\n"},
        {{"add", "--village", "CORBU", "--name", "X", "--type", "SRL"},
         "Valoare incorecta pentru TIP: SRL (FIZICA sau JURIDICA)\n"},
        {{"edit", other, "--set", "SCTE=-3"}, "Valoare incorecta pentru SCTE: -3\n"},
        {{"edit", other, "--set", "CULOARE=ROSU"}, "Camp necunoscut: CULOARE\n"},
        {{"edit", other, "--set", "NUMEP=" + QString(41, 'A'), "--yes"}, ""},
        {{"edit", "999", "--set", "NUMEP=X"}, "Nu exista rolul cu IDGOS 999\n"},
    };
    for (const auto& c : cases) {
        QString out;
        EXPECT_EQ(runTool(f.role(c.args), &out), 1) << c.args.join(' ').toStdString();
        if (!c.message.isEmpty()) EXPECT_EQ(out, c.message) << c.args.join(' ').toStdString();
    }
    EXPECT_EQ(f.tables(), before);
    EXPECT_EQ(f.stored("ROL", id), "7");
}

TEST(RoleTool, DeleteShowsWhatWouldGoAndTakesItOnlyWithYes) {
    RoleToolFolder f;
    const qint64 id = f.add("CORBU", "7", "ION");
    f.addMoneyRows(id, "CORBU", "7");
    const auto before = f.tables();
    QString out;
    ASSERT_EQ(runTool(f.role({"delete", QString::number(id)}), &out), 0) << out.toStdString();
    EXPECT_TRUE(out.contains("Chitante.dbf,1\n")) << out.toStdString();
    EXPECT_EQ(f.tables(), before);
    ASSERT_EQ(runTool(f.role({"delete", QString::number(id), "--yes"}), &out), 0) << out.toStdString();
    EXPECT_EQ(f.rowsOf("Gospodar.dbf", id) + f.rowsOf("Chitante.dbf", id) + f.rowsOf("UndelSold.dbf", id), 0);
    EXPECT_EQ(f.rowsOf("Debit.dbf", id), 1); // the year's debits stay, as the window leaves them
}

TEST(RoleTool, AFailureInsideTheDeletionLeavesEveryTableByteIdentical) {
    RoleToolFolder f;
    const qint64 id = f.add("CORBU", "7", "ION");
    f.addMoneyRows(id, "CORBU", "7");
    // The last table of the cascade cannot be read: every table before it was already
    // emptied of the role inside the transaction when the deletion meets it.
    db::replaceFile(f.path("UndelSold.dbf"), QByteArray("not a table"));
    const auto before = f.tables();
    QString out;
    EXPECT_EQ(runTool(f.role({"delete", QString::number(id), "--yes"}), &out), 1) << out.toStdString();
    EXPECT_TRUE(out.contains("UndelSold.dbf")) << out.toStdString();
    EXPECT_EQ(f.tables(), before);
}

} // namespace
