// The scripted services every other test relies on: if they lie, those tests pass for
// nothing, so they are checked like any other code.

#include "support/scripted_services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace vartesa;
using namespace vartesa::test;

namespace {
const MessageButtons kYesNo = MessageButton::Da | MessageButton::Nu;
const MessageButtons kYesNoCancel = kYesNo | MessageButton::Renunt;

// Scripts that are wrong on purpose; run inside EXPECT_NONFATAL_FAILURE.
void answerThatIsNotOffered() {
    ScriptedMessages m;
    m.answerNext("DA");
    m.ShowErrors("Eroare", "doar OK", MessageKind::Error, MessageButton::Ok);
}

void answerNobodyAsksFor() {
    ScriptedMessages m;
    m.answerNext("NU");
}
} // namespace

TEST(ScriptedMessages, QueuedAnswersAreConsumedInOrder) {
    ScriptedMessages m;
    m.answerNext("NU");
    m.answerNext(MessageResult::Da);
    m.answerNext("renunt");
    EXPECT_EQ(m.ShowErrors("Intai", "a", MessageKind::Confirmation, kYesNo), MessageResult::Nu);
    EXPECT_EQ(m.ShowErrors("Apoi", "b", MessageKind::Warning, kYesNoCancel), MessageResult::Da);
    EXPECT_EQ(m.pendingAnswers(), 1u);
    EXPECT_EQ(m.ShowErrors("La urma", "c", MessageKind::Confirmation, kYesNoCancel),
              MessageResult::Renunt);
    EXPECT_EQ(m.pendingAnswers(), 0u);
    EXPECT_EQ(m.titles(), QStringList({"Intai", "Apoi", "La urma"}));
}

TEST(ScriptedMessages, RecordsEveryMessageAsShown) {
    ScriptedMessages m;
    m.answerNext("DA");
    m.ShowErrors("Stergere utilizator", "Chiar il stergem pe ION?", MessageKind::Warning, kYesNo);
    m.ShowErrors("Conectare server", "Baza de date\rNU este accesibila!", MessageKind::Error,
                 MessageButton::Ok);
    ASSERT_EQ(m.shown().size(), 2u);
    const ShownMessage& first = m.shown()[0];
    EXPECT_EQ(first.title, "Stergere utilizator");
    EXPECT_EQ(first.text, "Chiar il stergem pe ION?");
    EXPECT_EQ(first.kind, MessageKind::Warning);
    EXPECT_EQ(first.buttons, kYesNo);
    EXPECT_EQ(first.answer, MessageResult::Da);
    EXPECT_FALSE(first.defaulted);
    const ShownMessage& second = m.shown()[1];
    EXPECT_EQ(second.text, "Baza de date\rNU este accesibila!");
    EXPECT_EQ(second.kind, MessageKind::Error);
    EXPECT_TRUE(second.defaulted);

    m.clearShown();
    EXPECT_TRUE(m.shown().empty());
}

TEST(ScriptedMessages, WithoutQueuedAnswerPressesOkOrClosesTheWindow) {
    ScriptedMessages m;
    EXPECT_EQ(m.ShowErrors("Info", "x", MessageKind::Information, MessageButton::Ok),
              MessageResult::Ok);
    EXPECT_EQ(m.ShowErrors("Intrebare", "y", MessageKind::Confirmation, kYesNo),
              MessageResult::Renunt);
    ASSERT_EQ(m.shown().size(), 2u);
    EXPECT_TRUE(m.shown()[0].defaulted);
    EXPECT_TRUE(m.shown()[1].defaulted);
    EXPECT_EQ(m.shown()[1].answer, MessageResult::Renunt);
}

TEST(ScriptedMessages, NoButtonsShowsNothingAndKeepsTheQueue) {
    ScriptedMessages m;
    m.answerNext("DA");
    EXPECT_EQ(m.ShowErrors("Nimic", "z", MessageKind::Error, {}), MessageResult::Renunt);
    EXPECT_TRUE(m.shown().empty());
    EXPECT_EQ(m.pendingAnswers(), 1u);
    EXPECT_EQ(m.ShowErrors("Acum", "z", MessageKind::Confirmation, kYesNo), MessageResult::Da);
}

TEST(ScriptedMessages, FailsTheTestOnAnAnswerTheWindowDoesNotOffer) {
    EXPECT_NONFATAL_FAILURE(answerThatIsNotOffered(), "is not a button of");
}

