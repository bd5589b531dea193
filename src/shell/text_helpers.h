#pragma once
// Small text, number and validation helpers every screen uses.

#include <QDate>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace vartesa {

/// A date as the documents and lists write it, dd.MM.yyyy; "" for no date.
QString DateText(const QDate& d);

/// Trims both ends and replaces every run of spaces by one space.
QString CollapseSpaces(const QString& text);

/// The first character of `text` the tables cannot hold (outside Windows-1250; the letters
/// with comma below count as their cedilla forms, which it has), or an empty text.
QString UnstorableCharacter(const QString& text);
/// The text before the first space (all of it when there is none).
QString FirstWord(const QString& text);
/// The text after the first space, trimmed ("" when there is no space).
QString AfterFirstWord(const QString& text);
/// Trims and puts " AND " between ")(" so bracketed conditions chain into one filter.
QString JoinWithAnd(const QString& text);
/// All lines of a memo joined without separator.
QString MemoText(const QStringList& lines);
/// True when `a` comes before `b` in Romanian alphabetical order: a, ă, â, b ... i, î ...
/// s, ş, t, ţ ... z, capitals and small letters alike, ş and ș (ţ and ț) alike; a space
/// comes before any letter, so "POP ION" precedes "POPA ANA". For lists of names on screens.
bool RomanianLess(const QString& a, const QString& b);
/// A number as a clerk types it: digits with at most one decimal separator, the comma
/// ("1,5", as Romanian is written) or the point ("1.5"); no sign, no thousands separator.
struct TypedDecimal {
    QString whole;    // digits before the separator, leading zeros dropped
    QString fraction; // digits after it, trailing zeros dropped
    /// The number itself: "1,5" gives 1.5.
    double value() const;
};
/// The typed number, or nothing when `text` is not one ("1,5,0", "1a", "-2", ",").
std::optional<TypedDecimal> ParseTypedDecimal(const QString& text);
/// Why `text` cannot stand, even half typed, in a number field of `wholeDigits` digits before
/// the separator and `decimals` after it (0: a whole number); empty when it can. An empty
/// text and a separator not yet followed by decimals can: the clerk is still typing.
QString NumberFieldHint(const QString& text, int wholeDigits, int decimals);
/// Half away from zero: 2.5 gives 3, -2.5 gives -3, -0.5 gives -1.
std::int64_t RoundToInt(double value);
/// Romanian words for the whole-lei part of an amount: "1250" gives
/// "unamiidouasutecincizeci". Thousands separators (",") are dropped, decimals ignored.
QString AmountInWords(const QString& amount);

/// The five tax groups shared by every screen, in their order.
const QStringList& TaxGroups();
/// 1 to 4 for the four main taxes (compared without regard to case), 5 for any other name.
int GroupIndex(const QString& name);

/// A Romanian IBAN: 24 letters and digits after dropping the rest, "RO", two check digits
/// and the ISO 13616 check.
bool IsValidIban(const QString& text);
/// The Romanian fiscal code check (3 to 10 digits, control digit last).
bool IsValidFiscalCode(const QString& text);

} // namespace vartesa
