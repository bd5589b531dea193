// The role register's printing and the claim dialog TSelGrupa, as the clerk drives them.

#include "other_lists_util.h"

#include "documents/ui/other_lists_menu.h"
#include "report/ui/report_output.h"
#include "support/gui_application.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace vartesa;
using namespace vartesa::test;

namespace {

// Counts the print jobs and their pages.
class RecordingOutput final : public report::Output {
public:
    int jobs = 0, pages = 0;
    bool print(const report::Layout& layout) override {
        ++jobs;
        pages += int(layout.pages.size());
        return true;
    }
    void preview(const report::Layout&) override {}
};

TEST(RoleRegisterPrint, PrintsEveryPageInOneJobOnlyAfterDa) {
    ensureGuiApplication();
    for (const char* answer : {"NU", "DA"}) {
        OtherListsFolder f;
        f.role("ALUNI", "1", "POP ANA");
        f.role("ALUNI", "2", "ION");
        f.env.messages().answerNext(QString::fromLatin1(answer));
        RecordingOutput output;
        PrintRoleRegister(f.env.services(), {}, output);
        EXPECT_EQ(output.jobs, QLatin1String(answer) == QLatin1String("DA") ? 1 : 0) << answer;
    }
}

TEST(SelGrupa, OffersTheFineClaimsFirstChosenAndReportsOnlyThroughRaporteaza) {
    ensureGuiApplication();
    OtherListsFolder f;
    f.claim("Impozit pe cladiri", "I");
    f.claim("Amenzi", "T");
    f.claim("Taxa salubrizare", "T");
    TSelGrupa d(f.env.services());
    d.prepare("Lista Amenzi / Taxe");
    EXPECT_EQ(d.Grupa->count(), 2);
    EXPECT_EQ(d.options().claim, "Amenzi");
    QTimer::singleShot(0, [&] { QTest::keyClick(&d, Qt::Key_Escape); });
    EXPECT_FALSE(d.ShowChoice("Lista Amenzi / Taxe"));
    QTimer::singleShot(0, [&] { d.RaporteazaB->click(); });
    EXPECT_TRUE(d.ShowChoice("Lista Amenzi / Taxe"));
}

} // namespace