TEST(ScriptedMessages, FailsTheTestWhenAnExpectedQuestionIsNeverAsked) {
    EXPECT_NONFATAL_FAILURE(answerNobodyAsksFor(), "never used; first: NU");
}

TEST(ScriptedMessages, RecordsHintsWithTheFieldTheyPointAt) {
    ScriptedMessages m;
    QLineEdit field;
    field.setObjectName("NrEd");
    m.ShowProblemHint("Numar incorect!", &field);
    m.ShowProblemHint("Nu aveti ce sterge!", nullptr);
    ASSERT_EQ(m.hints().size(), 2u);
    EXPECT_EQ(m.hints()[0].text, "Numar incorect!");
    EXPECT_EQ(m.hints()[0].anchor, "NrEd");
    EXPECT_EQ(m.hints()[1].anchor, "");
    EXPECT_TRUE(m.shown().empty()); // a balloon is not a problem window
}

TEST(ScriptedProgress, FollowsTheBarAsTheWindowWould) {
    ScriptedProgress p;
    EXPECT_FALSE(p.isShown());
    p.Arata("Transfer la datorii...");
    p.SetMaximum(8);
    p.Step();
    p.Step(3);
    EXPECT_TRUE(p.isShown());
    EXPECT_EQ(p.value(), 4);
    p.Step(10);
    EXPECT_EQ(p.value(), 8); // the bar stops at its maximum
    EXPECT_EQ(p.totalSteps(), 14);
    p.Describe("Verific dubluri la chitanta...");
    EXPECT_EQ(p.value(), 0);
    p.Distruge();
    EXPECT_FALSE(p.isShown());
    EXPECT_EQ(p.maximum(), 100); // the next caller starts from the usual bar
    EXPECT_EQ(p.descriptions(),
              QStringList({"Transfer la datorii...", "Verific dubluri la chitanta..."}));
    EXPECT_EQ(p.timesShown(), 1);
    EXPECT_EQ(p.timesHidden(), 1);
}

TEST(ScriptedDesktop, RecordsEveryFileAndOpensOnlyExistingOnes) {
    TestServices env;
    const QString doc = env.folders().program + "/Rap0.xls";
    QFile f(doc);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
    f.close();
    const QString missing = env.folders().program + "/Rap1.xls";

    EXPECT_TRUE(env.desktop().openFile(doc));
    EXPECT_FALSE(env.desktop().openFile(missing));
    EXPECT_EQ(env.desktop().handed(), QStringList({doc, missing}));
    EXPECT_EQ(env.desktop().opened(), QStringList({doc}));
}

TEST(ScriptedClock, ShowsTheDayTheTestSets) {
    ScriptedClock c;
    EXPECT_EQ(c.today(), QDate(2015, 1, 15));
    c.setNow(QDateTime(QDate(2015, 3, 31), QTime(16, 45)));
    c.setToday(QDate(2015, 9, 30));
    EXPECT_EQ(c.today(), QDate(2015, 9, 30));
    EXPECT_EQ(c.now(), QDateTime(QDate(2015, 9, 30), QTime(16, 45)));
}

TEST(TestServices, BuildsAContextOverItsOwnTemporaryFolder) {
    QString root;
    {
        TestServices env;
        root = env.root();
        const Folders& f = env.folders();
        EXPECT_EQ(f.defaultData, f.program + "/Data");
        EXPECT_TRUE(f.isLocalMode());
        for (const QString& folder : {f.program, f.defaultData, f.machine}) {
            EXPECT_TRUE(folder.startsWith(root)) << folder.toStdString();
            EXPECT_TRUE(QFileInfo(folder).isDir()) << folder.toStdString();
        }
        // The context hands out the very scripted objects the test looks at.
        env.messages().answerNext("DA");
        EXPECT_TRUE(env.services().messages().askYesNo("T", "?"));
        env.clock().setToday(QDate(2015, 12, 31));
        EXPECT_EQ(env.services().clock().today(), QDate(2015, 12, 31));
        env.services().progress().Arata("Lucrez");
        EXPECT_TRUE(env.progress().isShown());
        env.services().progress().Distruge();

        TestServices other;
        EXPECT_NE(other.root(), root); // each test gets a fresh folder
    }
    EXPECT_FALSE(QDir(root).exists()); // and it is gone afterwards
}
