// A small recursive-descent compiler from formula text to BIFF8 tokens.

#include "workbook/formula_text.h"

#include "workbook/biff_records.h"
#include "workbook/formula_tokens.h"
#include "workbook/workbook.h"

#include "db/error.h"

#include <QRegularExpression>

namespace vartesa::workbook {

namespace {

struct Function {
    const char* name;
    quint16 index;  // built-in function number
    int minArgs, maxArgs; // equal: fixed argument count (tFunc), else tFuncVar
    bool references; // arguments are taken as references (ranges), not values
};

const Function Functions[] = {
    {"COUNT", 0, 0, 30, true},    {"IF", 1, 2, 3, false},       {"SUM", 4, 1, 30, true},
    {"AVERAGE", 5, 1, 30, true},  {"MIN", 6, 1, 30, true},      {"MAX", 7, 1, 30, true},
    {"ABS", 24, 1, 1, false},     {"INT", 25, 1, 1, false},     {"ROUND", 27, 2, 2, false},
    {"LEN", 32, 1, 1, false},     {"AND", 36, 1, 30, true},     {"OR", 37, 1, 30, true},
    {"NOT", 38, 1, 1, false},     {"MOD", 39, 2, 2, false},     {"TEXT", 48, 2, 2, false},
    {"COUNTA", 169, 0, 30, true}, {"TRUNC", 197, 1, 2, false},  {"ROUNDUP", 212, 2, 2, false},
    {"ROUNDDOWN", 213, 2, 2, false}, {"TODAY", 221, 0, 0, false}, {"CONCATENATE", 336, 1, 30, false},
    {"SUMIF", 345, 2, 3, true},
};

class Compiler {
public:
    explicit Compiler(const QString& text) : s_(text) {}

    QByteArray run() {
        comparison(false);
        skipSpace();
        if (pos_ < s_.size())
            fail();
        return out_;
    }

private:
    [[noreturn]] void fail() const {
        throw Error(QStringLiteral("Formula nu poate fi citita: =%1").arg(s_), QStringLiteral("xls"));
    }
    void skipSpace() {
        while (pos_ < s_.size() && s_[pos_].isSpace())
            ++pos_;
    }
    bool take(const QString& op) {
        skipSpace();
        if (s_.mid(pos_, op.size()) != op)
            return false;
        pos_ += op.size();
        return true;
    }

    void comparison(bool refs) {
        concat(refs);
        static const std::pair<const char*, quint8> ops[] = {{"<>", 0x0E}, {"<=", 0x0A}, {">=", 0x0C},
                                                             {"<", 0x09}, {">", 0x0D}, {"=", 0x0B}};
        for (;;) {
            bool found = false;
            for (auto [op, ptg] : ops)
                if (take(QLatin1String(op))) {
                    concat(refs);
                    put8(out_, ptg);
                    found = true;
                    break;
                }
            if (!found)
                return;
        }
    }
    void concat(bool refs) {
        additive(refs);
        while (take(QStringLiteral("&"))) {
            additive(refs);
            put8(out_, 0x08);
        }
    }
    void additive(bool refs) {
        term(refs);
        for (;;) {
            if (take(QStringLiteral("+"))) { term(refs); put8(out_, 0x03); }
            else if (take(QStringLiteral("-"))) { term(refs); put8(out_, 0x04); }
            else return;
        }
    }
    void term(bool refs) {
        power(refs);
        for (;;) {
            if (take(QStringLiteral("*"))) { power(refs); put8(out_, 0x05); }
            else if (take(QStringLiteral("/"))) { power(refs); put8(out_, 0x06); }
            else return;
        }
    }
    // A sign binds tighter than the power operator, as in every spreadsheet program:
    // -2^2 is (-2)^2 = 4 and 2^-1 is 0.5.
    void power(bool refs) {
        unary(refs);
        while (take(QStringLiteral("^"))) {
            unary(refs);
            put8(out_, 0x07);
        }
    }
    void unary(bool refs) {
        if (take(QStringLiteral("-"))) { unary(refs); put8(out_, 0x13); return; }
        if (take(QStringLiteral("+"))) { unary(refs); return; }
        primary(refs);
    }

