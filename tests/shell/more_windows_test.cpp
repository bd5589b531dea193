// The balloon, the progress window's owner, the start-up window's bar and timer, and the
// action history window.

#include "db/database.h"
#include "shell/action_log.h"
#include "shell/services.h"
#include "shell/ui/action_history_window.h"
#include "shell/ui/combo_helpers.h"
#include "shell/ui/message_window.h"
#include "shell/ui/progress_window.h"
#include "shell/ui/startup_window.h"
#include "support/scripted_services.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPointer>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>
#include <QLineEdit>
#include <QProgressDialog>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using namespace vartesa;

TEST(ProblemBalloon, PointsAtTheFieldAndDoesNotBlock) {
    QWidget form;
    form.setGeometry(200, 150, 300, 200);
    auto* field = new QLineEdit(&form);
    field->move(40, 60);
    form.show();
    MessageWindow messages;
    messages.ShowProblemHint(QStringLiteral("Rolul exista deja!"), field); // returns at once
    ProblemHint* hint = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* h = dynamic_cast<ProblemHint*>(w); h && h->isVisible()) hint = h;
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->findChild<QLabel*>(QStringLiteral("HintTitle"))->text(), QStringLiteral("Problema !"));
    EXPECT_EQ(hint->findChild<QLabel*>(QStringLiteral("HintText"))->text(), QStringLiteral("Rolul exista deja!"));
    EXPECT_EQ(hint->pos(), field->mapToGlobal(QPoint(10, 10)));
    EXPECT_EQ(hint->width(), 300);
    hint->close();
}

namespace {
QPointer<ProblemHint> shownHint() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* h = dynamic_cast<ProblemHint*>(w); h && h->isVisible()) return h;
    return nullptr;
}
} // namespace

TEST(ProblemBalloon, AFieldScrolledOutOfSightIsBroughtIntoViewFirst) {
    QScrollArea area;
    auto* page = new QWidget;
    page->setFixedSize(300, 2000);
    auto* field = new QLineEdit(page);
    field->move(10, 1800);
    area.setWidget(page);
    area.resize(320, 200);
    area.show();
    MessageWindow messages;
    messages.ShowProblemHint(QStringLiteral("Valoare incorecta!"), field);
    QPointer<ProblemHint> hint = shownHint();
    ASSERT_FALSE(hint.isNull());
    const QRect seen = area.viewport()->rect();
    EXPECT_TRUE(seen.contains(field->mapTo(area.viewport(), QPoint(0, 0)))) << "the field stays scrolled away";
    EXPECT_EQ(hint->pos(), field->mapToGlobal(QPoint(10, 10)));
    hint->close();
}

TEST(ProblemBalloon, GoesWithItsWindowOrWhenAModalWindowOpens) {
    MessageWindow messages;
    QWidget form;
    auto* field = new QLineEdit(&form);
    form.show();
    messages.ShowProblemHint(QStringLiteral("Lipseste numele!"), field);
    QPointer<ProblemHint> hint = shownHint();
    ASSERT_FALSE(hint.isNull());
    form.hide();
    QCoreApplication::processEvents();
    EXPECT_TRUE(hint.isNull() || !hint->isVisible()) << "balloon outlived its window";

    form.show();
    messages.ShowProblemHint(QStringLiteral("Lipseste numele!"), field);
    hint = shownHint();
    ASSERT_FALSE(hint.isNull());
    QDialog next(&form);
    next.setModal(true);
    next.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(hint.isNull() || !hint->isVisible()) << "balloon stands over the next dialog";
}

TEST(ProgressOwner, IsDisabledWhileTheWorkRunsAndGetsTheFocusBack) {
    QWidget owner;
    owner.show();
    QApplication::setActiveWindow(&owner);
    ASSERT_EQ(QApplication::activeWindow(), &owner);
    ProgressWindow progress;
    progress.Arata(QStringLiteral("Calcul"));
    EXPECT_FALSE(owner.isEnabled());
    EXPECT_TRUE(progress.dialog().isVisible());
    progress.Step(3);
    EXPECT_EQ(progress.dialog().value(), 3);
    progress.Distruge();
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_FALSE(progress.dialog().isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr); // hourglass gone
}

