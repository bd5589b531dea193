#include "fillers/rtf_replace.h"

#include "db/cp1250.h"
#include "db/error.h"
#include "shell/services.h"

#include <QFile>
#include <QFileInfo>

namespace vartesa {

namespace {

const QByteArray kPard = QByteArrayLiteral("\\pard");
const QByteArray kEmptyBody = QByteArrayLiteral(".........."); // an empty value in a body
const QByteArray kLineEnd = QByteArrayLiteral("\r\n");          // templates are Windows text

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

/// Position of `needle` in `hay` from `from` on, ASCII letters compared without regard to
/// case (keys are plain ASCII words); -1 when absent.
qsizetype findNoCase(const QByteArray& hay, const QByteArray& needle, qsizetype from) {
    if (needle.isEmpty()) return -1;
    auto matchesAt = [&](qsizetype i) {
        qsizetype j = 0;
        while (j < needle.size() && lowerAscii(hay[i + j]) == lowerAscii(needle[j])) ++j;
        return j == needle.size();
    };
    const char first = needle[0];
    if (lowerAscii(first) == first && (first < 'a' || first > 'z')) {
        // A key opened by a bracket or a dot: only its first character's places are tried,
        // so the many lines of a body that hold no placeholder cost one quick scan per key.
        for (qsizetype i = hay.indexOf(first, from); i >= 0 && i + needle.size() <= hay.size();
             i = hay.indexOf(first, i + 1))
            if (matchesAt(i)) return i;
        return -1;
    }
    for (qsizetype i = from; i + needle.size() <= hay.size(); ++i)
        if (matchesAt(i)) return i;
    return -1;
}

int braceBalance(const QByteArray& line) { return int(line.count('{')) - int(line.count('}')); }

/// Takes `path` for a new document: free when missing, or when it can be deleted and no
/// office suite holds it (its lock file ".~lock.<name>#" lies beside it).
bool takePath(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return true;
    if (QFileInfo::exists(info.path() + QStringLiteral("/.~lock.") + info.fileName() + '#')) return false;
    return QFile::remove(path);
}

/// One piece of a line being filled: template text, or a value already put in, which
/// later keys must not search (an address "Bl.C1." must keep its ".C1.").
struct Piece {
    QByteArray text;
    bool inserted;
};

/// The next occurrence of `key` in the template text of `pieces`, from piece `p`, byte `from`.
bool findInPieces(const std::vector<Piece>& pieces, const QByteArray& key, size_t& p, qsizetype& from) {
    for (; p < pieces.size(); ++p, from = 0) {
        if (pieces[p].inserted) continue;
        const qsizetype at = findNoCase(pieces[p].text, key, from);
        if (at >= 0) {
            from = at;
            return true;
        }
    }
    return false;
}

/// Puts `value` in place of the key found at piece `p`, byte `at`; returns the index of
/// the template text that follows it.
size_t insertAt(std::vector<Piece>& pieces, size_t p, qsizetype at, qsizetype keyLength, const QByteArray& value) {
    const QByteArray text = pieces[p].text;
    pieces[p].text = text.left(at);
    pieces.insert(pieces.begin() + qsizetype(p) + 1,
                  {Piece{value, true}, Piece{text.mid(at + keyLength), false}});
    return p + 2;
}

QByteArray joinPieces(const std::vector<Piece>& pieces) {
    QByteArray out;
    for (const Piece& piece : pieces) out += piece.text;
    return out;
}

} // namespace

TRTFReplace::TRTFReplace(Desktop& desktop) : desktop_(desktop) {}

bool TRTFReplace::FindFreeDest(const QString& base) {
    for (int n = 0; n <= 999; ++n) {
        const QString candidate = base + QString::number(n) + QStringLiteral(".rtf");
        if (takePath(candidate)) {
            RTFDest = candidate;
            return true;
        }
    }
    return false;
}

std::vector<QByteArray> TRTFReplace::readTemplate() const {
    QFile file(RTFSursa);
    if (RTFSursa.isEmpty() || !file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Modelul %1 nu poate fi citit!").arg(RTFSursa), RTFSursa);
    const QByteArray bytes = file.readAll();
    std::vector<QByteArray> lines;
    for (QByteArray line : bytes.split('\n')) {
        if (line.endsWith('\r')) line.chop(1);
        lines.push_back(line);
    }
    if (bytes.endsWith('\n')) lines.pop_back(); // the split leaves an empty piece after the last line end
    return lines;
}

void TRTFReplace::appendLines(const std::vector<QByteArray>& lines) {
    QFile file(RTFDest);
    if (RTFDest.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Append))
        throw Error(QStringLiteral("Documentul %1 nu poate fi scris!").arg(RTFDest), RTFDest);
    for (const QByteArray& line : lines)
        if (file.write(line + kLineEnd) < 0)
            throw Error(QStringLiteral("Documentul %1 nu poate fi scris!").arg(RTFDest), RTFDest);
}

bool TRTFReplace::WriteHeader() {
    if (RTFSursa.isEmpty() || !QFileInfo(RTFSursa).isFile() || RTFDest.isEmpty()) return false;
    QFile source(RTFSursa);
    if (!source.open(QIODevice::ReadOnly)) return false;
    const bool empty = source.size() == 0;
    source.close();
    QFile dest(RTFDest);
    if (!dest.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    dest.close();
    if (empty) {
        QFile::remove(RTFDest);
        return false;
    }
    std::vector<QByteArray> header;
    try {
        for (const QByteArray& line : readTemplate()) {
            const qsizetype at = line.indexOf(kPard);
            if (at < 0) {
                header.push_back(line);
                continue;
            }
            const QByteArray before = line.left(at).trimmed();
            if (!before.isEmpty()) header.push_back(before);
            break;
        }
        appendLines(header);
    } catch (const Error&) {
        return false;
    }
    ClearValues();
    return true;
}

QByteArray TRTFReplace::EscapeValue(const QString& value) { return escape(value, true); }

QByteArray TRTFReplace::EscapeText(const QString& text) { return escape(text, false); }

QByteArray TRTFReplace::escape(const QString& value, bool tabMarks) {
    QByteArray out;
    const QList<uint> points = value.toUcs4();
    for (qsizetype i = 0; i < points.size(); ++i) {
        const uint c = points[i];
        if (c == '{') {
            out += '(';
        } else if (c == '}') {
            out += ')';
        } else if (c == '\\') {
            // "\tab" is the tab mark the notices put between columns; any other backslash
            // would start a control word, so it is written as a literal backslash.
            const bool tab = tabMarks && i + 3 < points.size() && points[i + 1] == 't' && points[i + 2] == 'a' &&
                             points[i + 3] == 'b' &&
                             (i + 4 >= points.size() || !QChar::isLetter(char32_t(points[i + 4])));
            out += tab ? QByteArrayLiteral("\\") : QByteArrayLiteral("\\\\");
        } else if (c < 0x80) {
            out += char(c);
        } else {
            const QByteArray encoded = db::stringToCp1250(QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1));
            if (encoded.size() == 1 && encoded[0] != '?') {
                const unsigned char b = static_cast<unsigned char>(encoded[0]);
                if (b == 0xAA) out += QByteArrayLiteral("\\'aa");      // S with cedilla
                else if (b == 0xDE) out += QByteArrayLiteral("\\'de"); // T with cedilla
                else out += encoded;
            } else {
                // Not in the code page: a Unicode escape with '?' for readers that lack it.
                for (const QChar unit : QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1))
                    out += "\\u" + QByteArray::number(qint16(unit.unicode())) + '?';
            }
        }
    }
    return out;
}

