#include "text_helpers.h"

#include "db/cp1250.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace vartesa {

QString CollapseSpaces(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text.trimmed()) {
        if (c == ' ' && out.endsWith(' ')) continue;
        out += c;
    }
    return out;
}

QString FirstWord(const QString& text) {
    const qsizetype space = text.indexOf(' ');
    return space < 0 ? text : text.left(space);
}

QString AfterFirstWord(const QString& text) {
    const qsizetype space = text.indexOf(' ');
    return space < 0 ? QString() : text.mid(space + 1).trimmed();
}

QString JoinWithAnd(const QString& text) {
    return text.trimmed().replace(QStringLiteral(")("), QStringLiteral(") AND ("));
}

QString MemoText(const QStringList& lines) { return lines.join(QString()); }

namespace {

// Place of a character in the Romanian order: each letter of the Latin alphabet keeps its
// place, and the letters with diacritics sit right after their base letter.
char32_t romanianWeight(QChar c) {
    const char16_t u = c.toUpper().unicode();
    switch (u) {
    case u'\u0102': return U'A' * 4 + 1; // Ă
    case u'\u00C2': return U'A' * 4 + 2; // Â
    case u'\u00CE': return U'I' * 4 + 1; // Î
    case u'\u015E':                      // Ş
    case u'\u0218': return U'S' * 4 + 1; // Ș
    case u'\u0162':                      // Ţ
    case u'\u021A': return U'T' * 4 + 1; // Ț
    default: return char32_t(u) * 4;
    }
}

} // namespace

bool RomanianLess(const QString& a, const QString& b) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char32_t x = romanianWeight(a[i]);
        const char32_t y = romanianWeight(b[i]);
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

double TypedDecimal::value() const {
    const QString text = (whole.isEmpty() ? QStringLiteral("0") : whole) +
                         (fraction.isEmpty() ? QString() : QLatin1Char('.') + fraction);
    return text.toDouble();
}

namespace {

// Digits, then at most one separator and digits; the parts as typed.
struct NumberParts {
    QString whole, fraction;
    bool separator = false;
};

std::optional<NumberParts> numberParts(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^(\\d*)(?:([.,])(\\d*))?$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch()) return std::nullopt;
    return NumberParts{m.captured(1), m.captured(3), m.capturedLength(2) > 0};
}

} // namespace

std::optional<TypedDecimal> ParseTypedDecimal(const QString& text) {
    const std::optional<NumberParts> p = numberParts(text);
    if (!p || (p->whole.isEmpty() && p->fraction.isEmpty())) return std::nullopt;
    TypedDecimal d{p->whole, p->fraction};
    while (d.whole.startsWith('0')) d.whole.remove(0, 1);
    while (d.fraction.endsWith('0')) d.fraction.chop(1);
    return d;
}

QString NumberFieldHint(const QString& text, int wholeDigits, int decimals) {
    const std::optional<NumberParts> p = numberParts(text);
    if (!p) return decimals > 0 ? QStringLiteral("Aici se scrie un numar: cifre si cel mult o virgula!")
                                : QStringLiteral("Aici se scrie un numar intreg: doar cifre!");
    if (p->separator && decimals == 0) return QStringLiteral("Aici se scrie un numar intreg, fara virgula!");
    if (p->fraction.size() > decimals) return QStringLiteral("Aici incap cel mult %1 zecimale!").arg(decimals);
    if (p->whole.size() > wholeDigits)
        return decimals > 0 ? QStringLiteral("Aici incap cel mult %1 cifre inainte de virgula!").arg(wholeDigits)
                            : QStringLiteral("Aici incap cel mult %1 cifre!").arg(wholeDigits);
    return {};
}

std::int64_t RoundToInt(double value) {
    // std::round is half away from zero without the error of adding 0.5 to 0.49999999999999994.
    return static_cast<std::int64_t>(std::round(value));
}

