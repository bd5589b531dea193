// vartesa-tool confirmation: the claims, a confirmation added and listed, the sender's texts
// refused when longer than their fields, the delete answered DA, the print and the number.

#include "certificate_test_util.h"
#include "support/tool_run.h"

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::test::CertificateFolder;
using vartesa::test::runTool;

namespace {

TEST(ConfirmationTool, AddsListsDeletesAndPrints) {
    CertificateFolder f;
    f.code("Impozit pe cladiri", "07.01.01", "07.01.02");
    const QString data = f.env.folders().data, role = QString::number(f.addRole("POPA ION"));
    QString out;
    ASSERT_EQ(runTool({"confirmation", data, "codes"}, &out), 0);
    EXPECT_EQ(out, "NATCL,TIP,CODCL\nImpozit pe cladiri,PF,07.01.01\nImpozit pe cladiri,PJ,07.01.02\n");
    const QStringList add{"confirmation", data, "add", role, "--amount", "1250", "--list", "12", "--address", "7",
                          "--to", "DGFP  CLUJ", "--claim", "impozit pe cladiri", "--pj", "--date", "02.03.2015"};
    EXPECT_EQ(runTool(QStringList(add) << "--to-locality" << QString(33, 'L'), &out), 1);
    EXPECT_EQ(out, "Text prea lung!\n");
    ASSERT_EQ(runTool({"confirmation", data, "set-number", "500"}, &out), 0);
    ASSERT_EQ(runTool(add, &out), 0) << out.toStdString();
    const QString row = "1,500,02.03.2015,1250,12,02.03.2015,1,POPA ION,CORBU,,DGFP CLUJ,,,07.01.02,Impozit pe cladiri,7,"
                        "02.03.2015\n";
    EXPECT_EQ(out.section('\n', 1), row + "IDCONF,1\n");
    ASSERT_EQ(runTool({"confirmation", data, "list", "--name", "pop"}, &out), 0);
    EXPECT_EQ(out.section('\n', 1), row);
    ASSERT_EQ(runTool({"confirmation", data, "print", "1", "--out", f.env.root() + "/out"}, &out), 0);
    EXPECT_EQ(out, "FILE,Confirm0.rtf\n");
    ASSERT_EQ(runTool({"confirmation", data, "delete", "1"}, &out), 0);
    EXPECT_EQ(out, "Doriti sa stergeti Confirmarea nr.500 / 02.03.2015 ? DA\n");
    ASSERT_EQ(runTool({"confirmation", data, "list"}, &out), 0);
    EXPECT_EQ(out.count('\n'), 1) << "the header only";
}

} // namespace
