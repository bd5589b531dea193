// vartesa-tool users and codes: the administrator's users page and the budget account codes
// from the command line, with their windows' checks.

#include "cash/payment_test_util.h"
#include "shell/passwords.h"
#include "shell/startup.h"
#include "shell/users_file.h"
#include "support/tool_run.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace vartesa;
using test::runTool;

namespace {

// Runs the tool with `input` on its standard input.
int runToolWithInput(const QStringList& args, const QByteArray& input, QString* out) {
    QProcess tool;
    tool.start(QStringLiteral(VARTESA_TOOL_PATH), args);
    tool.write(input);
    tool.closeWriteChannel();
    EXPECT_TRUE(tool.waitForFinished(60000));
    *out = QString::fromUtf8(tool.readAllStandardOutput()) + QString::fromUtf8(tool.readAllStandardError());
    return tool.exitCode();
}

struct UsersToolFolder : test::PayFolder {
    QString data() const { return env.folders().data; }
    UsersFile users() const { return UsersFile::inFolder(data()); }
    QStringList usersArgs(const QStringList& more) const { return QStringList{"users", data()} + more; }
    QStringList codesArgs(const QStringList& more) const { return QStringList{"codes", data()} + more; }
};

TEST(UsersTool, AddsAUserWithAHashedPasswordAndChangesIt) {
    UsersToolFolder f;
    f.users().create({"ADMIN", "", UserGrade::Admin, ""});
    QString out;
    ASSERT_EQ(runToolWithInput(f.usersArgs({"add", QStringLiteral("Ion Ștefan"), "--grade", "casier", "--series", "AB"}) +
                                   QStringList{"--password-stdin"},
                               "s\"e'c%ret\n", &out),
              0)
        << out.toStdString();
    EXPECT_EQ(out, QStringLiteral("NUME,GRAD,LEGIT,SERIA,NR\nION ŞTEFAN,CASIER,,AB,1\n"));
    const UserRecord stored = f.users().readAll().back();
    EXPECT_TRUE(isHashedPassword(stored.password) && passwordMatches(stored.password, "s\"e'c%ret"));
    ASSERT_EQ(runTool(f.usersArgs({"set", QStringLiteral("ion ştefan"), "--grade", "OPERATOR DE ROL"}), &out), 0)
        << out.toStdString();
    EXPECT_EQ(f.users().readAll().back().grade, UserGrade::RolOperator);
    ASSERT_EQ(runTool(f.usersArgs({"delete", QStringLiteral("ION ŞTEFAN")}), &out), 0) << out.toStdString();
    EXPECT_EQ(f.users().count(), 1);
}

TEST(UsersTool, RefusalsKeepTheUsersFileAndTheLastAdministrator) {
    UsersToolFolder f;
    // An older folder whose only administrator is not the first account.
    f.users().create({"ADMIN", "", UserGrade::Cashier, ""});
    f.users().append({"SEF", "", UserGrade::Admin, ""});
    f.users().append({QStringLiteral("ŞTEFAN"), "", UserGrade::Cashier, ""});
    const QByteArray before = test::fileBytes(f.users().path());
    const struct {
        QStringList args;
        QString message;
    } cases[] = {
        {{"add", QStringLiteral("ștefan"), "--grade", "CASIER"}, "Acest nume mai exista!\n"},
        {{"add", "NOU", "--grade", "ADMIN"}, "Rang incorect: ADMIN (OPERATOR DE ROL sau CASIER)\n"},
        {{"add", " ", "--grade", "CASIER"}, "Lipseste numele!\n"},
        {{"set", "ADMIN", "--grade", "CASIER"}, "Acest utilizator nu poate fi modificat!\n"},
        {{"delete", "ADMIN"}, "Acest utilizator nu poate fi sters!\n"},
        {{"delete", "SEF"}, "Ultimul administrator nu poate fi sters!\n"},
        {{"set", "SEF", "--grade", "CASIER"}, "Ultimul administrator ramane ADMIN!\n"},
        {{"delete", "NIMENI"}, "Utilizatorul NIMENI nu exista.\n"},
    };
    for (const auto& c : cases) {
        QString out;
        EXPECT_EQ(runTool(f.usersArgs(c.args), &out), 1) << c.args.join(' ').toStdString();
        EXPECT_EQ(out, c.message) << c.args.join(' ').toStdString();
    }
    EXPECT_EQ(test::fileBytes(f.users().path()), before);
}

TEST(CodesTool, SetsTheAccountsOfAClaimAndItsReceiptLines) {
    UsersToolFolder f;
    f.db().exec(QStringLiteral("INSERT INTO \"%1\" (IDCHIT, IDGOS, GRUPA, CODCLAS, TIPF, TOTAL) VALUES (1, 1, 'Salubritate', "
                               "'21025', 'F', 10)")
                    .arg(f.path("Chitante.dbf")));
    QString out;
    ASSERT_EQ(runTool(f.codesArgs({"set", "5", "--set", "codclf=  3005  ", "--set", "CODCLJ=3006"}), &out), 0)
        << out.toStdString();
    EXPECT_EQ(out, "IDCOD,GRUPA,CODCLF,CODCLJ,TIP\n5,Salubritate,3005,3006,T\n");
    EXPECT_EQ(f.db().scalar(QStringLiteral("SELECT CODCLAS FROM \"%1\"").arg(f.path("Chitante.dbf"))).toString(), "3005");
}

TEST(CodesTool, RefusalsPrintTheWindowsMessageAndChangeNothing) {
    UsersToolFolder f;
    const QByteArray before = test::fileBytes(f.path("CODCL.dbf"));
    const struct {
        QStringList args;
        QString message;
    } cases[] = {
        {{"set", "5", "--set", "CODCLF= "}, "Lipseste contul!\n"},
        {{"set", "5", "--set", "CODCLJ=RO48AAAA1B31007593840000"}, "Cont incorect!\n"},
        {{"set", "99", "--set", "CODCLF=1"}, "Nu exista creanta cu IDCOD 99\n"},
        {{"set", "5", "--set", "GRUPA=Gunoi"}, "Camp necunoscut: GRUPA\n"},
    };
    for (const auto& c : cases) {
        QString out;
        EXPECT_EQ(runTool(f.codesArgs(c.args), &out), 1) << c.args.join(' ').toStdString();
        EXPECT_EQ(out, c.message) << c.args.join(' ').toStdString();
    }
    CountersFile counters = f.counters();
    counters.WriteCounter("SERVER", YearLockCounterKey(DataFolderYear(counters)), "DA");
    QString out;
    EXPECT_EQ(runTool(f.codesArgs({"set", "5", "--set", "CODCLF=1"}), &out), 1);
    EXPECT_EQ(out, "Nu mai puteti opera in anul trecut!\n");
    EXPECT_EQ(test::fileBytes(f.path("CODCL.dbf")), before);
}

} // namespace
