// The real windows behind Messages and Progress, the start-up window and bringing a window
// forward, driven as the clerk would (offscreen).

#include "shell/ui/desktop_launcher.h"
#include "support/scripted_services.h"
#include "shell/ui/message_window.h"
#include "shell/ui/progress_window.h"
#include "shell/ui/single_instance.h"
#include "shell/ui/startup_window.h"
#include "shell/ui/window_looks.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <QDateEdit>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QDialog>
#include <QMouseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

using namespace vartesa;

namespace {

// What the clerk saw in the problem window before acting on it.
struct Seen {
    QString caption;
    QString heading;
    QString text;
    QStringList buttons; // captions, left to right
    QList<int> lefts;    // left edge of each button on the button band
    QList<bool> bold;    // per message line
};

// Runs `act` on the problem window once it is up, after noting what it shows. The timer
// fires inside ShowErrors's modal loop; it dies with this object, so a call that shows no
// window leaves `seen` empty instead of acting on some later test's window.
struct Observed {
    std::shared_ptr<Seen> seen = std::make_shared<Seen>();
    std::unique_ptr<QObject> context = std::make_unique<QObject>();
    void whenShown(const std::function<void(QDialog*)>& act) {
        auto keep = seen;
        QTimer::singleShot(0, context.get(), [keep, act] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                ADD_FAILURE() << "no problem window is shown";
                return;
            }
            keep->caption = dialog->windowTitle();
            if (auto* heading = dialog->findChild<QLabel*>("Titlu"))
                keep->heading = heading->text();
            QStringList lines;
            for (int i = 0; auto* line = dialog->findChild<QLabel*>(QStringLiteral("Linie%1").arg(i)); ++i) {
                lines << line->text();
                keep->bold << line->font().bold();
            }
            keep->text = lines.join('\n');
            QList<QPushButton*> buttons = dialog->findChildren<QPushButton*>();
            dialog->layout()->activate(); // positions known before the window is painted
            std::sort(buttons.begin(), buttons.end(),
                      [](QPushButton* a, QPushButton* b) { return a->x() < b->x(); });
            for (QPushButton* b : buttons) {
                keep->buttons << b->text();
                keep->lefts << b->x();
            }
            act(dialog);
        });
    }
};

std::function<void(QDialog*)> press(const QString& caption) {
    return [caption](QDialog* d) {
        for (QPushButton* b : d->findChildren<QPushButton*>())
            if (b->text() == caption) {
                b->click();
                return;
            }
        ADD_FAILURE() << "no button " << caption.toStdString();
        d->reject();
    };
}

} // namespace

TEST(ProblemWindow, EachButtonGivesItsResult) {
    struct Row {
        MessageButtons buttons;
        const char* pressed;
        MessageResult expected;
    };
    const Row rows[] = {
        {MessageButton::Da | MessageButton::Nu, "DA", MessageResult::Da},
        {MessageButton::Da | MessageButton::Nu, "NU", MessageResult::Nu},
        {MessageButton::Ok, "OK", MessageResult::Ok},
        {MessageButton::Da | MessageButton::Nu | MessageButton::Renunt, "RENUNT",
         MessageResult::Renunt},
    };
    MessageWindow messages;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.pressed);
        Observed o;
        o.whenShown(press(r.pressed));
        EXPECT_EQ(messages.ShowErrors("Intrebare", "Continuam?", MessageKind::Confirmation,
                                      r.buttons),
                  r.expected);
    }
}

TEST(ProblemWindow, ShowsCaptionHeadingLinesAndButtonsInOrder) {
    MessageWindow messages;
    Observed o;
    o.whenShown(press("OK"));
    messages.ShowErrors("", "Baza de date\rNU este accesibila!\r\nVerificati conexiunea",
                        MessageKind::Error,
                        MessageButton::Renunt | MessageButton::Ok | MessageButton::Da);
    EXPECT_EQ(o.seen->caption, "Eroare");
    EXPECT_EQ(o.seen->heading, "PROBLEMA");
    EXPECT_EQ(o.seen->text, "Baza de date\nNU este accesibila!\nVerificati conexiunea");
    EXPECT_EQ(o.seen->buttons, QStringList({"DA", "OK", "RENUNT"}));

    Observed warning;
    warning.whenShown(press("NU"));
    messages.ShowErrors("Atentionare", "Inlocuiti?", MessageKind::Warning,
                        MessageButton::Da | MessageButton::Nu);
    EXPECT_EQ(warning.seen->caption, "Atentie !");
    EXPECT_EQ(warning.seen->heading, "Atentionare");
}

TEST(ProblemWindow, ButtonsSpreadEvenlyOverTheBand) {
    // The gap is the whole part of (342 - 73 n) / (n + 1); button k starts at k gap + (k - 1) 73.
    struct Row {
        MessageButtons buttons;
        const char* press;
        QList<int> lefts;
    };
    const Row rows[] = {
        {MessageButton::Da | MessageButton::Nu, "NU", {65, 203}},
        {MessageButton::Ok, "OK", {134}},
        {MessageButton::Da | MessageButton::Nu | MessageButton::Renunt, "RENUNT", {30, 133, 236}},
        {MessageButton::Da | MessageButton::Nu | MessageButton::Ok | MessageButton::Renunt, "OK", {10, 93, 176, 259}},
    };
    MessageWindow messages;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.press);
        Observed o;
        o.whenShown(press(r.press));
        messages.ShowErrors("Intrebare", "Continuam?", MessageKind::Confirmation, r.buttons);
        EXPECT_EQ(o.seen->lefts, r.lefts);
    }
}

