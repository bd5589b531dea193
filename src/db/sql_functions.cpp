// Functions registered with SQLite where its own differ from what the program expects:
// UPPER and LIKE know the Romanian letters, CAST(... AS FLOAT) gives NULL for a text that
// is not a number, and CAST(... AS CHAR(n)) cuts to n characters.

#include "cp1250.h"

#include <QList>
#include <QString>

#include <cmath>
#include <cstring>
#include <sqlite3.h>
#include <vector>

namespace vartesa::db {
namespace {

// Upper case used for comparing: the comma-below letters meet their cedilla twins.
char32_t fold(char32_t c) {
    if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - 32 : c;
    switch (c) {
    case 0x0219: case 0x0218: case 0x015F: return 0x015E; // s with comma or cedilla
    case 0x021B: case 0x021A: case 0x0163: return 0x0162; // t with comma or cedilla
    default: break;
    }
    return c <= 0xFFFF ? char32_t(QChar::toUpper(char16_t(c))) : c;
}

std::vector<char32_t> foldedText(sqlite3_value* v) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    const int n = sqlite3_value_bytes(v);
    std::vector<char32_t> out;
    out.reserve(size_t(n));
    for (char32_t c : QString::fromUtf8(p, n).toUcs4()) out.push_back(fold(c));
    return out;
}

// Pattern match with % (any run) and _ (one character); `escape` makes the next one plain.
bool likeMatch(const std::vector<char32_t>& pat, const std::vector<char32_t>& text, char32_t escape) {
    size_t p = 0, t = 0, starP = SIZE_MAX, starT = 0;
    while (t < text.size()) {
        if (p < pat.size() && pat[p] == escape && p + 1 < pat.size()) {
            if (pat[p + 1] == text[t]) {
                p += 2;
                ++t;
                continue;
            }
        } else if (p < pat.size() && pat[p] == U'%') {
            starP = p++;
            starT = t;
            continue;
        } else if (p < pat.size() && (pat[p] == U'_' || pat[p] == text[t])) {
            ++p;
            ++t;
            continue;
        }
        if (starP == SIZE_MAX) return false;
        p = starP + 1;
        t = ++starT;
    }
    while (p < pat.size() && pat[p] == U'%') ++p;
    return p == pat.size();
}

void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    char32_t escape = 0xFFFFFFFF;
    if (argc == 3) {
        const std::vector<char32_t> e = foldedText(argv[2]);
        if (e.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE trebuie sa fie un singur caracter", -1);
            return;
        }
        escape = e[0];
    }
    sqlite3_result_int(ctx, likeMatch(foldedText(argv[0]), foldedText(argv[1]), escape));
}

void upperFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    // In the stored letters, so that an upper-cased column meets an upper-cased typed name.
    const QByteArray up = storedLetters(QString::fromUtf8(p, sqlite3_value_bytes(argv[0])).toUpper()).toUtf8();
    sqlite3_result_text(ctx, up.constData(), int(up.size()), SQLITE_TRANSIENT);
}

// A strict reading of a number: optional sign, digits, optional decimals and exponent,
// surrounding blanks allowed. Anything else is not a number.
bool strictNumber(const char* s, double& out) {
    while (*s == ' ' || *s == '\t') ++s;
    const char* start = s;
    if (*s == '+' || *s == '-') ++s;
    int digits = 0;
    while (*s >= '0' && *s <= '9') ++s, ++digits;
    if (*s == '.') {
        ++s;
        while (*s >= '0' && *s <= '9') ++s, ++digits;
    }
    if (digits == 0) return false;
    if (*s == 'e' || *s == 'E') {
        const char* e = s + 1;
        if (*e == '+' || *e == '-') ++e;
        if (*e < '0' || *e > '9') return false;
        while (*e >= '0' && *e <= '9') ++e;
        s = e;
    }
    const char* end = s;
    while (*s == ' ' || *s == '\t') ++s;
    if (*s) return false;
    out = std::strtod(std::string(start, size_t(end - start)).c_str(), nullptr);
    return true;
}

void floatFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL: sqlite3_result_null(ctx); return;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: sqlite3_result_double(ctx, sqlite3_value_double(argv[0])); return;
    default: {
        double d = 0;
        if (strictNumber(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])), d))
            sqlite3_result_double(ctx, d);
        else
            sqlite3_result_null(ctx);
    }
    }
}

void charFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    QString text;
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL: sqlite3_result_null(ctx); return;
    case SQLITE_INTEGER: text = QString::number(sqlite3_value_int64(argv[0])); break;
    case SQLITE_FLOAT: {
        const double d = sqlite3_value_double(argv[0]);
        text = d == std::floor(d) && std::abs(d) < 1e15 ? QString::number(qlonglong(d)) : QString::number(d, 'g', 15);
        break;
    }
    default:
        text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])),
                                 sqlite3_value_bytes(argv[0]));
    }
    const QByteArray out = text.left(std::max(0, sqlite3_value_int(argv[1]))).toUtf8();
    sqlite3_result_text(ctx, out.constData(), int(out.size()), SQLITE_TRANSIENT);
}

// Reads `n` digits at `p` into `value`; false when one is not a digit.
bool digitsAt(const unsigned char* p, int n, int& value) {
    value = 0;
    for (int i = 0; i < n; ++i) {
        if (p[i] < '0' || p[i] > '9') return false;
        value = value * 10 + (p[i] - '0');
    }
    return true;
}

// The day of a date text as yyyymmdd: the loaded copy's yyyy-mm-dd or the program's
// dd.mm.yyyy (one-digit day and month allowed). False for any other text.
bool dateKey(const unsigned char* p, int n, int& key) {
    int y = 0, m = 0, d = 0;
    if (n == 10 && p[4] == '-' && p[7] == '-') {
        if (!digitsAt(p, 4, y) || !digitsAt(p + 5, 2, m) || !digitsAt(p + 8, 2, d)) return false;
    } else {
        const auto* first = static_cast<const unsigned char*>(std::memchr(p, '.', size_t(n)));
        if (!first) return false;
        const int dayLen = int(first - p);
        const auto* second =
            static_cast<const unsigned char*>(std::memchr(first + 1, '.', size_t(n - dayLen - 1)));
        if (!second) return false;
        const int monthLen = int(second - first - 1);
        const int yearLen = n - dayLen - monthLen - 2;
        if (dayLen < 1 || dayLen > 2 || monthLen < 1 || monthLen > 2 || yearLen != 4) return false;
        if (!digitsAt(p, dayLen, d) || !digitsAt(first + 1, monthLen, m) || !digitsAt(second + 1, 4, y))
            return false;
    }
    key = y * 10000 + m * 100 + d;
    return true;
}

// Order of DATE columns: a date written either way meets the same day, so a bound
// "15.01.2024" finds the rows of that day; texts that are no date sort after every date.
int dateCollation(void*, int n1, const void* a, int n2, const void* b) {
    const auto* p = static_cast<const unsigned char*>(a);
    const auto* q = static_cast<const unsigned char*>(b);
    int ka = 0, kb = 0;
    const bool da = dateKey(p, n1, ka), db = dateKey(q, n2, kb);
    if (da && db) return ka < kb ? -1 : ka > kb ? 1 : 0;
    if (da != db) return da ? -1 : 1;
    const int c = std::memcmp(p, q, size_t(std::min(n1, n2)));
    return c != 0 ? c : n1 - n2;
}

} // namespace

void registerSqlFunctions(sqlite3* db) {
    sqlite3_create_collation_v2(db, "vt_date", SQLITE_UTF8, nullptr, dateCollation, nullptr);
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function_v2(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "upper", 1, flags, nullptr, upperFunction, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "vt_float", 1, flags, nullptr, floatFunction, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "vt_char", 2, flags, nullptr, charFunction, nullptr, nullptr, nullptr);
}

} // namespace vartesa::db
