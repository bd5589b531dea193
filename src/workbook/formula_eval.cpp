// A stack evaluator over the BIFF8 tokens of cell formulas (reverse Polish order).
// Any token or function outside the computed set makes the formula "not computed";
// the evaluator never guesses a value.

#include "workbook/formula_eval.h"

#include "workbook/book_data.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <unordered_set>

namespace vartesa::workbook {

namespace {

// Error codes as stored in cells.
constexpr int ErrDiv0 = 0x07, ErrValue = 0x0F, ErrRef = 0x17, ErrNum = 0x24;
// Built-in function numbers of the computed set.
enum Function : quint16 { FnCount = 0, FnIf = 1, FnSum = 4, FnAverage = 5, FnMin = 6, FnMax = 7, FnRound = 27 };
// Formulas nested deeper than this through their references are left to the reader.
constexpr int MaxDepth = 400;
constexpr int MaxText = 32767; // longest text a cell may hold
constexpr double kExactInteger = 9007199254740992.0; // 2^53: every whole number below is a double

// A value during evaluation: Empty stands for an empty cell or a missing argument.
struct Value {
    CachedType type = CachedType::Empty;
    double number = 0;
    QString text;
};

Value number(double v) {
    if (!std::isfinite(v))
        return {CachedType::Error, double(ErrNum), {}};
    return {CachedType::Number, v, {}};
}
Value boolean(bool v) { return {CachedType::Boolean, v ? 1.0 : 0.0, {}}; }
Value error(int code) { return {CachedType::Error, double(code), {}}; }
Value text(const QString& s) { return s.size() > MaxText ? error(ErrValue) : Value{CachedType::Text, 0, s}; }
bool isError(const Value& v) { return v.type == CachedType::Error; }

// Number of a value taken as an operand: texts must read as a number.
Value toNumber(const Value& v) {
    switch (v.type) {
    case CachedType::Number: case CachedType::Error: return v;
    case CachedType::Boolean: return number(v.number);
    case CachedType::Empty: return number(0);
    case CachedType::Text: {
        bool ok = false;
        const double d = v.text.trimmed().toDouble(&ok);
        return ok && std::isfinite(d) ? number(d) : error(ErrValue);
    }
    }
    return error(ErrValue);
}

// Text of a value taken as an operand of &: numbers as the General format shows them.
QString toText(const Value& v) {
    switch (v.type) {
    case CachedType::Number: {
        QString s = QString::number(v.number, 'g', 15);
        return s.replace('e', 'E');
    }
    case CachedType::Boolean: return v.number != 0 ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case CachedType::Text: return v.text;
    default: return {};
    }
}

// Orders two values as spreadsheet comparisons do: numbers before texts before
// booleans, texts without regard to case, an empty cell as the other side's zero.
int compare(Value a, Value b) {
    auto blankLike = [](const Value& other) {
        if (other.type == CachedType::Text)
            return Value{CachedType::Text, 0, {}};
        return Value{other.type == CachedType::Boolean ? CachedType::Boolean : CachedType::Number, 0, {}};
    };
    if (a.type == CachedType::Empty)
        a = blankLike(b);
    if (b.type == CachedType::Empty)
        b = blankLike(a);
    auto rank = [](const Value& v) { return v.type == CachedType::Text ? 1 : v.type == CachedType::Boolean ? 2 : 0; };
    if (rank(a) != rank(b))
        return rank(a) < rank(b) ? -1 : 1;
    if (a.type == CachedType::Text)
        return a.text.compare(b.text, Qt::CaseInsensitive);
    return a.number < b.number ? -1 : a.number > b.number ? 1 : 0;
}

// ROUND: half away from zero on the value as shown with 15 digits, so 2.675 rounds
// to 2.68 although its binary form lies just below.
double roundTo(double v, int digits) {
    const double scale = std::pow(10.0, std::abs(digits));
    double scaled = digits >= 0 ? v * scale : v / scale;
    scaled = QString::number(scaled, 'g', 15).toDouble();
    const double r = std::round(scaled);
    return digits >= 0 ? r / scale : r * scale;
}

} // namespace

class FormulaEvaluator {
public:
    explicit FormulaEvaluator(const BookData& book) : book_(book) {}

