// Declaration pages: repair of a lost row, the refusals of the save, values that do not fit
// their fields, pages sharing one table, the taxable values, and every field of every page
// written and read back.

#include "role_test_util.h"

#include "roles/declaration_pages.h"
#include "admin/admin_catalog.h"
#include "admin/admin_constants.h"
#include "shell/startup.h"

#include <gtest/gtest.h>

using namespace vartesa;

namespace {

using K = PageFieldKind;

class PagesTest : public ::testing::Test {
protected:
    PagesTest() : pages(f.db(), f.env.folders().data) { id = f.add("ALUNI", "1", "POPA ANA"); }

    // The page as opened, with `changes` typed over it, saved.
    void saveWith(int page, const PageValues& changes) {
        PageValues v = pages.load(id, page, f.defaults);
        for (auto it = changes.begin(); it != changes.end(); ++it) v[it.key()] = it.value();
        pages.save(id, page, v, f.defaults);
    }
    // The refusal a save meets, or none.
    std::optional<PageRefusal> refusalOf(int page, const PageValues& changes) {
        try {
            saveWith(page, changes);
        } catch (const PageRefusal& r) {
            return r;
        }
        return std::nullopt;
    }
    QString stored(int page, const QString& field) { return pages.load(id, page, f.defaults).value(field); }

    test::RoleFolder f;
    DeclarationPages pages;
    qint64 id = 0;
};

TEST_F(PagesTest, LostRowIsPutBackBlankWhenThePageOpens) {
    f.db().exec(QStringLiteral("DELETE FROM \"%1\" WHERE IDGOS = ?").arg(f.path("Pag2.dbf")), {id});
    const PageValues v = pages.load(id, 2, f.defaults);
    EXPECT_EQ(QStringList({v["NR1"], v["NR2"], v["NR3"], v["NR4"]}), QStringList({"1", "2", "3", "4"}));
    EXPECT_EQ(QStringList({v["C1S"], v["C1C"], v["C1Z"], v["C1R"], v["AM1"], v["DINV1"]}),
              QStringList({"0.00", "1", "B", "III", "NU", "01.01.2015"}));
    EXPECT_EQ(f.rowsOf("Pag2.dbf", id), 1);
}

TEST_F(PagesTest, SaveRefusalsWriteNothing) {
    struct Case {
        int page;
        PageValues changes;
        std::optional<PageRefusal::Reason> reason; // none: accepted
        QString field;                             // pointed at
    };
    using R = PageRefusal::Reason;
    const Case cases[] = {
        {5, {{"P30001", "2500"}}, R::Capacity, "P30001"},
        {5, {{"P30001", "0"}, {"P30002", "3200"}}, std::nullopt, {}},
        {5, {{"P30004", "2999"}, {"AUTO1", "2"}}, R::Capacity, "P30004"},
        {11, {{"SOLD2", "100"}, {"PEN2", "5"}}, R::CreditWithArrears, "SOLD2"},
        {11, {{"SOLD2", "100"}, {"LIN2", "0"}, {"PEN2", "0"}}, std::nullopt, {}},
        {11, {{"SOLD4", "1"}, {"LIN4", "7"}}, R::CreditWithArrears, "SOLD4"},
        {1, {{"L1A", "123456.12345"}}, R::BadValue, "L1A"},
        {1, {{"L2B", "1.23456"}}, R::BadValue, "L2B"},
        {2, {{"C1A", "20150"}}, R::BadValue, "C1A"},
        {2, {{"C1A", "2035"}}, R::BadValue, "C1A"}, // after the working year
        {2, {{"C1A", "2015"}}, std::nullopt, {}},
        {3, {{"CAA", "2016"}}, R::BadValue, "CAA"},
        {2, {{"V3", "123456789"}}, R::BadValue, "V3"},
        {2, {{"C2Z", "E"}}, R::BadValue, "C2Z"},
        {2, {{"C2C", "2"}}, R::BadValue, "C2C"},
        {2, {{"DINV1", "31.02.2015"}}, R::BadValue, "DINV1"},
        {3, {{"AMA1", "POATE"}}, R::BadValue, "AMA1"},
        {7, {{"LIN1", "-3"}}, R::BadValue, "LIN1"},
        {7, {{"LIN2", "1.5"}}, R::BadValue, "LIN2"},
        {7, {{"LIN2", "1,5"}}, R::BadValue, "LIN2"}, // a whole number, whichever the separator
        {2, {{"C1S", "1,5,0"}}, R::BadValue, "C1S"},
        {2, {{"C1S", "1.5,0"}}, R::BadValue, "C1S"},
        {2, {{"C1S", "1,5a"}}, R::BadValue, "C1S"},
        {2, {{"C1S", "1,555"}}, R::BadValue, "C1S"}, // two decimals
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        const PageValues before = pages.load(id, c.page, f.defaults);
        const std::optional<PageRefusal> r = refusalOf(c.page, c.changes);
        ASSERT_EQ(r.has_value(), c.reason.has_value()) << (r ? r->text().toStdString() : "saved");
        if (!r) continue;
        EXPECT_EQ(r->reason, *c.reason);
        EXPECT_EQ(r->field, c.field);
        if (r->reason == R::BadValue) {
            EXPECT_TRUE(r->text().contains("(" + c.field + ")")) << r->text().toStdString();
        }
        EXPECT_EQ(pages.load(id, c.page, f.defaults), before) << "written despite " << r->text().toStdString();
    }
}

TEST_F(PagesTest, TheDecimalCommaAndPointAreBothOneAndAHalf) {
    for (const char* typed : {"1,5", "1.5", " 1,50 "}) {
        saveWith(2, {{"C1S", "0"}});
        saveWith(2, {{"C1S", typed}});
        EXPECT_EQ(stored(2, "C1S"), "1.50") << typed;
    }
}

TEST_F(PagesTest, LockedYearSavesNothing) {
    f.counters().WriteCounter("SERVER", YearLockCounterKey(WorkingYear().toInt()), "DA");
    const std::optional<PageRefusal> r = refusalOf(7, {{"LIN1", "5"}});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->reason, PageRefusal::Reason::YearLocked);
    EXPECT_EQ(r->title, "Modificare matricola");
    EXPECT_EQ(stored(7, "LIN1"), "0");
}

