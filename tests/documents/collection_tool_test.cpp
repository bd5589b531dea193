// vartesa-tool list with the lists to collect: the dialog's checks against --today, and the
// detailed list read back by xls-cat with its totals.

#include "notices_test_util.h"

#include "support/tool_run.h"

using namespace vartesa;
using namespace vartesa::test;

namespace {

TEST(CollectionTool, ADateBeforeTodayIsRefused) {
    NoticeFolder f;
    f.owing("1", 100);
    QString printed;
    EXPECT_EQ(runTool({"list", f.env.folders().data, "to-collect", "--date", "01.03.2015", "--today", "02.03.2015",
                       "--out", f.env.folders().program + "/d.xls"},
                      &printed),
              1);
    EXPECT_TRUE(printed.contains("Data aleasa nu poate fi din trecut!")) << printed.toStdString();
}

TEST(CollectionTool, XlsCatReadsTheDetailedListAndItsTotals) {
    NoticeFolder f;
    for (int i = 1; i <= 3; ++i) f.owing(QString::number(i), 100 * i);
    const QString file = f.env.folders().program + "/d.xls";
    QString printed;
    ASSERT_EQ(runTool({"list", f.env.folders().data, "to-collect", "--date", "02.03.2015", "--today", "02.03.2015",
                       "--out", file},
                      &printed),
              0)
        << printed.toStdString();
    EXPECT_TRUE(printed.startsWith("ROWS,3")) << printed.toStdString();
    ASSERT_EQ(runTool({"xls-cat", file}, &printed), 0) << printed.toStdString();
    const QStringList lines = printed.split('\n', Qt::SkipEmptyParts);
    // The building tax's current amounts and the row totals add up to the totals row.
    std::int64_t current = 0, total = 0;
    for (int row = 8; row < 11; ++row) {
        current += lines.value(row).split(',').value(4).toLongLong();
        total += lines.value(row).split(',').last().toLongLong();
    }
    const QStringList totals = lines.value(11).split(',');
    EXPECT_EQ(totals.value(4).toLongLong(), current);
    EXPECT_EQ(totals.last().toLongLong(), total);
    EXPECT_EQ(total, 600);
}

} // namespace
