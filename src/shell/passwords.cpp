#include "shell/passwords.h"

#include "db/cp1250.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QRandomGenerator>

namespace vartesa {

namespace {

constexpr QLatin1StringView kMarker{"$5$"};
constexpr int kSaltLength = 6;
constexpr int kDigestBytes = 17; // 23 characters of base64 without padding
constexpr int kRounds = 4096;    // makes guessing from a copied file slower
constexpr QLatin1StringView kAlphabet{"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_"};

bool inAlphabet(QChar c) { return c.unicode() < 128 && kAlphabet.contains(c); }

QString digestText(const QString& password, const QString& salt) {
    const QByteArray tail = salt.toLatin1() + db::stringToCp1250(password);
    QByteArray digest = QCryptographicHash::hash(tail, QCryptographicHash::Sha256);
    for (int round = 1; round < kRounds; ++round)
        digest = QCryptographicHash::hash(digest + tail, QCryptographicHash::Sha256);
    return QString::fromLatin1(digest.left(kDigestBytes).toBase64(QByteArray::Base64UrlEncoding |
                                                                   QByteArray::OmitTrailingEquals));
}

// Compares without stopping at the first difference, so the time taken tells nothing.
bool sameText(const QString& a, const QString& b) {
    if (a.size() != b.size()) return false;
    ushort diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i) diff |= a[i].unicode() ^ b[i].unicode();
    return diff == 0;
}

} // namespace

bool isHashedPassword(const QString& stored) {
    if (stored.size() != 32 || !stored.startsWith(kMarker)) return false;
    for (qsizetype i = kMarker.size(); i < stored.size(); ++i)
        if (!inAlphabet(stored[i])) return false;
    return true;
}

QString hashPassword(const QString& password, const QString& salt) {
    if (password.isEmpty()) return {};
    return kMarker + salt + digestText(password, salt);
}

QString hashPassword(const QString& password) {
    QString salt;
    for (int i = 0; i < kSaltLength; ++i)
        salt += kAlphabet[QRandomGenerator::system()->bounded(int(kAlphabet.size()))];
    return hashPassword(password, salt);
}

bool passwordMatches(const QString& stored, const QString& typed) {
    if (!isHashedPassword(stored)) return stored == typed;
    const QString salt = stored.mid(kMarker.size(), kSaltLength);
    return sameText(stored, hashPassword(typed, salt));
}

} // namespace vartesa
