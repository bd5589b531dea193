// The summons windows driven as a clerk would: the central list's empty-list messages, its
// reordering on a title keeping the summons chosen, the checks of the cancellation and
// confirmation dialogs, and the export of the visible columns.

#include "summons_test_util.h"

#include "documents/ui/grid_export_dialog.h"
#include "documents/ui/summons_windows.h"
#include "support/gui_application.h"
#include "workbook/workbook.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QTableView>

#include <gtest/gtest.h>

using namespace vartesa;
using namespace vartesa::test;

namespace {

const QDate kOctober{2015, 10, 10};

TEST(SummonsWindows, AnEmptyListSaysThereIsNothingToCancelOrConfirm) {
    ensureGuiApplication();
    SummonsFolder f;
    TSomTitList list(f.env.services());
    list.reload("NUMEP", 0);
    list.AnuleazaClick();
    list.ConfirmareClick();
    EXPECT_EQ(f.env.messages().titles(), QStringList({"Anulare Somatie", "Confirmare Somatie"}));
    EXPECT_EQ(f.env.messages().shown().at(1).text, "Alegeti mai intai o somatie!");
}

TEST(SummonsWindows, ATitleReordersTheListKeepingTheSummonsChosen) {
    ensureGuiApplication();
    SummonsFolder f;
    f.issue(f.owing("BALAN VASILE"), kOctober);
    f.issue(f.owing("ANTON ION"), {2015, 10, 12});
    TSomTitList list(f.env.services());
    list.reload("NUMEP", 1);
    EXPECT_EQ(list.selected()->name, "BALAN VASILE");
    EXPECT_EQ(list.SMDBGrid1->model()->index(0, 0).data().toString(), "ANTON ION");
    list.TitleClick(4); // "Nr."
    EXPECT_EQ(list.SMDBGrid1->model()->index(0, 0).data().toString(), "BALAN VASILE");
    EXPECT_EQ(list.selected()->summons.id, 1);
}

TEST(SummonsWindows, TheDialogsCheckTheReasonAndTheDay) {
    ensureGuiApplication();
    SummonsFolder f;
    f.issue(f.owing(), kOctober);
    const SummonsListRow row = ReadSummonsList(f.db(), f.env.folders().data).at(0);
    TConfirmareF confirm(f.env.services());
    confirm.prepare(row);
    EXPECT_EQ(confirm.DataConf->date(), QDate(2015, 10, 12)) << "preset to the issue date + 2 days";
    confirm.DataConf->setDate({2015, 10, 11});
    confirm.MemoreazaClick();
    TSomAnul cancel(f.env.services());
    cancel.prepare(row, {"achitat"});
    cancel.Motiv->setCurrentText(" a ");
    cancel.MemoreazaClick();
    ASSERT_EQ(f.env.messages().hints().size(), 2u);
    EXPECT_EQ(f.env.messages().hints()[0].text, "Data Confirmarii ese incorecta!");
    EXPECT_EQ(f.env.messages().hints()[1].text, "Lipseste motivul!");
}

TEST(SummonsWindows, TheExportTakesTheVisibleColumns) {
    ensureGuiApplication();
    SummonsFolder f;
    f.issue(f.owing("SC \"ALFA\" SRL"), kOctober);
    TSomTitList list(f.env.services());
    list.reload("NUMEP", 0);
    for (int c = 1; c < 13; ++c) list.SMDBGrid1->setColumnHidden(c, c != 4 && c != 8);
    const GridCells cells = VisibleGridCells(*list.SMDBGrid1);
    const QString csv = f.env.root() + "/lista.csv", xls = f.env.root() + "/lista.xls";
    ExportGridCells(cells, csv);
    ExportGridCells(cells, xls);
    QFile text(csv);
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_EQ(text.readAll(), "Nume si prenume,Nr.,Suma\r\n\"SC \"\"ALFA\"\" SRL\",1,129\r\n");
    const workbook::Workbook book = workbook::Workbook::open(xls);
    EXPECT_EQ(book.sheet(0).number(1, 2), 129.0);
}

} // namespace
