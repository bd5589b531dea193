// Tables whose header disagrees with the file: refused by every statement with the file and
// the fault named, and never written; the forms other writers leave stay readable.

#include "db_test_util.h"

using namespace vartesa;
using namespace vartesa::dbtest;

namespace {

const std::vector<RawField> kFields = {{"ID", 'N', 4}, {"NUME", 'C', 6}};
constexpr int kHeader = 32 + 2 * 32 + 1; // 97
constexpr int kRecord = 1 + 4 + 6;       // 11

QByteArray record(int id, const char* name) {
    return " " + QByteArray::number(id).rightJustified(4, ' ') + QByteArray(name).leftJustified(6, ' ');
}

// Three records and the end marker.
QByteArray goodTable() { return makeDbf(kFields, {record(1, "ANA"), record(2, "ION"), record(3, "DAN")}); }

QByteArray setU16(QByteArray b, int at, int value) {
    b[at] = char(value & 0xFF);
    b[at + 1] = char(value >> 8);
    return b;
}

struct Damage {
    const char* what;
    QByteArray bytes;
    const char* fault; // what follows "Tabela T.dbf este deteriorata: "
};

QByteArray withCount(int count) {
    return makeDbf(kFields, {record(1, "ANA"), record(2, "ION"), record(3, "DAN")}, count);
}

QByteArray zeroWidthField() {
    QByteArray b = goodTable();
    b[32 + 32 + 16] = 0; // NUME
    return b;
}

const Damage kDamages[] = {
    {"cut_inside_a_record", goodTable().left(kHeader + 2 * kRecord + 5),
     "antetul arata 3 inregistrari, fisierul are 2 si inca 5 octeti ai unei inregistrari taiate."},
    {"cut_at_a_record_boundary", goodTable().left(kHeader + 2 * kRecord),
     "antetul arata 3 inregistrari, fisierul are 2."},
    {"count_one_low", withCount(2), "antetul arata 2 inregistrari, fisierul are 3."},
    {"count_one_high", withCount(4), "antetul arata 4 inregistrari, fisierul are 3."},
    {"wrong_header_length", setU16(goodTable(), 8, kHeader + 1), "antetul are 98 octeti, cele 2 campuri cer 97."},
    {"wrong_record_length", setU16(goodTable(), 10, kRecord + 1), "inregistrarea are 12 octeti, campurile cer 11."},
    {"zero_width_field", zeroWidthField(), "campul NUME de tip C are lungimea 0."},
};

class DamagedTable : public ::testing::TestWithParam<Damage> {};

QString refusal(const std::function<void()>& statement) {
    try {
        statement();
    } catch (const Error& e) {
        return e.text();
    }
    return QStringLiteral("<primit>");
}

TEST_P(DamagedTable, EveryStatementRefusesItAndNothingIsWritten) {
    DataFolder dir;
    const QString path = dir.file(QStringLiteral("T.dbf"));
    writeBytes(path, GetParam().bytes);
    writeBytes(dir.file(QStringLiteral("Alta.dbf")), goodTable());
    const QString expected = QStringLiteral("Tabela T.dbf este deteriorata: ") + QString::fromLatin1(GetParam().fault);
    db::Database db(dir.path());
    const QString other = QStringLiteral("\"Alta.dbf\"");
    EXPECT_EQ(refusal([&] { db.query(QStringLiteral("SELECT * FROM \"T.dbf\"")); }), expected);
    EXPECT_EQ(refusal([&] { db.scan(QStringLiteral("T.dbf"), {QStringLiteral("ID")}, [](const auto&) {}); }), expected);
    EXPECT_EQ(refusal([&] { db.exec(QStringLiteral("INSERT INTO \"T.dbf\" (ID, NUME) VALUES (9, 'NOU')")); }), expected);
    // One unit touching a sound table and the damaged one stores neither.
    EXPECT_EQ(refusal([&] {
                  db::Transaction tx(db);
                  db.exec("UPDATE " + other + " SET NUME = 'X'");
                  db.exec(QStringLiteral("UPDATE \"T.dbf\" SET NUME = 'X'"));
                  tx.commit();
              }),
              expected);
    EXPECT_EQ(readBytes(path), GetParam().bytes);
    EXPECT_EQ(readBytes(dir.file(QStringLiteral("Alta.dbf"))), goodTable());
}

INSTANTIATE_TEST_SUITE_P(Damages, DamagedTable, ::testing::ValuesIn(kDamages),
                         [](const ::testing::TestParamInfo<Damage>& info) { return std::string(info.param.what); });

// A table loaded whole and damaged afterwards (another program's crash) is refused too.
TEST(DamagedTable, DamageAfterLoadingIsSeenAtTheNextStatement) {
    DataFolder dir;
    const QString path = dir.file(QStringLiteral("T.dbf"));
    writeBytes(path, goodTable());
    db::Database db(dir.path());
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM \"T.dbf\"")).toInt(), 3);
    const QByteArray cut = goodTable().left(kHeader + kRecord + 3);
    writeBytes(path, cut);
    EXPECT_THROW(db.exec(QStringLiteral("UPDATE \"T.dbf\" SET NUME = 'X' WHERE ID = 1")), Error);
    EXPECT_EQ(readBytes(path), cut);
}

// What other writers leave and every reader takes: no end marker, the 263 bytes after the
// descriptors, a text field wider than 255.
struct Variant {
    const char* what;
    QByteArray bytes;
};

QByteArray withExtraHeaderBytes() {
    QByteArray b = goodTable();
    b.insert(kHeader, QByteArray(263, '\0'));
    return setU16(b, 8, kHeader + 263);
}

QByteArray wideText() {
    QByteArray rec = " " + QByteArray("   1") + QByteArray("LUNG").leftJustified(300, ' ');
    return makeDbf({{"ID", 'N', 4}, {"NOTA", 'C', 300, 1}}, {rec});
}

class SoundVariant : public ::testing::TestWithParam<Variant> {};

TEST_P(SoundVariant, ReadsAndTakesANewRecord) {
    DataFolder dir;
    writeBytes(dir.file(QStringLiteral("T.dbf")), GetParam().bytes);
    db::Database db(dir.path());
    const int before = db.scalar(QStringLiteral("SELECT COUNT(*) FROM \"T.dbf\"")).toInt();
    db.exec(QStringLiteral("INSERT INTO \"T.dbf\" (ID) VALUES (7)"));
    db::Database fresh(dir.path());
    EXPECT_EQ(fresh.scalar(QStringLiteral("SELECT COUNT(*) FROM \"T.dbf\"")).toInt(), before + 1);
}

INSTANTIATE_TEST_SUITE_P(Variants, SoundVariant,
                         ::testing::Values(Variant{"end_marker", goodTable()},
                                           Variant{"no_end_marker", makeDbf(kFields, {record(1, "ANA")}, -1, false)},
                                           Variant{"extra_header_bytes", withExtraHeaderBytes()},
                                           Variant{"wide_text_field", wideText()},
                                           Variant{"empty_without_marker", makeDbf(kFields, {}, -1, false)}),
                         [](const ::testing::TestParamInfo<Variant>& info) { return std::string(info.param.what); });

} // namespace