void TRTFReplace::AddValue(const QString& key, const QString& value) {
    keys_.push_back(db::stringToCp1250(key));
    values_.push_back(EscapeValue(value));
}

void TRTFReplace::AddEscapedValue(const QString& key, const QByteArray& escaped) {
    keys_.push_back(db::stringToCp1250(key));
    values_.push_back(escaped);
}

void TRTFReplace::ClearValues() {
    keys_.clear();
    values_.clear();
    cursor_ = -1; // a repeated placeholder never carries over to the next document
}

int TRTFReplace::runLength(int k) const {
    int r = 1;
    while (size_t(k + r) < keys_.size() && keys_[size_t(k + r)] == keys_[size_t(k)]) ++r;
    return r;
}

QByteArray TRTFReplace::replaceBodyLine(const QByteArray& line) {
    std::vector<Piece> pieces{Piece{line, false}};
    bool found = false;
    for (int k = 0; k < int(keys_.size()); ++k) {
        const QByteArray key = keys_[size_t(k)];
        size_t p = 0;
        qsizetype from = 0;
        while (findInPieces(pieces, key, p, from)) {
            found = true;
            if (cursor_ >= 0 && keys_[size_t(cursor_)] == key) k = cursor_;
            const QByteArray& value = values_[size_t(k)];
            p = insertAt(pieces, p, from, key.size(), value.isEmpty() ? kEmptyBody : value);
            from = 0;
            const int r = runLength(k);
            if (r == 1 && cursor_ >= 0 && keys_[size_t(cursor_)] == key) cursor_ = -1;
            if (r > 1) {
                cursor_ = k + 1;
                k = k + r - 1;
            }
        }
    }
    if (!found) cursor_ = -1;
    return joinPieces(pieces);
}

