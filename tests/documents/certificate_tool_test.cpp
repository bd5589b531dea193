// vartesa-tool certificate: the amounts are the account of the certificate's date row for
// row, two workstations never print one number, a locked year is refused.

#include "certificate_test_util.h"
#include "support/tool_run.h"

#include "shell/startup.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::test::CertificateFolder;
using vartesa::test::runTool;

namespace {

// The lines of one "[TITLE]" section of the tool's output, without its column line.
QStringList section(const QString& out, const QString& title) {
    QStringList lines = out.section(QStringLiteral("[%1]\n").arg(title), 1).split('\n');
    lines.removeFirst();
    QStringList rows;
    for (const QString& l : lines) {
        if (l.startsWith('[') || l.startsWith(QLatin1String("TOTAL,")) || l.startsWith(QLatin1String("FILE,")) ||
            l.isEmpty())
            break;
        rows << l;
    }
    return rows;
}

// The account's rows as the certificate prints them: DEN, C, R, M.
QStringList accountRows(const QString& account) {
    QStringList rows;
    auto cells = [](const QString& l) { return l.split(','); };
    for (const QString& l : section(account, "IMPOZITE")) rows << QStringList{cells(l)[1], cells(l)[10], cells(l)[11], cells(l)[12]}.join(',');
    for (const QString& l : section(account, "DEBITE")) rows << QStringList{cells(l)[1], cells(l)[9], "0", cells(l)[10]}.join(',');
    for (const QString& l : section(account, "TAXE")) rows << QStringList{cells(l)[1], cells(l)[12], cells(l)[13], "0"}.join(',');
    return rows;
}

QStringList certificateRows(const QString& out) {
    QStringList rows;
    for (const QString& l : section(out, "SUME")) rows << l.section(',', 1, 4);
    return rows;
}

TEST(CertificateTool, TheAmountsAreTheAccountOfTheCertificateDate) {
    CertificateFolder f;
    const qint64 role = f.addRole("POPA ION");
    f.balance(role, {"Impozit pe cladiri", 200, 200, 20, 0, 0, 30});       // a credit
    f.balance(role, {"Impozit pe teren intravilan", 80, 80, 8, 0, 50, 0, 6}); // arrears, carried increments
    f.debit(role, "Cumparare", {2015, 2, 12}, 100);                        // penalised from March
    f.ledgerLine(role, "Salubritate", 60, 20, 5);
    const QString data = f.env.folders().data, id = QString::number(role);
    for (const char* day : {"31.03.2015", "01.04.2015", "10.10.2015"}) {
        SCOPED_TRACE(day);
        QString account, out;
        ASSERT_EQ(runTool({"account", data, id, "--date", day}, &account), 0) << account.toStdString();
        ASSERT_EQ(runTool({"certificate", data, id, "--out", f.env.root() + "/out", "--date", day}, &out), 0)
            << out.toStdString();
        EXPECT_EQ(certificateRows(out), accountRows(account)) << out.toStdString();
    }
}

TEST(CertificateTool, TwoWorkstationsNeverPrintOneNumber) {
    CertificateFolder f;
    const QString id = QString::number(f.addRole("POPA ION"));
    QProcess first, second;
    for (QProcess* p : {&first, &second})
        p->start(QStringLiteral(VARTESA_TOOL_PATH), {"certificate", f.env.folders().data, id, "--out", f.env.root() + "/out"});
    QStringList numbers;
    for (QProcess* p : {&first, &second}) {
        ASSERT_TRUE(p->waitForFinished(60000));
        numbers << QString::fromUtf8(p->readAllStandardOutput()).section('\n', 0, 0);
    }
    numbers.sort();
    EXPECT_EQ(numbers, (QStringList{"CERTNR,1", "CERTNR,2"}));
}

TEST(CertificateTool, ALockedYearIsRefusedAndNothingWritten) {
    CertificateFolder f;
    const QString id = QString::number(f.addRole("POPA ION"));
    f.counters().WriteCounter("SERVER", YearLockCounterKey(2015), "DA");
    QString out;
    EXPECT_EQ(runTool({"certificate", f.env.folders().data, id, "--out", f.env.root() + "/out"}, &out), 1);
    EXPECT_EQ(out, "Nu mai puteti opera in anul trecut!\n");
    EXPECT_TRUE(QDir(f.env.root() + "/out").entryList({"Cert*"}).isEmpty());
}

TEST(CertificateTool, TheRegisterFolderIsCheckedBeforeItsParcelsArePrinted) {
    CertificateFolder f;
    const QString id = QString::number(f.addRole("POPA ION"));
    f.household(7, 70, "CORBU", "1");
    f.parcel(7, 1, "A5", 0.25, 1.5);
    const QStringList args{"certificate", f.env.folders().data, id, "--out", f.env.root() + "/out", "--register",
                           f.registerFolder()};
    QString out;
    EXPECT_EQ(runTool(args, &out), 1) << "no Ra2015.set yet";
    EXPECT_EQ(out, "Calea indicata nu este corecta!\n");
    EXPECT_EQ(f.counters().ReadCounter("SERVER", "CALERA2015") + f.counters().ReadCounter("SERVER", "CFNR"), "");
    QFile(f.registerFolder() + "/Ra2015.set").open(QIODevice::WriteOnly);
    ASSERT_EQ(runTool(args, &out), 0) << out.toStdString();
    EXPECT_EQ(section(out, "CAP2B"), QStringList{"\"Tarla A5 nr.12, Parcela 3, Suprafata: 1.75 HA, intravilan;\""});
}

} // namespace
