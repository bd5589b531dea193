// Token walking for BIFF8 formulas: sizes of every token the engine may meet.

#include "workbook/formula_tokens.h"

#include "workbook/biff_records.h"

namespace vartesa::workbook {

namespace {

// Bytes after the id byte for fixed-size tokens; -1 when the size is read from the
// token itself, -2 for tokens the walk cannot skip.
int fixedSize(quint8 base) {
    if (base >= 0x03 && base <= 0x16)
        return 0; // operators, tParen, tMissArg
    switch (base) {
    case PtgExp: case PtgTbl: return 4;
    case PtgStr: case PtgAttr: return -1;
    case PtgErr: case PtgBool: return 1;
    case PtgInt: return 2;
    case PtgNum: return 8;
    case PtgArray: return 7;
    case PtgFunc: return 2;
    case PtgFuncVar: return 3;
    case PtgName: return 4;
    case PtgRef: case PtgRefErr: case PtgRefN: return 4;
    case PtgArea: case PtgAreaErr: case PtgAreaN: return 8;
    // tMem* carry a header only; the tokens of their sub-expression follow inline
    case PtgMemArea: case PtgMemErr: case PtgMemNoMem: return 6;
    case PtgMemFunc: case PtgMemAreaN: case PtgMemNoMemN: return 2;
    case PtgNameX: return 6;
    case PtgRef3d: case PtgRefErr3d: return 6;
    case PtgArea3d: case PtgAreaErr3d: return 10;
    default: return -2;
    }
}

} // namespace

bool walkTokens(const QByteArray& rgce, const std::function<void(quint8, int)>& visit) {
    const int size = int(rgce.size());
    const char* p = rgce.constData();
    int pos = 0;
    while (pos < size) {
        quint8 base = ptgBase(quint8(p[pos]));
        int n = fixedSize(base);
        if (n == -2)
            return false;
        if (base == PtgStr) {
            if (pos + 3 > size)
                return false;
            int cch = quint8(p[pos + 1]);
            n = 2 + cch * ((p[pos + 2] & 0x01) ? 2 : 1);
        } else if (base == PtgAttr) {
            if (pos + 4 > size)
                return false;
            n = 3;
            if (p[pos + 1] & 0x04) // tAttrChoose: jump table of count+1 offsets
                n += (get16(p + pos + 2) + 1) * 2;
        }
        if (pos + 1 + n > size)
            return false;
        visit(base, pos);
        pos += 1 + n;
    }
    return true;
}

std::vector<TokenRef> findReferences(const QByteArray& rgce) {
    std::vector<TokenRef> out;
    const char* p = rgce.constData();
    walkTokens(rgce, [&](quint8 base, int pos) {
        auto add = [&](int rowOff, int colOff, qint32 ixti, RefPart part) {
            out.push_back({quint16(pos), quint16(pos + rowOff), quint16(pos + colOff), ixti, part});
        };
        switch (base) {
        case PtgExp: add(1, 3, -1, RefPart::Cell); break;
        case PtgRef: add(1, 3, -1, RefPart::Cell); break;
        case PtgArea:
            add(1, 5, -1, RefPart::AreaFirst);
            add(3, 7, -1, RefPart::AreaLast);
            break;
        case PtgRef3d: add(3, 5, get16(p + pos + 1), RefPart::Cell); break;
        case PtgArea3d:
            add(3, 7, get16(p + pos + 1), RefPart::AreaFirst);
            add(5, 9, get16(p + pos + 1), RefPart::AreaLast);
            break;
        default: break;
        }
    });
    return out;
}

void expandSharedTokens(QByteArray& rgce, int row, int col) {
    std::vector<std::pair<quint8, int>> found;
    walkTokens(rgce, [&](quint8 base, int pos) {
        if (base == PtgRefN || base == PtgAreaN)
            found.push_back({base, pos});
    });
    // One row/column pair: offsets are signed and apply only where the flag says relative.
    auto fix = [&](int rowOff, int colOff) {
        quint16 r = get16(rgce.constData() + rowOff);
        quint16 c = get16(rgce.constData() + colOff);
        if (c & ColRowRelative)
            r = quint16(row + qint16(r));
        if (c & ColColRelative)
            c = quint16((c & ~ColMask) | ((col + qint8(c & ColMask)) & ColMask));
        set16(rgce, rowOff, r);
        set16(rgce, colOff, c);
    };
    for (auto [base, pos] : found) {
        quint8 id = quint8(rgce[pos]);
        rgce[pos] = char(id - 0x08); // tRefN -> tRef, tAreaN -> tArea, same class bits
        if (base == PtgRefN) {
            fix(pos + 1, pos + 3);
        } else {
            fix(pos + 1, pos + 5);
            fix(pos + 3, pos + 7);
        }
    }
}

void markReferenceDeleted(QByteArray& rgce, int ptgPos) {
    quint8 id = quint8(rgce[ptgPos]);
    quint8 cls = id & 0x60;
    quint8 base = ptgBase(id);
    quint8 err = base;
    switch (base) {
    case PtgRef: err = PtgRefErr; break;
    case PtgArea: err = PtgAreaErr; break;
    case PtgRef3d: err = PtgRefErr3d; break;
    case PtgArea3d: err = PtgAreaErr3d; break;
    default: return;
    }
    rgce[ptgPos] = char((err & 0x1F) | (cls ? cls : 0x20));
}

} // namespace vartesa::workbook