    void primary(bool refs) {
        skipSpace();
        if (pos_ >= s_.size())
            fail();
        if (take(QStringLiteral("("))) {
            comparison(refs);
            if (!take(QStringLiteral(")")))
                fail();
            put8(out_, PtgParen);
            return;
        }
        if (s_[pos_] == '"') {
            QString text;
            for (++pos_;; ++pos_) {
                if (pos_ >= s_.size())
                    fail();
                if (s_[pos_] == '"') {
                    if (pos_ + 1 < s_.size() && s_[pos_ + 1] == '"') { text += '"'; ++pos_; continue; }
                    ++pos_;
                    break;
                }
                text += s_[pos_];
            }
            if (text.size() > 255)
                fail();
            put8(out_, PtgStr);
            out_ += encodeUnicodeString(text, 1);
            return;
        }
        static const QRegularExpression number(QStringLiteral("\\G\\d+(\\.\\d+)?([eE][-+]?\\d+)?"));
        if (auto m = number.match(s_, pos_); m.hasMatch()) {
            pos_ += m.capturedLength();
            double v = m.captured().toDouble();
            // Whole numbers that fit 16 bits take the short integer token; the range is
            // checked before the conversion, which is undefined for larger values.
            const bool plain = !m.captured().contains('.') && !m.captured().contains('e', Qt::CaseInsensitive);
            if (plain && v <= 65535.0) {
                put8(out_, PtgInt);
                put16(out_, quint16(v));
            } else {
                put8(out_, PtgNum);
                putF64(out_, v);
            }
            return;
        }
        static const QRegularExpression word(QStringLiteral("\\G[$A-Za-z][$A-Za-z0-9_.]*"));
        auto m = word.match(s_, pos_);
        if (!m.hasMatch())
            fail();
        const QString w = m.captured();
        pos_ += w.size();
        skipSpace();
        if (pos_ < s_.size() && s_[pos_] == '(') {
            ++pos_;
            call(w.toUpper());
            return;
        }
        if (w.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0 ||
            w.compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0) {
            put8(out_, PtgBool);
            put8(out_, w.toUpper() == QLatin1String("TRUE") ? 1 : 0);
            return;
        }
        int r1, c1;
        bool ra1, ca1;
        if (!parseCellName(w, r1, c1, &ra1, &ca1))
            fail();
        quint16 col1 = quint16(c1 | (ra1 ? 0 : ColRowRelative) | (ca1 ? 0 : ColColRelative));
        if (take(QStringLiteral(":"))) {
            auto m2 = word.match(s_, pos_);
            int r2, c2;
            bool ra2, ca2;
            if (!m2.hasMatch() || !parseCellName(m2.captured(), r2, c2, &ra2, &ca2))
                fail();
            pos_ += m2.capturedLength();
            quint16 col2 = quint16(c2 | (ra2 ? 0 : ColRowRelative) | (ca2 ? 0 : ColColRelative));
            put8(out_, refs ? 0x25 : 0x45);
            put16(out_, quint16(r1)); put16(out_, quint16(r2)); put16(out_, col1); put16(out_, col2);
            return;
        }
        put8(out_, refs ? 0x24 : 0x44);
        put16(out_, quint16(r1));
        put16(out_, col1);
    }

    void call(const QString& name) {
        const Function* fn = nullptr;
        for (const Function& f : Functions)
            if (name == QLatin1String(f.name))
                fn = &f;
        if (!fn)
            fail();
        int args = 0;
        if (!take(QStringLiteral(")"))) {
            do {
                comparison(fn->references);
                ++args;
            } while (take(QStringLiteral(",")) || take(QStringLiteral(";")));
            if (!take(QStringLiteral(")")))
                fail();
        }
        if (args < fn->minArgs || args > fn->maxArgs)
            fail();
        if (fn->minArgs == fn->maxArgs) {
            put8(out_, 0x41); // tFunc, value class
            put16(out_, fn->index);
        } else {
            put8(out_, 0x42); // tFuncVar, value class
            put8(out_, quint8(args));
            put16(out_, fn->index);
        }
    }

    const QString s_;  // formula text
    qsizetype pos_ = 0; // next character
    QByteArray out_;   // tokens so far
};

} // namespace

bool parseCellName(const QString& text, int& row, int& col, bool* rowAbsolute, bool* colAbsolute) {
    static const QRegularExpression re(QStringLiteral("^(\\$?)([A-Za-z]{1,2})(\\$?)(\\d{1,5})$"));
    auto m = re.match(text);
    if (!m.hasMatch())
        return false;
    col = 0;
    for (QChar ch : m.captured(2).toUpper())
        col = col * 26 + (ch.unicode() - 'A' + 1);
    col -= 1;
    row = m.captured(4).toInt() - 1;
    if (colAbsolute)
        *colAbsolute = !m.captured(1).isEmpty();
    if (rowAbsolute)
        *rowAbsolute = !m.captured(3).isEmpty();
    return row >= 0 && row < MaxRows && col < MaxColumns;
}

QByteArray compileFormula(const QString& text) {
    return Compiler(text).run();
}

} // namespace vartesa::workbook
