#pragma once
// Text of the data folder is Windows-1250 on disk; the program works in UTF-8/UTF-16.

#include <QByteArray>
#include <QString>

namespace vartesa::db {

/// Appends the UTF-8 form of `len` Windows-1250 bytes to `out`.
void cp1250ToUtf8(const char* bytes, int len, QByteArray& out);

/// Decodes Windows-1250 bytes into a QString.
QString cp1250ToString(const char* bytes, int len);

/// Encodes a text as Windows-1250. The Romanian letters with comma below (s, t) are
/// stored as their cedilla forms, which the code page has; other letters it lacks become '?'.
QByteArray stringToCp1250(const QString& text);

/// The text with the comma-below letters ș ț Ș Ț turned into the cedilla letters ş ţ Ş Ţ
/// the tables hold: a Romanian keyboard types the first, the data folder keeps the second.
/// Every comparison of a typed name with a stored one goes through it.
QString storedLetters(const QString& text);

/// Whether two names are the same once both are in the stored letters.
bool sameLetters(const QString& a, const QString& b, Qt::CaseSensitivity cs = Qt::CaseSensitive);

/// The Unicode code point of one Windows-1250 byte.
char16_t cp1250CodePoint(unsigned char byte);

} // namespace vartesa::db
