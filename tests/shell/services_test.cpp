// The vocabulary of the problem window and the services context itself.

#include "db/error.h"
#include "shell/services.h"
#include "support/scripted_services.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace vartesa;
using vartesa::test::ScriptedClock;
using vartesa::test::ScriptedDesktop;
using vartesa::test::ScriptedMessages;
using vartesa::test::ScriptedProgress;

TEST(MessageVocabulary, CaptionsFollowTheKindCodesCallersPass) {
    EXPECT_EQ(messageCaption(MessageKind::Warning), "Atentie !");
    EXPECT_EQ(messageCaption(MessageKind::Error), "Eroare");
    EXPECT_EQ(messageCaption(MessageKind::Information), "Informatie");
    EXPECT_EQ(messageCaption(MessageKind::Confirmation), "Confirmare");
    // Codes outside the four known ones have always read as an error.
    EXPECT_EQ(messageCaption(static_cast<MessageKind>(7)), "Eroare");
    EXPECT_EQ(defaultMessageTitle(), "PROBLEMA");
}

TEST(MessageVocabulary, ButtonsGiveTheirHistoricResultCodes) {
    struct Row {
        MessageButton button;
        const char* caption;
        int code;
    };
    const Row rows[] = {{MessageButton::Da, "DA", 6},
                        {MessageButton::Nu, "NU", 7},
                        {MessageButton::Ok, "OK", 1},
                        {MessageButton::Renunt, "RENUNT", 2}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.caption);
        EXPECT_EQ(buttonCaption(r.button), r.caption);
        EXPECT_EQ(static_cast<int>(resultOf(r.button)), r.code);
        EXPECT_EQ(buttonNamed(QString::fromLatin1(r.caption).toLower()), r.button);
    }
    EXPECT_THROW(buttonNamed("POATE"), Error);
}

TEST(MessageVocabulary, ButtonsAreShownInFixedOrderWhateverTheBitOrder) {
    const auto order = orderedButtons(MessageButton::Renunt | MessageButton::Da |
                                      MessageButton::Ok);
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0], MessageButton::Da);
    EXPECT_EQ(order[1], MessageButton::Ok);
    EXPECT_EQ(order[2], MessageButton::Renunt);
    // The bit values are the ones stored callers combine: 1 | 2 is the DA/NU question.
    EXPECT_EQ(orderedButtons(MessageButtons::fromInt(3)).size(), 2u);
    EXPECT_TRUE(orderedButtons({}).empty());
}

TEST(MessageShapes, EachHelperShowsTheWindowTheSystemUses) {
    ScriptedMessages messages;
    messages.showError("Operare", "Nu aveti nimic operat!");
    messages.showInformation("Informatie", "Salvare incheiata cu succes !");
    messages.answerNext("DA");
    EXPECT_TRUE(messages.askYesNo("Stergere creanta", "Sunteti sigur?", MessageKind::Warning));
    messages.answerNext("NU");
    EXPECT_FALSE(messages.askYesNo("Salvare Automata", "Doriti o copie?"));
    messages.report(Error("Tabela Datorii.dbf lipseste", "Datorii.dbf"));

    const auto& shown = messages.shown();
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[0].kind, MessageKind::Error);
    EXPECT_EQ(shown[0].buttons, MessageButtons(MessageButton::Ok));
    EXPECT_EQ(shown[1].kind, MessageKind::Information);
    EXPECT_EQ(shown[1].buttons, MessageButtons(MessageButton::Ok));
    EXPECT_EQ(shown[2].kind, MessageKind::Warning);
    EXPECT_EQ(shown[2].buttons, MessageButton::Da | MessageButton::Nu);
    EXPECT_EQ(shown[3].kind, MessageKind::Confirmation);
    // The general error report: the error's own text, default heading, OK.
    EXPECT_EQ(shown[4].title, "");
    EXPECT_EQ(shown[4].text, "Tabela Datorii.dbf lipseste");
    EXPECT_EQ(shown[4].kind, MessageKind::Error);
}

TEST(MessageShapes, ClosingAQuestionIsNotAYes) {
    ScriptedMessages messages;
    messages.answerNext(MessageResult::Renunt);
    EXPECT_FALSE(messages.askYesNo("Import date 2014", "Doriti importarea datelor?"));
}

TEST(ProgressGuard, ClosesTheWindowWhenTheWorkFails) {
    ScriptedProgress progress;
    try {
        ProgressShown shown(progress, "Sterg gospodaria...");
        EXPECT_TRUE(progress.isShown());
        progress.Step();
        throw Error("Tabela blocata");
    } catch (const Error&) {
    }
    EXPECT_FALSE(progress.isShown());
    EXPECT_EQ(progress.timesShown(), 1);
    EXPECT_EQ(progress.timesHidden(), 1);
}

TEST(ServicesContext, RefusesAMissingInterface) {
    Folders f{"/p", "/p/Data", "/p/Data", "/m"};
    EXPECT_THROW(Services(f, nullptr, std::make_unique<ScriptedProgress>(),
                          std::make_unique<ScriptedDesktop>(), std::make_unique<ScriptedClock>()),
                 std::invalid_argument);
    EXPECT_THROW(Services(f, std::make_unique<ScriptedMessages>(),
                          std::make_unique<ScriptedProgress>(),
                          std::make_unique<ScriptedDesktop>(), nullptr),
                 std::invalid_argument);
}

TEST(ServicesContext, LocalModeIsDataInTheDefaultDataFolder) {
    Folders f{"/p", "/p/Data", "/p/Data", "/m"};
    EXPECT_TRUE(f.isLocalMode());
    f.data = "/server/Data";
    EXPECT_FALSE(f.isLocalMode());
}
