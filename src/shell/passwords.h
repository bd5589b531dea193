#pragma once
// How passwords are kept in the 32-byte password field of the users file (users_file.h).
//
// A password is stored as a salted hash of exactly 32 characters:
//
//     "$5$"  salt (6 characters)  digest (23 characters)
//
//   salt    6 characters drawn at random from the URL-safe base64 alphabet
//           (A-Z a-z 0-9 - _), new for every password stored;
//   digest  SHA-256 over salt + password (the password as Windows-1250 bytes), then 4095
//           more rounds of SHA-256 over previous digest + salt + password; the first 17
//           bytes of the last digest in URL-safe base64 without padding.
//
// An empty password stays empty, so an account added without a password logs in with an
// empty "Parola". Any other text is a password in clear written by an older release: it
// is compared exactly, and the login rewrites it hashed.
//
// Limit: a clear password of an older release that has exactly this shape (32 characters
// starting with "$5$", the rest from the alphabet above) would be taken for a hash. Those
// passwords were typed in capitals, so it would take a deliberate effort to make one.

#include <QString>

namespace vartesa {

/// True when `stored` is a salted hash in the form above.
bool isHashedPassword(const QString& stored);
/// The stored form of `password` with a fresh random salt; "" for "".
QString hashPassword(const QString& password);
/// The stored form with a given salt (6 characters of the alphabet); for tests and checks.
QString hashPassword(const QString& password, const QString& salt);
/// Does the typed password open an account whose password field holds `stored`? A hash is
/// checked against the typed text, anything else is compared exactly.
bool passwordMatches(const QString& stored, const QString& typed);

} // namespace vartesa
