#pragma once
// The rich-text filler: copies a template of the data folder into a document, replacing
// square-bracket placeholders ("[NUMEP]") by the values the document code supplies.
// Templates are Windows-1250 text files worked on line by line; a placeholder must stand
// unbroken on one line. One filler serves every document in turn.
//
// Body mode (notices, certificate, confirmation): WriteHeader once, then per document
// AddValue..., AppendBody(1), with AppendPageBreak between documents; CloseDocument at
// the end writes the single closing brace. A key added r times in a row is a repeated
// placeholder: each template line holding it is written r times, once per value.
// Marker mode (summons, garnishments): WriteHeader, AddValue..., ReplaceFromMarker,
// CloseDocument.

#include <QByteArray>
#include <QString>

#include <vector>

namespace vartesa {

class Desktop;

class TRTFReplace {
public:
    explicit TRTFReplace(Desktop& desktop);

    QString RTFSursa; // full path of the template being filled
    QString RTFDest;  // full path of the document being written

    /// Sets RTFDest to the first of base0.rtf ... base999.rtf that does not exist or can
    /// be deleted (it is deleted). False, with RTFDest unchanged, when all are taken.
    bool FindFreeDest(const QString& base);
    /// Creates RTFDest with the template's header (everything before the first "\pard").
    /// False when the template is missing, empty or unreadable or RTFDest cannot be made.
    bool WriteHeader();
    /// Appends the key and the value escaped for rich text. Braces become parentheses,
    /// a backslash is doubled unless it starts a "\tab" mark, characters the code page
    /// lacks become \u escapes.
    void AddValue(const QString& key, const QString& value);
    /// Appends the key and a value escaped already: pieces of EscapeText joined with the
    /// document's own rich-text marks (a "\tab" between columns).
    void AddEscapedValue(const QString& key, const QByteArray& escaped);
    /// Appends the template body filled `copies` times, then empties the lists.
    /// Throws vartesa::Error when RTFDest or the template cannot be used.
    void AppendBody(int copies = 1);
    /// Appends "\par \page", then empties the lists.
    void AppendPageBreak();
    /// Appends the closing brace of the document, then empties the lists.
    void CloseDocument();
    /// Rewrites RTFDest as the whole template, placeholders replaced from the first line
    /// holding `marker` (exact case) on; empty values leave nothing. Empties the lists.
    void ReplaceFromMarker(const QString& marker);
    /// Empties both lists and forgets any repeated placeholder in progress.
    void ClearValues();
    /// Hands RTFDest to the desktop when it and its folder are named.
    void OpenDest();

    /// The value AddValue stores for `value` (Windows-1250 bytes, escaped).
    static QByteArray EscapeValue(const QString& value);
    /// `text` escaped as AddValue does, except that every backslash stays a plain backslash:
    /// what a clerk typed never turns into a rich-text mark.
    static QByteArray EscapeText(const QString& text);

private:
    struct Segment;
    static QByteArray escape(const QString& value, bool tabMarks);
    std::vector<QByteArray> readTemplate() const;
    void appendLines(const std::vector<QByteArray>& lines);
    QByteArray replaceBodyLine(const QByteArray& line);
    QByteArray replaceMarkerLine(const QByteArray& line) const;
    int runLength(int k) const;

    Desktop& desktop_;
    std::vector<QByteArray> keys_;   // placeholders as added, in Windows-1250
    std::vector<QByteArray> values_; // escaped replacement texts, parallel to keys_
    int cursor_ = -1;                // next value of a repeated placeholder; -1 for none
};

} // namespace vartesa