    // The result of the formula in `cell` of `sheet`, nullopt when it is not computed.
    std::optional<Value> formulaValue(const Sheet& sheet, const Cell& cell) {
        if (auto it = done_.find(&cell); it != done_.end())
            return it->second;
        if (pending_.count(&cell) || pending_.size() >= MaxDepth)
            return std::nullopt; // circular, or too deep to follow here
        pending_.insert(&cell);
        std::optional<Value> v = evaluate(sheet, *cell.formula);
        pending_.erase(&cell);
        done_[&cell] = v;
        return v;
    }

private:
    // An operand on the stack: a value, or an area of cells (one cell for a reference).
    struct Item {
        Value value;
        const Sheet* sheet = nullptr; // set for areas
        int r1 = 0, r2 = 0, c1 = 0, c2 = 0;
    };
    struct Failed {}; // thrown inside one evaluation when the formula is outside the set

    std::optional<Value> evaluate(const Sheet& host, const Formula& source) {
        Formula f = {source.tokens, {}, 0, CachedType::Number, source.refs, {}, {}};
        refreshFormulaRows(f); // the rows references point at now
        std::vector<Item> stack;
        try {
            const bool whole = walkTokens(f.tokens, [&](quint8 base, int pos) { step(host, f.tokens, base, pos, stack); });
            if (!whole || stack.size() != 1)
                return std::nullopt;
            Value v = deref(stack.back());
            if (v.type == CachedType::Empty)
                v = number(0);
            return v;
        } catch (const Failed&) {
            return std::nullopt;
        }
    }

    // One token: pushes its operand or applies its operator to the stack.
    void step(const Sheet& host, const QByteArray& t, quint8 base, int pos, std::vector<Item>& stack) {
        const char* p = t.constData() + pos;
        if (base >= 0x03 && base <= 0x0E) {
            Value b = deref(pop(stack)), a = deref(pop(stack));
            stack.push_back({binary(base, a, b)});
            return;
        }
        switch (base) {
        case 0x12: stack.push_back({deref(pop(stack))}); return; // unary plus
        case 0x13: { // unary minus
            Value v = toNumber(deref(pop(stack)));
            stack.push_back({isError(v) ? v : number(-v.number)});
            return;
        }
        case PtgParen: return;
        case PtgMissArg: stack.push_back({}); return;
        case PtgStr: {
            const int count = quint8(p[1]);
            ByteReader in(p + 3, t.size() - pos - 3, 0);
            stack.push_back({text(in.characters(count, p[2] & 0x01))});
            return;
        }
        case PtgErr: stack.push_back({error(quint8(p[1]))}); return;
        case PtgBool: stack.push_back({boolean(p[1] != 0)}); return;
        case PtgInt: stack.push_back({number(get16(p + 1))}); return;
        case PtgNum: {
            ByteReader in(p + 1, 8, 0);
            stack.push_back({number(in.f64())});
            return;
        }
        case PtgAttr: attribute(quint8(p[1]), stack); return;
        case PtgFunc: call(get16(p + 1), fixedArgs(get16(p + 1)), stack); return;
        case PtgFuncVar: call(get16(p + 2) & 0x7FFF, quint8(p[1]) & 0x7F, stack); return;
        case PtgRef: stack.push_back(area(&host, get16(p + 1), get16(p + 1), get16(p + 3), get16(p + 3))); return;
        case PtgArea: stack.push_back(area(&host, get16(p + 1), get16(p + 3), get16(p + 5), get16(p + 7))); return;
        case PtgRef3d:
            stack.push_back(area(sheetOf(get16(p + 1)), get16(p + 3), get16(p + 3), get16(p + 5), get16(p + 5)));
            return;
        case PtgArea3d:
            stack.push_back(area(sheetOf(get16(p + 1)), get16(p + 3), get16(p + 5), get16(p + 7), get16(p + 9)));
            return;
        case PtgRefErr: case PtgAreaErr: case PtgRefErr3d: case PtgAreaErr3d: stack.push_back({error(ErrRef)}); return;
        default: throw Failed{}; // names, arrays, tables, other workbooks, tMem*
        }
    }

    static Item pop(std::vector<Item>& stack) {
        if (stack.empty())
            throw Failed{};
        Item i = std::move(stack.back());
        stack.pop_back();
        return i;
    }

