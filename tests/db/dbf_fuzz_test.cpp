// Damaged table files: a seeded mutation loop over a valid table, read and written through the
// engine. Every file must either load or fail with the engine's error; nothing may crash.
// The run is short in the suite; for a long one set VARTESA_FUZZ_ITERATIONS (100000 takes a
// few minutes) and, to vary the files, VARTESA_FUZZ_SEED:
//   VARTESA_FUZZ_ITERATIONS=100000 build/test/tests/test_db --gtest_filter='DbfFuzz.*'

#include "db_test_util.h"

#include <QRandomGenerator>

#include <cstring>

using namespace vartesa;
using namespace vartesa::dbtest;

namespace {

int envNumber(const char* name, int fallback) {
    bool ok = false;
    const int n = qEnvironmentVariableIntValue(name, &ok);
    return ok && n > 0 ? n : fallback;
}

QByteArray seedTable() {
    const std::vector<RawField> fields = {{"IDGOS", 'N', 10}, {"NUME", 'C', 20}, {"SUMA", 'N', 8, 2},
                                          {"DATA", 'D', 8},   {"COTA", 'F', 12, 4}, {"DA", 'L', 1}};
    std::vector<QByteArray> records;
    for (int i = 1; i <= 6; ++i) {
        QByteArray r = i == 4 ? "*" : " ";
        r += QByteArray::number(i).rightJustified(10, ' ');
        r += QByteArray("Nume \xaa\xde ").append(QByteArray::number(i)).leftJustified(20, ' ');
        r += QByteArray::number(i * 12.5, 'f', 2).rightJustified(8, ' ');
        r += "2024010" + QByteArray::number(i);
        r += QByteArray::number(i / 3.0, 'f', 4).rightJustified(12, ' ');
        r += i % 2 ? "T" : "F";
        records.push_back(r);
    }
    return makeDbf(fields, records);
}

// One to four changes of the kinds that break readers: bytes flipped, header counts and
// lengths set to extremes, field descriptors spoiled, the file cut or lengthened.
QByteArray mutate(QByteArray b, QRandomGenerator& rng) {
    const int changes = 1 + int(rng.bounded(4));
    for (int c = 0; c < changes && !b.isEmpty(); ++c) {
        const auto at = [&](int limit) { return int(rng.bounded(std::max(1, std::min(limit, int(b.size()))))); };
        switch (rng.bounded(7)) {
        case 0: b[at(int(b.size()))] = char(rng.bounded(256)); break;
        case 1: { // a header number: count, header length, record length
            static const int offsets[] = {4, 5, 6, 7, 8, 9, 10, 11};
            static const char values[] = {0, 1, 0x7F, char(0x80), char(0xFF), 0x20};
            b[std::min(offsets[rng.bounded(8)], int(b.size()) - 1)] = values[rng.bounded(6)];
            break;
        }
        case 2: { // a field descriptor's type, length or decimals
            const int field = 32 + 32 * int(rng.bounded(7));
            static const int parts[] = {11, 16, 17};
            static const char values[] = {0, 1, 'C', 'N', 'D', 'X', char(0xFF), 30, 18};
            const int p = field + parts[rng.bounded(3)];
            if (p < b.size()) b[p] = values[rng.bounded(9)];
            break;
        }
        case 3: b.truncate(at(int(b.size()))); break;
        case 4: b.append(QByteArray(int(rng.bounded(200)), char(rng.bounded(256)))); break;
        case 5: { // the terminator of the descriptors moved or lost
            const int p = b.indexOf('\r');
            if (p >= 0) b[p] = char(rng.bounded(256));
            break;
        }
        default: { // a run of one byte over a record
            const int p = at(int(b.size()));
            std::memset(b.data() + p, "* 9.-\0"[rng.bounded(6)], size_t(std::min<int>(int(rng.bounded(24)), int(b.size()) - p)));
        }
        }
    }
    return b;
}

TEST(DbfFuzz, DamagedTablesLoadOrFailCleanly) {
    const int iterations = envNumber("VARTESA_FUZZ_ITERATIONS", 1500);
    QRandomGenerator rng(quint32(envNumber("VARTESA_FUZZ_SEED", 20261209)));
    const QByteArray seed = seedTable();
    DataFolder dir;
    const QString path = dir.file(QStringLiteral("F.dbf"));
    int loaded = 0, refused = 0;
    for (int i = 0; i < iterations; ++i) {
        const QByteArray bytes = mutate(seed, rng);
        writeBytes(path, bytes);
        db::Database db(dir.path());
        try {
            const db::Query q = db.query(QStringLiteral("SELECT * FROM \"F.dbf\""));
            for (int r = 0; r < q.count(); ++r)
                for (int c = 0; c < q.columnCount(); ++c) q.cell(r, c);
            ++loaded;
            // Writing into a damaged file must fail cleanly too.
            db.exec(QStringLiteral("DELETE FROM \"F.dbf\" WHERE rowid = 1"));
        } catch (const Error& e) {
            ++refused;
            ASSERT_FALSE(e.text().isEmpty()) << "iteration " << i;
        }
    }
    // Both outcomes occur, or the mutations test nothing.
    EXPECT_GT(loaded, 0);
    EXPECT_GT(refused, 0);
}

} // namespace