TEST(ProblemWindow, CharactersOneAndTwoSwitchBoldLines) {
    MessageWindow messages;
    Observed o;
    o.whenShown(press("OK"));
    const QChar on(1), off(2);
    const QString text = "Rolul 12\r" + QString(on) + "Suma datorata\r123 lei\r" + off + "Verificati\r" + on +
                         "Atentie" + off;
    messages.ShowErrors("", text, MessageKind::Information, MessageButton::Ok);
    EXPECT_EQ(o.seen->text, "Rolul 12\nSuma datorata\n123 lei\nVerificati\nAtentie");
    EXPECT_EQ(o.seen->bold, (QList<bool>{false, true, true, false, true}));
    EXPECT_EQ(o.seen->caption, "Informatie");
}

TEST(ProblemWindow, EscapeReadsAsRenuntEvenWithoutThatButton) {
    MessageWindow messages;
    Observed o;
    o.whenShown([](QDialog* d) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(d, &escape);
    });
    EXPECT_EQ(messages.ShowErrors("Salvare", "Facem copie?", MessageKind::Confirmation,
                                  MessageButton::Da | MessageButton::Nu),
              MessageResult::Renunt);
    EXPECT_EQ(o.seen->buttons, QStringList({"DA", "NU"})); // the window was really up
}

TEST(ProblemWindow, EnterAnswersWithTheFocusedButton) {
    // Tabbing to NU and pressing Enter must never answer DA: on a deletion or a restore
    // that would destroy what the clerk meant to keep.
    const MessageButtons all = MessageButton::Da | MessageButton::Nu | MessageButton::Renunt;
    const struct {
        const char* focused;
        MessageResult expected;
    } rows[] = {{"NU", MessageResult::Nu}, {"RENUNT", MessageResult::Renunt}, {"DA", MessageResult::Da}};
    MessageWindow messages;
    for (const auto& r : rows) {
        SCOPED_TRACE(r.focused);
        Observed o;
        o.whenShown([&r](QDialog* d) {
            for (QPushButton* b : d->findChildren<QPushButton*>()) {
                if (b->text() != QLatin1String(r.focused)) continue;
                b->setFocus();
                QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
                QApplication::sendEvent(b, &enter);
            }
            if (d->isVisible()) d->reject(); // nothing answered: fail below, do not hang
        });
        EXPECT_EQ(messages.ShowErrors("Stergere localitate", "Sunteti sigur?", MessageKind::Confirmation, all),
                  r.expected);
    }
}

// A question whose DA deletes or replaces data opens with NU under Enter.
TEST(ProblemWindow, EnterOnAQuestionBeforeALossAnswersNu) {
    const auto enter = [](QDialog* d) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : d, &key);
        if (d->isVisible()) d->reject();
    };
    MessageWindow messages;
    Observed o;
    o.whenShown(enter);
    EXPECT_FALSE(messages.askYesNoDefaultNu("Restaurare date", "Continuam?"));
    EXPECT_EQ(o.seen->buttons, QStringList({"DA", "NU"})); // the window was really up
    Observed plain;
    plain.whenShown(enter);
    EXPECT_TRUE(messages.askYesNo("Salvare Automata", "Facem copie?")) << "other questions keep DA first";
}

TEST(ProblemWindow, NoButtonsShowsNothing) {
    MessageWindow messages;
    const int before = QApplication::topLevelWidgets().size();
    EXPECT_EQ(messages.ShowErrors("T", "x", MessageKind::Error, {}), MessageResult::Renunt);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), before);
}

TEST(ProgressWindowTest, ShowsStepsAndHidesOnlyWhenTold) {
    ProgressWindow progress;
    QProgressDialog& d = progress.dialog();
    EXPECT_FALSE(d.isVisible());
    progress.Arata("Salvez datele actuale...");
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.labelText(), "Salvez datele actuale...");
    EXPECT_EQ(d.windowTitle(), "Contor");
    progress.SetMaximum(3);
    progress.Step();
    progress.Step(2);
    EXPECT_EQ(d.value(), 3);
    progress.Step();
    EXPECT_EQ(d.value(), 3);     // held at the maximum
    EXPECT_TRUE(d.isVisible()); // reaching the end does not close the window
    progress.Describe("Verific...");
    EXPECT_EQ(d.value(), 0);
    EXPECT_EQ(d.labelText(), "Verific...");
    progress.Distruge();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.maximum(), 100);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr); // hourglass gone with the window
}