    static Item area(const Sheet* sheet, int r1, int r2, quint16 c1, quint16 c2) {
        if (!sheet)
            throw Failed{};
        Item i;
        i.sheet = sheet;
        i.r1 = std::min(r1, r2);
        i.r2 = std::max(r1, r2);
        i.c1 = std::min(c1 & ColMask, c2 & ColMask);
        i.c2 = std::max(c1 & ColMask, c2 & ColMask);
        return i;
    }

    // The worksheet of this workbook an EXTERNSHEET entry names; nullptr otherwise.
    const Sheet* sheetOf(int ixti) const {
        if (ixti < 0 || size_t(ixti) >= book_.xtiSheet.size())
            return nullptr;
        const int s = book_.xtiSheet[size_t(ixti)];
        if (s < 0 || size_t(s) >= book_.sheets.size() || !book_.sheets[size_t(s)]->worksheet)
            return nullptr;
        return book_.sheets[size_t(s)].get();
    }

    // tAttr: SUM of one argument, or a hint (IF/skip jumps, spaces, volatile) that
    // changes nothing when every token is evaluated in order.
    void attribute(quint8 flags, std::vector<Item>& stack) {
        if (flags & 0x10) {
            call(FnSum, 1, stack);
            return;
        }
        if (flags & 0x04)
            throw Failed{}; // CHOOSE
    }

    static int fixedArgs(quint16 fn) {
        if (fn == FnRound)
            return 2;
        throw Failed{};
    }

    // Value of an operand: an area of one cell gives the cell's value.
    Value deref(const Item& i) {
        if (!i.sheet)
            return i.value;
        if (i.r1 != i.r2 || i.c1 != i.c2)
            throw Failed{}; // an area where one value is wanted
        return cellValue(*i.sheet, i.r1, i.c1);
    }

    Value cellValue(const Sheet& s, int row, int col) {
        const Cell* c = s.findCell(row, col);
        return c ? valueOf(s, *c) : Value{};
    }

    Value valueOf(const Sheet& s, const Cell& c) {
        switch (c.type) {
        case CellType::Number: return number(c.number);
        case CellType::Text: return text(c.text);
        case CellType::Boolean: return boolean(c.number != 0);
        case CellType::Error: return error(int(c.number));
        case CellType::Formula: {
            std::optional<Value> v = formulaValue(s, c);
            if (!v)
                throw Failed{}; // depends on a value that is not computed
            return *v;
        }
        default: return {};
        }
    }

    static Value binary(quint8 op, const Value& a, const Value& b) {
        if (op == 0x08) { // &
            if (isError(a) || isError(b))
                return isError(a) ? a : b;
            return text(toText(a) + toText(b));
        }
        if (op >= 0x09) { // < <= = >= > <>
            if (isError(a) || isError(b))
                return isError(a) ? a : b;
            const int c = compare(a, b);
            const bool results[] = {c < 0, c <= 0, c == 0, c >= 0, c > 0, c != 0};
            return boolean(results[op - 0x09]);
        }
        const Value x = toNumber(a), y = toNumber(b);
        if (isError(x) || isError(y))
            return isError(x) ? x : y;
        switch (op) {
        case 0x03: return number(x.number + y.number);
        case 0x04: return number(x.number - y.number);
        case 0x05: return number(x.number * y.number);
        case 0x06: return y.number == 0 ? error(ErrDiv0) : number(x.number / y.number);
        default: // ^
            if (x.number == 0 && y.number <= 0)
                return error(y.number == 0 ? ErrNum : ErrDiv0);
            return number(std::pow(x.number, y.number));
        }
    }

    void call(quint16 fn, int argc, std::vector<Item>& stack) {
        if (argc < 0 || size_t(argc) > stack.size())
            throw Failed{};
        std::vector<Item> args(std::make_move_iterator(stack.end() - argc), std::make_move_iterator(stack.end()));
        stack.resize(stack.size() - size_t(argc));
        switch (fn) {
        case FnIf: stack.push_back({choose(args)}); return;
        case FnRound: {
            if (args.size() != 2)
                throw Failed{};
            const Value v = toNumber(deref(args[0])), d = toNumber(deref(args[1]));
            if (isError(v) || isError(d))
                stack.push_back({isError(v) ? v : d});
            else
                stack.push_back({number(roundTo(v.number, int(std::trunc(d.number))))});
            return;
        }
        case FnCount: case FnSum: case FnAverage: case FnMin: case FnMax:
            stack.push_back({aggregate(fn, args)});
            return;
        default: throw Failed{};
        }
    }