QByteArray TRTFReplace::replaceMarkerLine(const QByteArray& line) const {
    std::vector<Piece> pieces{Piece{line, false}};
    for (size_t k = 0; k < keys_.size(); ++k) {
        size_t p = 0;
        qsizetype from = 0;
        while (findInPieces(pieces, keys_[k], p, from)) {
            p = insertAt(pieces, p, from, keys_[k].size(), values_[k]);
            from = 0;
        }
    }
    return joinPieces(pieces);
}

void TRTFReplace::AppendBody(int copies) {
    const std::vector<QByteArray> lines = readTemplate();
    std::vector<QByteArray> out;
    // Writes one template line filled, again and again while a repeated placeholder in it
    // still has values; never more often than there are values, whatever the template holds.
    auto writeFilled = [&](const QByteArray& line, bool repeat) {
        size_t passes = 0;
        do {
            out.push_back(replaceBodyLine(line));
        } while (repeat && cursor_ >= 0 && ++passes <= keys_.size());
    };
    for (int c = 1; c <= copies; ++c) {
        size_t i = 0;
        while (i < lines.size() && !lines[i].contains(kPard)) ++i;
        if (i == lines.size()) break; // no body in this template
        QByteArray current = lines[i].mid(lines[i].indexOf(kPard));
        if (c > 1) out.push_back(QByteArrayLiteral("\\page"));
        int depth = braceBalance(current) + 1;
        while (depth != 0 && i + 1 < lines.size()) {
            if (!current.isEmpty()) writeFilled(current, true);
            current = lines[++i];
            depth += braceBalance(current);
        }
        // The line that closes the document: its last brace is written by CloseDocument.
        QByteArray last = current.trimmed();
        last.chop(1);
        if (!last.isEmpty()) writeFilled(last, false);
    }
    appendLines(out);
    ClearValues();
}

void TRTFReplace::AppendPageBreak() {
    appendLines({QByteArrayLiteral("\\par \\page")});
    ClearValues();
}

void TRTFReplace::CloseDocument() {
    appendLines({QByteArrayLiteral("}")});
    ClearValues();
}

void TRTFReplace::ReplaceFromMarker(const QString& marker) {
    const std::vector<QByteArray> lines = readTemplate();
    QFile dest(RTFDest);
    if (RTFDest.isEmpty() || !dest.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Error(QStringLiteral("Documentul %1 nu poate fi scris!").arg(RTFDest), RTFDest);
    dest.close();
    const QByteArray mark = db::stringToCp1250(marker);
    std::vector<QByteArray> out;
    bool replacing = false;
    for (const QByteArray& line : lines) {
        replacing = replacing || line.contains(mark);
        out.push_back(replacing ? replaceMarkerLine(line) : line);
    }
    appendLines(out);
    ClearValues();
}

void TRTFReplace::OpenDest() {
    if (RTFDest.isEmpty() || QFileInfo(RTFDest).path().isEmpty()) return;
    desktop_.openFile(RTFDest);
}

} // namespace vartesa
