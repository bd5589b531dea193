// The choice window "Initializare An Nou" and the offer the first administrator login makes.

#include "new_year_test_util.h"

#include "datafolder/ui/new_year_window.h"
#include "shell/registry.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace vartesa;
using namespace vartesa::test;

namespace {

TEST(NewYearWindow, BoxesTickedAtFirstAndEscapeCancels) {
    TFAnNou window(2014);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Initializare An Nou"));
    EXPECT_EQ(window.findChild<QLabel*>("Titlu")->text(), QStringLiteral("Alegeti datele de preluat din 2014"));
    window.ramasiteOk()->setChecked(false);
    window.show();
    QTest::mouseClick(window.chosenButton(), Qt::LeftButton);
    EXPECT_EQ(window.result(), QDialog::Accepted);
    const NewYearChoices c = window.choices();
    EXPECT_EQ(std::vector<bool>({c.pages, c.localTaxes, c.otherTaxes}), std::vector<bool>({true, false, true}));

    TFAnNou escaped(2014);
    escaped.show();
    QTest::keyClick(&escaped, Qt::Key_Escape);
    EXPECT_EQ(escaped.result(), QDialog::Rejected);
}

// The new installation: an empty database whose registry points at the old one.
struct NewInstallation {
    explicit NewInstallation(const QString& oldProgramFolder) {
        for (const TableLayout& t : TableCatalog())
            CreateTable(env.services().database(), env.folders().data + '/' + t.file, t);
        env.services().registry().release(kPreviousRelease).WriteRegistryValue("Cale", oldProgramFolder + "  ");
    }
    TestServices env;
};

TEST(NewYearOffer, RunsOnDaAndEndsTheProgram) {
    NewYearFolders old;
    old.addRole("ALFA");
    NewInstallation fresh(old.env.folders().program);
    fresh.env.messages().answerNext("DA");
    EXPECT_TRUE(OfferNewYearImport(fresh.env.services(), [](NewYearChoices&) { return true; }));
    ASSERT_EQ(fresh.env.messages().shown().size(), 2u);
    EXPECT_EQ(fresh.env.messages().shown()[0].text, QStringLiteral("Doriti importarea datelor din anul 2014?"));
    EXPECT_EQ(fresh.env.messages().shown()[1].text, QStringLiteral("Importul s-a incheiat cu succes!\rPorniti programul din nou!"));
}

TEST(NewYearOffer, FailureSaysDataUnchangedAndLoginGoesOn) {
    NewYearFolders old;
    old.addRole("ALFA");
    NewInstallation fresh(old.env.folders().program);
    fresh.env.services().database().exec(
        QStringLiteral("INSERT INTO \"%1/Gospodar.dbf\" (IDGOS, NUMEP) VALUES (1, 'X')").arg(fresh.env.folders().data));
    fresh.env.messages().answerNext("DA");
    EXPECT_FALSE(OfferNewYearImport(fresh.env.services(), [](NewYearChoices&) { return true; }));
    EXPECT_TRUE(fresh.env.messages().shown().back().text.endsWith("\rDatele au ramas neschimbate."));
}

} // namespace
