#pragma once
// Walking the parsed-expression tokens of BIFF8 formulas: finding the fields that
// hold rows and columns so they can follow inserted and deleted rows and columns
// (formula_eval.h computes results over the same walk). Token sizes never change, so
// jump offsets of IF/CHOOSE (tAttr) stay valid.

#include <QByteArray>

#include <functional>
#include <vector>

namespace vartesa::workbook {

/// Token ids, base class (reference-class variants 0x4x and 0x6x map to 0x2x/0x3x).
enum Ptg : quint8 {
    PtgExp = 0x01, PtgTbl = 0x02, PtgParen = 0x15, PtgMissArg = 0x16, PtgStr = 0x17,
    PtgExtended = 0x18, PtgAttr = 0x19, PtgErr = 0x1C, PtgBool = 0x1D, PtgInt = 0x1E, PtgNum = 0x1F,
    PtgArray = 0x20, PtgFunc = 0x21, PtgFuncVar = 0x22, PtgName = 0x23, PtgRef = 0x24, PtgArea = 0x25,
    PtgMemArea = 0x26, PtgMemErr = 0x27, PtgMemNoMem = 0x28, PtgMemFunc = 0x29, PtgRefErr = 0x2A,
    PtgAreaErr = 0x2B, PtgRefN = 0x2C, PtgAreaN = 0x2D, PtgMemAreaN = 0x2E, PtgMemNoMemN = 0x2F,
    PtgNameX = 0x39, PtgRef3d = 0x3A, PtgArea3d = 0x3B, PtgRefErr3d = 0x3C, PtgAreaErr3d = 0x3D,
};

/// Base id returned for ids with the top bit set: no token has one.
constexpr quint8 PtgInvalid = 0xFF;

/// The base id of a token id (class bits removed); PtgInvalid for ids from 0x80 on.
inline quint8 ptgBase(quint8 id) {
    if (id >= 0x80)
        return PtgInvalid;
    return id < 0x20 ? id : quint8(0x20 | (id & 0x1F));
}

/// Column field flags: the row/column parts are relative to the formula's cell.
constexpr quint16 ColRowRelative = 0x8000;
constexpr quint16 ColColRelative = 0x4000;
constexpr quint16 ColMask = 0x00FF;

enum class RefPart : quint8 {
    Cell,      // tRef, tRef3d, tExp: one row and column
    AreaFirst, // first row/column of tArea, tArea3d
    AreaLast,  // last row/column of tArea, tArea3d
};

/// One row/column pair found in a token stream.
struct TokenRef {
    quint16 ptgPos = 0; // offset of the token id byte
    quint16 rowPos = 0; // offset of the 16-bit row
    quint16 colPos = 0; // offset of the 16-bit column with its relative flags
    qint32 ixti = -1;   // EXTERNSHEET index of a 3d reference, -1 for the formula's own sheet
    RefPart part = RefPart::Cell;
};

/// Calls `visit(base, pos)` for every token of `rgce` (pos = offset of its id byte).
/// Returns false when a token is unknown or runs past the end; the walk stops there.
bool walkTokens(const QByteArray& rgce, const std::function<void(quint8 base, int pos)>& visit);

/// Every row/column reference in `rgce` (cell formulas: tRef, tArea, 3d, tExp).
std::vector<TokenRef> findReferences(const QByteArray& rgce);

/// Turns the host-relative tokens of a shared formula (tRefN, tAreaN) into plain
/// tRef/tArea for the cell at (row, col).
void expandSharedTokens(QByteArray& rgce, int row, int col);

/// Marks a reference as deleted (#REF!) keeping the token's size.
void markReferenceDeleted(QByteArray& rgce, int ptgPos);

} // namespace vartesa::workbook