namespace {

const char* const kDigits[10] = {"", "una", "doua", "trei", "patru", "cinci", "sase", "sapte", "opt", "noua"};

// Words of one group of three digits; empty for 000.
QString groupWords(int h, int t, int u) {
    QString s;
    if (h == 1) s += QStringLiteral("unasuta");
    else if (h > 1) s += QLatin1String(kDigits[h]) + QStringLiteral("sute");
    const int tu = t * 10 + u;
    if (tu >= 1 && tu <= 9) s += QLatin1String(kDigits[u]);
    else if (tu == 10) s += QStringLiteral("zece");
    else if (tu == 11) s += QStringLiteral("unsprezece");
    else if (tu == 12) s += QStringLiteral("doisprezece");
    else if (tu >= 13 && tu <= 19) s += QLatin1String(kDigits[u]) + QStringLiteral("sprezece");
    else if (tu >= 20) {
        s += QLatin1String(kDigits[t]) + QStringLiteral("zeci");
        if (u) s += QStringLiteral("si") + QLatin1String(kDigits[u]);
    }
    return s;
}

} // namespace

QString AmountInWords(const QString& amount) {
    QString text = amount.trimmed().remove(',');
    if (text.isEmpty()) text = QStringLiteral("0");
    if (text.startsWith('.')) text.prepend('0');
    QString whole = text.left(text.indexOf('.') < 0 ? text.size() : text.indexOf('.'));
    whole.remove(QRegularExpression(QStringLiteral("[^0-9]")));
    if (whole.isEmpty()) whole = QStringLiteral("0");
    while (whole.size() % 3) whole.prepend('0');
    static const char* const kScale[5] = {"", "", "mii", "milioane", "miliarde"};
    QString out;
    const int groups = int(whole.size() / 3);
    for (int g = 0; g < groups; ++g) {
        const int p = groups - g;
        const QString words = groupWords(whole[3 * g].digitValue(), whole[3 * g + 1].digitValue(),
                                         whole[3 * g + 2].digitValue());
        if (words.isEmpty()) continue;
        out += words;
        if (p >= 2 && p <= 4) out += QLatin1String(kScale[p]);
    }
    if (out.isEmpty()) return QStringLiteral("zero");
    if (out.endsWith(QLatin1String("una"))) out.chop(1), out += 'u';
    else if (out.size() > 3 && out.endsWith(QLatin1String("doua"))) out.chop(4), out += QStringLiteral("doi");
    return out;
}

const QStringList& TaxGroups() {
    static const QStringList groups = {QStringLiteral("Impozit pe cladiri"), QStringLiteral("Impozit pe teren intravilan"),
                                       QStringLiteral("Impozit pe teren extravilan"),
                                       QStringLiteral("Impozit pe mijloace de transport"), QStringLiteral("Alte taxe")};
    return groups;
}

int GroupIndex(const QString& name) {
    for (int i = 0; i < 4; ++i)
        if (TaxGroups()[i].compare(name, Qt::CaseInsensitive) == 0) return i + 1;
    return 5;
}

bool IsValidIban(const QString& text) {
    QString s;
    for (QChar c : text.toUpper())
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) s += c;
    if (s.size() != 24 || !s.startsWith(QLatin1String("RO")) || !s[2].isDigit() || !s[3].isDigit()) return false;
    const QString moved = s.mid(4) + s.left(4);
    QString digits;
    for (QChar c : moved) digits += c.isDigit() ? QString(c) : QString::number(c.unicode() - 'A' + 10);
    int r = 0;
    qsizetype i = 0;
    for (; i + 1 < digits.size(); i += 2) r = (r * 100 + digits.mid(i, 2).toInt()) % 97;
    if (i < digits.size()) r = (r * 10 + digits[i].digitValue()) % 97;
    return r == 1;
}

bool IsValidFiscalCode(const QString& text) {
    if (text.size() < 3 || text.size() > 10) return false;
    for (QChar c : text)
        if (!c.isDigit()) return false;
    const QString code = text.rightJustified(10, '0');
    static const int kWeights[9] = {7, 5, 3, 2, 1, 7, 5, 3, 2};
    int sum = 0;
    for (int i = 0; i < 9; ++i) sum += code[i].digitValue() * kWeights[i];
    return code[9].digitValue() == (sum * 10 % 11) % 10;
}

QString UnstorableCharacter(const QString& text) {
    for (const char32_t c : text.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        if (c != U'?' && db::stringToCp1250(one) == "?") return one;
    }
    return {};
}

QString DateText(const QDate& d) { return d.toString(QStringLiteral("dd.MM.yyyy")); }

} // namespace vartesa
