#include "workbook/biff2_reader.h"

#include "db/cp1250.h"
#include "workbook/biff_records.h"

#include <QtEndian>

#include <cstring>

namespace vartesa::workbook {

namespace {

quint16 u16(const char* p) { return qFromLittleEndian<quint16>(p); }

} // namespace

QString Biff2Cells::text(int row, int col) const {
    const auto it = cells.find({row, col});
    return it == cells.end() ? QString() : it->second;
}

bool IsBiff2(const QByteArray& bytes) {
    return bytes.size() >= 4 && u16(bytes.constData()) == quint16(RecordId::Biff2Bof);
}

std::optional<Biff2Cells> ReadBiff2(const QByteArray& bytes) {
    if (!IsBiff2(bytes)) return std::nullopt;
    Biff2Cells sheet;
    int at = 0;
    while (at + 4 <= bytes.size()) {
        const quint16 id = u16(bytes.constData() + at), size = u16(bytes.constData() + at + 2);
        const char* data = bytes.constData() + at + 4;
        if (at + 4 + size > bytes.size()) return std::nullopt;
        at += 4 + size;
        if (id == quint16(RecordId::Eof)) return sheet;
        // Cells: row(2) column(2) attributes(3), then the value.
        if (size < 7) continue;
        const int row = u16(data), col = u16(data + 2);
        QString value;
        switch (RecordId(id)) {
        case RecordId::Biff2Blank: break;
        case RecordId::Biff2Integer:
            if (size < 9) return std::nullopt;
            value = QString::number(u16(data + 7));
            break;
        case RecordId::Biff2Number:
        case RecordId::Formula: {
            if (size < 15) return std::nullopt;
            double number = 0;
            std::memcpy(&number, data + 7, 8); // little-endian IEEE, as the machines that read it
            value = QString::number(qFromLittleEndian(number), 'g', 15);
            break;
        }
        case RecordId::Biff2Label: {
            const int length = quint8(data[7]);
            if (size < 8 + length) return std::nullopt;
            value = db::cp1250ToString(data + 8, length);
            break;
        }
        default: continue;
        }
        sheet.cells[{row, col}] = value;
        sheet.lastRow = std::max(sheet.lastRow, row);
        sheet.lastColumn = std::max(sheet.lastColumn, col);
    }
    return std::nullopt;
}

} // namespace vartesa::workbook
