// Positions the writer computes, checked by walking the written stream: sheet
// offsets, the cell index (INDEX/DBCELL) and the string table index (EXTSST).

#include "workbook/compound_file.h"
#include "workbook/workbook.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace vartesa::workbook;

namespace {

struct Rec {
    quint16 id;
    QByteArray data;
};

// Stream position -> record.
std::map<qsizetype, Rec> walk(const QByteArray& stream) {
    std::map<qsizetype, Rec> out;
    for (qsizetype pos = 0; pos + 4 <= stream.size();) {
        quint16 id = get16(stream.constData() + pos), size = get16(stream.constData() + pos + 2);
        out[pos] = {id, stream.mid(pos + 4, size)};
        pos += 4 + size;
    }
    return out;
}

// Rows holding cells: runs with gaps, so some row blocks stay empty.
std::vector<int> filledRows() {
    std::vector<int> rows;
    for (int r = 0; r < 150; r += (r % 7 == 3 ? 40 : 1))
        rows.push_back(r);
    return rows;
}

QByteArray filledStream() {
    Workbook wb({QStringLiteral("Unu"), QStringLiteral("Doi")});
    for (int sheet = 0; sheet < 2; ++sheet) {
        Sheet& s = wb.sheet(sheet);
        for (int r : filledRows()) {
            s.setText(r, 0, QStringLiteral("Text %1 %2").arg(sheet).arg(r));
            s.setNumber(r, 2, r);
        }
        s.setRowHeight(200, 400); // a row with a record but no cells
    }
    return readCompoundStream(wb.toBytes(), {QStringLiteral("Workbook")});
}

} // namespace

TEST(Biff8Layout, SheetOffsetsAndCellIndexPointAtTheirRecords) {
    const QByteArray stream = filledStream();
    auto recs = walk(stream);
    int sheets = 0;
    for (const auto& [pos, r] : recs) {
        if (r.id != quint16(RecordId::BoundSheet))
            continue;
        ++sheets;
        const qsizetype bof = get32(r.data.constData());
        ASSERT_TRUE(recs.count(bof));
        EXPECT_EQ(recs[bof].id, quint16(RecordId::Bof));
        // INDEX right after the sheet's BOF
        auto index = recs.upper_bound(bof);
        ASSERT_EQ(index->second.id, quint16(RecordId::Index));
        const QByteArray& ix = index->second.data;
        EXPECT_EQ(get32(ix.constData() + 4), 0u);   // first row with cells
        EXPECT_EQ(get32(ix.constData() + 8), quint32(filledRows().back() + 1)); // last row with cells + 1
        ASSERT_TRUE(recs.count(get32(ix.constData() + 12)));
        EXPECT_EQ(recs[get32(ix.constData() + 12)].id, quint16(RecordId::DefColWidth));
        const int blocks = int(ix.size() - 16) / 4;
        std::set<int> used = {200 / 32};
        for (int r : filledRows())
            used.insert(r / 32);
        EXPECT_EQ(blocks, int(used.size()));
        for (int b = 0; b < blocks; ++b) {
            const qsizetype dbAt = get32(ix.constData() + 16 + 4 * b);
            ASSERT_TRUE(recs.count(dbAt)) << b;
            const Rec& db = recs[dbAt];
            ASSERT_EQ(db.id, quint16(RecordId::DbCell));
            const qsizetype firstRow = dbAt - get32(db.data.constData());
            ASSERT_TRUE(recs.count(firstRow));
            EXPECT_EQ(recs[firstRow].id, quint16(RecordId::Row));
            // each offset leads to the first cell of the next ROW record's row
            qsizetype cell = firstRow + 20;
            auto row = recs.find(firstRow);
            for (qsizetype k = 4; k < db.data.size(); k += 2, ++row) {
                cell += get16(db.data.constData() + k);
                const int rowNumber = get16(row->second.data.constData());
                ASSERT_TRUE(recs.count(cell));
                if (rowNumber == 200)
                    continue; // no cells: points where they would be
                EXPECT_EQ(get16(recs[cell].data.constData()), rowNumber);
            }
        }
    }
    EXPECT_EQ(sheets, 2);
}

TEST(Biff8Layout, StringTableIndexPointsAtStrings) {
    const QByteArray stream = filledStream();
    auto recs = walk(stream);
    for (const auto& [pos, r] : recs) {
        if (r.id != quint16(RecordId::ExtSst))
            continue;
        const int perBucket = get16(r.data.constData());
        EXPECT_GE(perBucket, 8);
        int bucket = 0;
        for (qsizetype k = 2; k + 8 <= r.data.size(); k += 8, ++bucket) {
            const qsizetype at = get32(r.data.constData() + k);
            const qsizetype recordStart = at - get16(r.data.constData() + k + 4);
            ASSERT_TRUE(recs.count(recordStart));
            // the string there: count(2) flags(1) characters
            const int count = get16(stream.constData() + at);
            const QString text = QString::fromLatin1(stream.constData() + at + 3, count);
            const int n = bucket * perBucket; // n-th distinct string, sheets written in order
            EXPECT_TRUE(text.startsWith(QStringLiteral("Text "))) << n << " " << text.toStdString();
        }
        EXPECT_GT(bucket, 2);
    }
}