TEST(StartupWindowRun, AdvancesTheBarAndRunsTheWorkOnceAfterShowing) {
    StartupWindow window;
    int runs = 0;
    window.runWhenShown([&] {
        ++runs;
        window.advance(60);
        window.advance(60); // never past the end
    });
    window.show();
    EXPECT_EQ(runs, 0); // the timer gives the window a second to appear first
    QElapsedTimer waited;
    waited.start();
    while (runs == 0 && waited.elapsed() < 5000) QTest::qWait(50);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(window.progress(), 100);
    window.hide();
    window.show();
    QTest::qWait(1300);
    EXPECT_EQ(runs, 1);
}

TEST(ActionHistory, ShowsTheLogInTableOrderReadOnly) {
    test::TestServices env;
    env.services().user = QStringLiteral("ana");
    env.clock().setNow(QDateTime(QDate(2015, 3, 2), QTime(9, 30, 5)));
    env.services().actionLog().LogAction(QStringLiteral("12"), QStringLiteral("Pornire program."));
    env.clock().setNow(QDateTime(QDate(2015, 3, 1), QTime(8, 0, 0)));
    env.services().actionLog().LogAction(QStringLiteral("X"), QStringLiteral("Operat Chitanta nr.5"));

    TIstoric window(env.services().database());
    window.load(env.services().actionLog().logPath(true));
    const QAbstractItemModel* m = window.grid()->model();
    ASSERT_EQ(m->rowCount(), 2);
    QStringList headers;
    for (int c = 0; c < m->columnCount(); ++c) headers << m->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headers, (QStringList{"Data", "Ora", "Nume operator", "ROL", "Actiune"}));
    // Written order, not date order.
    EXPECT_EQ(m->index(0, 0).data().toString(), QStringLiteral("02.03.2015"));
    EXPECT_EQ(m->index(0, 1).data().toString(), QStringLiteral("09:30:05"));
    EXPECT_EQ(m->index(0, 2).data().toString(), QStringLiteral("ANA"));
    EXPECT_EQ(m->index(1, 4).data().toString(), QStringLiteral("Operat Chitanta nr.5"));
    EXPECT_FALSE(m->flags(m->index(0, 4)).testFlag(Qt::ItemIsEditable));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Istoric actiuni"));

    window.load(env.services().actionLog().logPath(false)); // this machine's copy: the same rows
    EXPECT_EQ(window.grid()->model()->rowCount(), 2);
    window.load(env.root() + QStringLiteral("/nicaieri/Log.dbf"));
    EXPECT_EQ(window.grid()->model()->rowCount(), 0);
}

TEST(ComboHelpers, FillDistinctAfterExistingItemsAndSelect) {
    test::TestServices env;
    db::Database& db = env.services().database();
    const QString roles = env.folders().data + QStringLiteral("/Gospodar.dbf");
    db.exec(QStringLiteral("CREATE TABLE \"%1\" (IDGOS DECIMAL(10,0), SATUL CHAR(32), TIP CHAR(8))").arg(roles));
    int id = 0;
    for (const char* village : {"Vale", "Deal", "   ", "Vale", "Şes"})
        db.exec(QStringLiteral("INSERT INTO \"%1\" (IDGOS, SATUL, TIP) VALUES (?, ?, ?)").arg(roles),
                {++id, QString::fromUtf8(village), id == 2 ? "JURIDICA" : "FIZICA"});
    QComboBox combo;
    combo.addItem(QStringLiteral("Toate"));
    FillComboDistinct(&combo, db, roles, QString(), QStringLiteral("SATUL"));
    QStringList items;
    for (int i = 0; i < combo.count(); ++i) items << combo.itemText(i);
    EXPECT_EQ(items, (QStringList{"Toate", "Deal", "Vale", QString::fromUtf8("Şes")}));
    EXPECT_EQ(combo.currentIndex(), 0);

    QComboBox companies;
    FillComboDistinct(&companies, db, roles, QStringLiteral("TIP = ?"), QStringLiteral("SATUL"), {"JURIDICA"});
    EXPECT_EQ(companies.count(), 1);
    EXPECT_EQ(companies.currentText(), QStringLiteral("Deal"));

    SelectComboItem(&combo, QStringLiteral("Vale"));
    EXPECT_EQ(combo.currentText(), QStringLiteral("Vale"));
    SelectComboItem(&combo, QStringLiteral("Munte"));
    EXPECT_EQ(combo.currentIndex(), -1);
}