TEST(StartupWindowTest, ShowsTitleVersionAndPurpose) {
    StartupWindow w;
    EXPECT_EQ(w.windowTitle(), "Vartesa");
    auto* version = w.findChild<QLabel*>("VersionLabel");
    auto* purpose = w.findChild<QLabel*>("PurposeLabel");
    auto* status = w.findChild<QLabel*>("StatusLabel");
    ASSERT_TRUE(version && purpose && status);
    EXPECT_EQ(version->text(), "Vartesa ver.1.26");
    EXPECT_EQ(purpose->text(), "Evidenta taxelor si impozitelor locale.");
    EXPECT_EQ(status->text(), "Incarcare date");
    w.setStatus("Incarcare ...");
    EXPECT_EQ(status->text(), "Incarcare ...");
}

TEST(BringForward, RestoresAMinimisedWindowAndShowsAHiddenOne) {
    StartupWindow minimised;
    minimised.showMinimized();
    ASSERT_TRUE(minimised.isMinimized());
    bringWindowForward(&minimised);
    EXPECT_FALSE(minimised.isMinimized());
    EXPECT_TRUE(minimised.isVisible());

    StartupWindow hidden;
    ASSERT_FALSE(hidden.isVisible());
    bringWindowForward(&hidden);
    EXPECT_TRUE(hidden.isVisible());
    bringWindowForward(nullptr); // no window yet: nothing to do, no crash
}

TEST(WindowPlace, AWindowIsMovedWhollyOntoTheScreen) {
    const QRect screen(0, 0, 1366, 738);
    const struct {
        QRect frame, fitted;
    } cases[] = {
        {{100, 100, 400, 300}, {100, 100, 400, 300}},   // already on it
        {{100, 600, 400, 300}, {100, 438, 400, 300}},   // crept below the bottom
        {{1200, -20, 400, 300}, {966, 0, 400, 300}},    // off the right and the top
        {{-50, 10, 2000, 900}, {0, 0, 2000, 900}},      // larger than the screen: top left on it
    };
    for (const auto& c : cases) EXPECT_EQ(FitOnScreen(c.frame, screen), c.fitted) << c.frame.y();
}

TEST(WindowPlace, AWindowOpenedOffTheScreenOpensOnIt) {
    KeepWindowsOnScreen(QCoreApplication::instance());
    QDialog dialog;
    dialog.resize(300, 200);
    dialog.move(5000, 5000);
    dialog.show();
    const QRect available = dialog.screen()->availableGeometry();
    EXPECT_TRUE(available.contains(dialog.frameGeometry())) << dialog.frameGeometry().x() << "," << dialog.frameGeometry().y();
    dialog.hide();
}

TEST(FileOpening, AFileNoProgramOpensIsShownWhereItWasWritten) {
    QTemporaryDir folder;
    const QString path = folder.filePath("Rap0.xls");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    QString program; // the desktop's program for the file's kind
    QList<QUrl> opened;
    DesktopLauncher launcher({[&](const QString&) { return program; }, [&](const QUrl& url) {
                                  opened << url;
                                  return true;
                              }});
    test::ScriptedMessages messages;
    launcher.setMessages(&messages);

    program = "libreoffice-calc.desktop";
    EXPECT_TRUE(launcher.openFile(path));
    EXPECT_EQ(opened, QList<QUrl>({QUrl::fromLocalFile(path)}));
    EXPECT_TRUE(messages.shown().empty());

    program.clear();
    opened.clear();
    messages.answerNext("DA");
    EXPECT_TRUE(launcher.openFile(path));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown()[0].text.contains("Fisierul a fost salvat in " + path)) << messages.shown()[0].text.toStdString();
    EXPECT_EQ(opened, QList<QUrl>({QUrl::fromLocalFile(folder.path())})) << "its folder, after DA";
    EXPECT_FALSE(launcher.openFile(folder.filePath("lipsa.xls"))) << "a missing file is not opened";
}

// A date field typed into from the first key: wherever a click left the cursor, the part
// under it is taken whole, so a date typed after a click on the day reads as typed, and a
// year typed after a click on the year's end replaces the year instead of being refused.
TEST(DateField, TypingWorksFromTheFirstKeyAfterAClick) {
    TypeDatesFromTheFirstKey(QCoreApplication::instance());
    QWidget window;
    QDateEdit* field = dateField(&window, "data", QDate(2026, 5, 4));
    auto* other = new QLineEdit(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(field);
    layout->addWidget(other);
    window.show();
    QLineEdit* text = field->findChild<QLineEdit*>();
    // A click just after `before`, the text left of it.
    const auto clickAndType = [&](const QString& before, const QByteArray& digits) {
        other->setFocus();
        const QPoint at(text->contentsRect().left() + 2 + text->fontMetrics().horizontalAdvance(before), text->height() / 2);
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent click(type, at, field->mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(text, &click);
        }
        QCoreApplication::processEvents();
        for (const char c : digits) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_0 + (c - '0'), Qt::NoModifier, QString(QLatin1Char(c)));
            QApplication::sendEvent(field, &key);
        }
        return field->text();
    };
    EXPECT_EQ(clickAndType("0", "15032026"), "15.03.2026");
    EXPECT_EQ(clickAndType("15.03.2026", "2027"), "15.03.2027");
}