    Value choose(const std::vector<Item>& args) {
        if (args.size() < 2 || args.size() > 3)
            throw Failed{};
        const Value c = deref(args[0]);
        bool yes = false;
        switch (c.type) {
        case CachedType::Error: return c;
        case CachedType::Text:
            if (c.text.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0) yes = true;
            else if (c.text.compare(QLatin1String("FALSE"), Qt::CaseInsensitive) != 0) return error(ErrValue);
            break;
        default: yes = c.number != 0;
        }
        if (!yes && args.size() == 2)
            return boolean(false);
        const Value v = deref(args[yes ? 1 : 2]);
        return v.type == CachedType::Empty ? number(0) : v;
    }

    // SUM, COUNT, AVERAGE, MIN, MAX: numbers in areas count, texts and booleans there
    // do not; values given directly count when they read as numbers.
    Value aggregate(quint16 fn, const std::vector<Item>& args) {
        double sum = 0, low = 0, high = 0;
        int count = 0;
        // Amounts of lei and bani are added in whole bani: added one by one as binary
        // fractions, 50,000 amounts of 12,34 would miss 617.000,00 in the last digits. Any
        // number of more decimals makes the sum an ordinary one.
        std::int64_t bani = 0;
        bool inBani = true;
        std::optional<Value> firstError;
        auto take = [&](double v) {
            low = count == 0 ? v : std::min(low, v);
            high = count == 0 ? v : std::max(high, v);
            sum += v;
            ++count;
            if (inBani) {
                const double whole = std::round(v * 100);
                inBani = std::abs(whole) < kExactInteger && whole / 100 == v &&
                         !__builtin_add_overflow(bani, std::int64_t(whole), &bani) &&
                         std::abs(double(bani)) < kExactInteger;
            }
        };
        auto takeValue = [&](const Value& v, bool direct) {
            if (v.type == CachedType::Error) {
                if (!firstError)
                    firstError = v;
            } else if (v.type == CachedType::Number) {
                take(v.number);
            } else if (direct && v.type != CachedType::Empty) {
                const Value n = toNumber(v);
                if (!isError(n))
                    take(n.number);
                else if (fn != FnCount && !firstError)
                    firstError = n;
            } else if (direct) {
                throw Failed{}; // a missing argument
            }
        };
        for (const Item& a : args) {
            if (!a.sheet) {
                takeValue(a.value, true);
                continue;
            }
            const int lastRow = std::min(a.r2, int(a.sheet->rows_.size()) - 1);
            for (int r = a.r1; r <= lastRow; ++r) {
                const Row* row = a.sheet->rows_[size_t(r)].get();
                if (!row)
                    continue;
                auto from = std::lower_bound(row->cells.begin(), row->cells.end(), a.c1,
                                             [](const Cell& c, int k) { return c.col < k; });
                for (auto it = from; it != row->cells.end() && it->col <= a.c2; ++it)
                    takeValue(valueOf(*a.sheet, *it), false);
            }
        }
        if (fn == FnCount)
            return number(count);
        if (firstError)
            return *firstError;
        if (inBani)
            sum = double(bani) / 100;
        switch (fn) {
        case FnSum: return number(sum);
        case FnAverage: return count ? number(sum / count) : error(ErrDiv0);
        case FnMin: return number(count ? low : 0);
        default: return number(count ? high : 0);
        }
    }

public:
    std::unordered_map<const Cell*, FormulaValue> computeAll() {
        std::unordered_map<const Cell*, FormulaValue> out;
        for (const auto& s : book_.sheets)
            for (const auto& r : s->rows_)
                if (r)
                    for (const Cell& c : r->cells)
                        if (c.formula)
                            if (std::optional<Value> v = formulaValue(*s, c))
                                out[&c] = {v->type, v->number, v->text};
        return out;
    }

private:
    const BookData& book_;
    std::unordered_map<const Cell*, std::optional<Value>> done_; // results so far, by cell
    std::unordered_set<const Cell*> pending_; // formulas being evaluated (circularity)
};

std::unordered_map<const Cell*, FormulaValue> computeFormulas(const BookData& book) {
    return FormulaEvaluator(book).computeAll();
}

} // namespace vartesa::workbook