TEST_F(PagesTest, PagesOfOneTableWriteOnlyTheirOwnFields) {
    saveWith(5, {{"AUTO1", "2"}, {"REM4", "1"}});
    saveWith(8, {{"G1A", "3"}});
    saveWith(9, {{"GC24B", "4"}});
    saveWith(10, {{"APA10", "500"}});
    // Each page saved from what it loaded before the others wrote: a later save of page 5
    // must not put back its stale view of G*, GC*, APA*.
    PageValues page5 = pages.load(id, 5, f.defaults);
    page5["AUTO2"] = "1";
    saveWith(8, {{"G2B", "6"}});
    pages.save(id, 5, page5, f.defaults);
    EXPECT_EQ(QStringList({stored(5, "AUTO1"), stored(5, "AUTO2"), stored(5, "REM4"), stored(8, "G1A"), stored(8, "G2B"),
                           stored(9, "GC24B"), stored(10, "APA10")}),
              QStringList({"2", "1", "1", "3", "6", "4", "500"}));
    saveWith(2, {{"C1S", "75.5"}});
    saveWith(3, {{"CAS", "12"}});
    EXPECT_EQ(stored(2, "C1S"), "75.50");
}

TEST_F(PagesTest, TaxableValueFollowsMaterialZoneAndRank) {
    AdminConstants constants;
    constants.setText("ICZBR4", "10");
    constants.setText("ICZCR4", "7");
    constants.setText("IC2ZBR4", "5");
    constants.setText("IA2ZCR3", "2.5");
    const PageField* house = nullptr;
    const PageField* annex = nullptr;
    for (const PageField& p : PageFieldTable()) {
        if (p.screen == "ValImp3") house = &p;
        if (p.screen == "ValImpA2") annex = &p;
    }
    ASSERT_TRUE(house && annex);
    const PageField& house3 = *house;
    PageValues v{{"C3S", "120.50"}, {"C3C", "0"}, {"C3Z", "B"}, {"C3R", "IV"},
                 {"CAS2", "10.25"}, {"CAC2", "1"}, {"CAZ2", "C"}, {"CAR2", "III"}};
    EXPECT_EQ(PlainNumber(TaxableValue(house3, v, constants)), "1205");
    v["C3Z"] = "C";
    EXPECT_EQ(PlainNumber(TaxableValue(house3, v, constants)), "843.5");
    v["C3Z"] = "B";
    v["C3C"] = "1";
    EXPECT_EQ(TaxableValueKey(house3, v), "IC2ZBR4");
    EXPECT_EQ(PlainNumber(TaxableValue(house3, v, constants)), "602.5");
    EXPECT_EQ(TaxableValueKey(*annex, v), "IA2ZCR3");
    EXPECT_EQ(PlainNumber(TaxableValue(*annex, v, constants)), "25.625");
}

// A value using the whole width of its field, different for every field of a page.
QString fullValue(const PageField& f, int i) {
    switch (f.kind) {
    case K::Zone: return ZoneList()[i % 4];
    case K::Rank: return RankList()[i % 6];
    case K::Material: return QString::number(i % 2);
    case K::HouseOrder: return QString::number(i % 9);
    case K::Year: return QString::number(1900 + i);
    case K::Depreciated: return i % 2 ? "DA" : "NU";
    case K::Date: return QDate(2001, 1, 1).addDays(i).toString("dd.MM.yyyy");
    default: break;
    }
    const int whole = f.decimals ? f.width - f.decimals - 1 : f.width;
    QString digits = QString::number(i + 1).rightJustified(whole, '9');
    if (f.decimals) digits += '.' + QString::number(i % 10).rightJustified(f.decimals, '7');
    return digits;
}

// The bytes of one field of the first record, read straight from the file.
QString rawField(const QString& path, const QString& name) {
    const QByteArray b = test::fileBytes(path);
    const int headerLength = quint8(b[8]) | quint8(b[9]) << 8;
    int offset = 1;
    for (int d = 32; d + 32 <= headerLength && b[d] != '\r'; d += 32) {
        const int length = quint8(b[d + 16]);
        if (QString::fromLatin1(b.mid(d, 11).constData()) == name)
            return QString::fromLatin1(b.mid(headerLength + offset, length)).trimmed();
        offset += length;
    }
    return "<missing>";
}

// Page 11 refuses a credit beside arrears of the same tax: the first round leaves the
// credits at 0, the second the arrears and penalties.
bool heldAtZero(const PageField& f, int round) {
    if (f.page != 11) return false;
    const bool credit = f.field.startsWith("SOLD");
    const bool arrears = f.field.startsWith("PEN") || QStringList{"LIN1", "LIN2", "LIN3", "LIN4"}.contains(f.field);
    return round == 0 ? credit : arrears;
}

TEST_F(PagesTest, EveryFieldOfEveryPageComesBackAsSaved) {
    std::map<std::pair<int, QString>, QString> expected;
    for (int round : {0, 1}) {
        for (const DeclarationPage& p : DeclarationPageList()) {
            PageValues v = pages.load(id, p.number, f.defaults);
            int i = 7 * round;
            for (const PageField* field : FieldsOfPage(p.number))
                if (field->isStored())
                    expected[{p.number, field->field}] = v[field->field] =
                        heldAtZero(*field, round) ? "0" : fullValue(*field, ++i);
            pages.save(id, p.number, v, f.defaults);
        }
        for (const DeclarationPage& p : DeclarationPageList()) {
            const PageValues v = pages.load(id, p.number, f.defaults);
            for (const PageField* field : FieldsOfPage(p.number))
                if (field->isStored()) {
                    EXPECT_EQ(v[field->field], (expected[{p.number, field->field}])) << field->label.toStdString();
                }
        }
    }
    const auto want = [&expected](int page, const char* field) { return expected[{page, QString(field)}]; };
    EXPECT_EQ(rawField(f.path("Pag4.dbf"), "CCA"), want(4, "CCA"));
    EXPECT_EQ(rawField(f.path("Pag2.dbf"), "C8Z"), want(2, "C8Z"));
    EXPECT_EQ(rawField(f.path("Pag2.dbf"), "DINVA2"),
              QDate::fromString(want(3, "DINVA2"), "dd.MM.yyyy").toString("yyyyMMdd"));
    EXPECT_EQ(rawField(f.path("Pag8.dbf"), "SOLD4"), want(11, "SOLD4"));
}

TEST_F(PagesTest, ShownValuesPutTheDefaultForAZoneOrRankOutOfTheList) {
    f.db().exec(QStringLiteral("UPDATE \"%1\" SET C5Z = 'E', C5R = '', CAZ = 'C' WHERE IDGOS = ?").arg(f.path("Pag2.dbf")), {id});
    const PageValues shown = ShownValues(pages.load(id, 2, f.defaults), f.defaults);
    EXPECT_EQ(QStringList({shown["C5Z"], shown["C5R"]}), QStringList({"B", "III"}));
    EXPECT_EQ(ShownValues(pages.load(id, 3, f.defaults), f.defaults)["CAZ"], "C");
    EXPECT_EQ(ShownValues(pages.load(id, 2, f.defaults), {"", "?", {}})["C5R"], "IV") << "the window's own default";
}

} // namespace
