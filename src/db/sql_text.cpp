#include "sql_text.h"

#include "cp1250.h"
#include "error.h"

namespace vartesa::db {
namespace {

struct Token {
    enum Kind { Word, Quoted, String, Number, Punct, Space } kind;
    int begin = 0; // offset in the statement text
    int end = 0;   // one past the last character
    QString text;  // words upper-cased; quoted identifiers without their quotes
};

std::vector<Token> tokenize(const QString& s) {
    std::vector<Token> out;
    const int n = int(s.size());
    int i = 0;
    while (i < n) {
        const int start = i;
        const QChar c = s[i];
        Token t{Token::Punct, start, start, {}};
        if (c.isSpace()) {
            while (i < n && s[i].isSpace()) ++i;
            t.kind = Token::Space;
        } else if (c == '-' && i + 1 < n && s[i + 1] == '-') {
            while (i < n && s[i] != '\n') ++i;
            t.kind = Token::Space;
        } else if (c == '/' && i + 1 < n && s[i + 1] == '*') {
            const int close = int(s.indexOf(QStringLiteral("*/"), i + 2));
            i = close < 0 ? n : close + 2;
            t.kind = Token::Space;
        } else if (c == '\'' || c == '"' || c == '[' || c == '`') {
            const QChar close = c == '[' ? QChar(']') : c;
            ++i;
            QString body;
            while (i < n) {
                if (s[i] == close) {
                    if (close != ']' && i + 1 < n && s[i + 1] == close) {
                        body += close;
                        i += 2;
                        continue;
                    }
                    break;
                }
                body += s[i++];
            }
            if (i < n) ++i;
            t.kind = c == '\'' ? Token::String : Token::Quoted;
            t.text = body;
        } else if (c.isLetter() || c == '_') {
            while (i < n && (s[i].isLetterOrNumber() || s[i] == '_' || s[i] == '$')) ++i;
            t.kind = Token::Word;
            t.text = s.mid(start, i - start).toUpper();
        } else if (c.isDigit() || (c == '.' && i + 1 < n && s[i + 1].isDigit())) {
            while (i < n && (s[i].isDigit() || s[i] == '.')) ++i;
            t.kind = Token::Number;
            t.text = s.mid(start, i - start);
        } else {
            ++i;
            t.text = c;
        }
        t.end = i;
        out.push_back(t);
    }
    return out;
}

bool isTablePath(const Token& t) {
    return t.kind == Token::Quoted && t.text.trimmed().endsWith(QStringLiteral(".dbf"), Qt::CaseInsensitive);
}

class Rewriter {
public:
    Rewriter(const QString& sql, const std::vector<Token>& tokens,
             const std::function<QString(const QString&)>& resolve, QStringList& tables)
        : sql_(sql), t_(tokens), resolve_(resolve), tables_(tables) {}

    // Index of the ")" closing the "(" at `open`, or -1.
    int closing(int open) const {
        int depth = 0;
        for (int i = open; i < int(t_.size()); ++i) {
            if (t_[i].kind != Token::Punct) continue;
            if (t_[i].text == "(") ++depth;
            else if (t_[i].text == ")" && --depth == 0) return i;
        }
        return -1;
    }

    int nextSolid(int i) const {
        while (i < int(t_.size()) && t_[i].kind == Token::Space) ++i;
        return i;
    }

    QString tableName(const Token& t) {
        const QString path = resolve_(t.text.trimmed());
        if (!tables_.contains(path)) tables_.append(path);
        return quoteIdentifier(path);
    }

    // Rewrites tokens [from, to).
    QString run(int from, int to) {
        QString out;
        for (int i = from; i < to; ++i) {
            const Token& t = t_[i];
            if (isTablePath(t)) {
                out += tableName(t);
                continue;
            }
            if (t.kind == Token::Word && t.text == "CAST") {
                const int open = nextSolid(i + 1);
                if (open < to && t_[open].text == "(") {
                    const int close = closing(open);
                    if (close > 0 && close < to) {
                        out += rewriteCast(open, close);
                        i = close;
                        continue;
                    }
                }
            }
            // A text written into the statement meets the stored letters as a bound one does.
            if (t.kind == Token::String) out += storedLetters(sql_.mid(t.begin, t.end - t.begin));
            else out += sql_.mid(t.begin, t.end - t.begin);
        }
        return out;
    }

private:
    // CAST(expr AS FLOAT) gives NULL for a text that is not a number, and
    // CAST(expr AS CHAR(n)) cuts the text to n characters.
    QString rewriteCast(int open, int close) {
        int as = -1, depth = 0;
        for (int i = open + 1; i < close; ++i) {
            const Token& t = t_[i];
            if (t.kind == Token::Punct && t.text == "(") ++depth;
            if (t.kind == Token::Punct && t.text == ")") --depth;
            if (depth == 0 && t.kind == Token::Word && t.text == "AS") as = i;
        }
        if (as < 0) return QStringLiteral("CAST(") + run(open + 1, close) + ')';
        const int typeAt = nextSolid(as + 1);
        const QString type = typeAt < close ? t_[typeAt].text : QString();
        const QString expr = run(open + 1, as);
        if (type == "FLOAT" || type == "DOUBLE" || type == "REAL")
            return QStringLiteral("vt_float(") + expr + ')';
        if (type == "CHAR" || type == "VARCHAR" || type == "CHARACTER") {
            const int paren = nextSolid(typeAt + 1);
            const int num = nextSolid(paren + 1);
            if (paren < close && t_[paren].text == "(" && num < close && t_[num].kind == Token::Number)
                return QStringLiteral("vt_char(") + expr + ", " + t_[num].text + ')';
            return QStringLiteral("vt_char(") + expr + ", 255)";
        }
        return QStringLiteral("CAST(") + expr + sql_.mid(t_[as].begin - 1, t_[close].end - t_[as].begin + 1);
    }

    const QString& sql_;
    const std::vector<Token>& t_;
    const std::function<QString(const QString&)>& resolve_;
    QStringList& tables_;
};

// The meaningful tokens (no spaces or comments).
std::vector<Token> solid(const std::vector<Token>& all) {
    std::vector<Token> out;
    for (const Token& t : all)
        if (t.kind != Token::Space) out.push_back(t);
    return out;
}

Error ddlError(const QString& sql, const QString& why) {
    return Error(QStringLiteral("Instructiune SQL neinteleasa (%1): %2").arg(why, sql), sql);
}

// One column definition starting at tokens[i]: NAME TYPE[(p[,s])] [anything up to , or )].
Field parseColumn(const std::vector<Token>& t, size_t& i, const QString& sql) {
    if (i >= t.size() || (t[i].kind != Token::Word && t[i].kind != Token::Quoted))
        throw ddlError(sql, QStringLiteral("lipseste numele coloanei"));
    Field f;
    f.name = t[i].kind == Token::Word ? sql.mid(t[i].begin, t[i].end - t[i].begin) : t[i].text;
    ++i;
    if (i >= t.size() || t[i].kind != Token::Word) throw ddlError(sql, QStringLiteral("lipseste tipul coloanei ") + f.name);
    const QString type = t[i++].text;
    std::vector<int> size;
    if (i < t.size() && t[i].text == "(") {
        for (++i; i < t.size() && t[i].text != ")"; ++i)
            if (t[i].kind == Token::Number) size.push_back(t[i].text.toInt());
        ++i;
    }
    const int a = size.size() > 0 ? size[0] : 0, b = size.size() > 1 ? size[1] : 0;
    if (type == "CHAR" || type == "CHARACTER" || type == "VARCHAR") {
        f.type = FieldType::Char;
        f.length = a > 0 ? a : 1;
    } else if (type == "DECIMAL" || type == "NUMERIC" || type == "NUMBER") {
        f.type = FieldType::Numeric;
        f.length = a > 0 ? a : 10;
        f.decimals = b; // the width holds sign, digits and point, as dBase counts it
    } else if (type == "INTEGER" || type == "INT") {
        f.type = FieldType::Numeric;
        f.length = 11;
    } else if (type == "SMALLINT") {
        f.type = FieldType::Numeric;
        f.length = 6;
    } else if (type == "FLOAT" || type == "DOUBLE" || type == "REAL") {
        f.type = FieldType::Float;
        f.length = a > 0 ? a : 20;
        f.decimals = size.size() > 1 ? b : 4;
    } else if (type == "DATE") {
        f.type = FieldType::Date;
    } else if (type == "BOOLEAN" || type == "LOGICAL") {
        f.type = FieldType::Logical;
    } else {
        throw ddlError(sql, QStringLiteral("tip necunoscut ") + type);
    }
    int depth = 0; // skip constraints such as NOT NULL
    while (i < t.size() && !(depth == 0 && (t[i].text == "," || t[i].text == ")"))) {
        if (t[i].text == "(") ++depth;
        if (t[i].text == ")") --depth;
        ++i;
    }
    return f;
}

void parseDdl(const std::vector<Token>& all, ParsedStatement& p, const QString& sql,
              const std::function<QString(const QString&)>& resolve) {
    const std::vector<Token> t = solid(all);
    if (t.size() < 3 || t[1].text != "TABLE") {
        p.kind = StatementKind::Other;
        return;
    }
    if (!isTablePath(t[2])) throw ddlError(sql, QStringLiteral("tabela trebuie numita prin fisierul ei .dbf"));
    p.target = resolve(t[2].text.trimmed());
    p.tables = QStringList{p.target};
    size_t i = 3;
    if (p.kind == StatementKind::Create) {
        if (i >= t.size() || t[i].text != "(") throw ddlError(sql, QStringLiteral("lipsesc coloanele"));
        ++i;
        while (i < t.size() && t[i].text != ")") {
            p.addFields.push_back(parseColumn(t, i, sql));
            if (i < t.size() && t[i].text == ",") ++i;
        }
    } else if (p.kind == StatementKind::Alter) {
        while (i < t.size()) {
            const QString action = t[i++].text;
            if (i < t.size() && t[i].text == "COLUMN") ++i;
            if (action == "ADD") {
                p.addFields.push_back(parseColumn(t, i, sql));
            } else if (action == "DROP" && i < t.size()) {
                p.dropFields.append(t[i].kind == Token::Quoted ? t[i].text : t[i].text.toUpper());
                ++i;
            } else {
                throw ddlError(sql, QStringLiteral("se asteapta ADD sau DROP"));
            }
            if (i < t.size() && t[i].text == ",") ++i;
        }
    }
}

bool isRowidName(const Token& t) {
    return (t.kind == Token::Word || t.kind == Token::Quoted) &&
           (t.text.compare(QLatin1String("ROWID"), Qt::CaseInsensitive) == 0 ||
            t.text.compare(QLatin1String("OID"), Qt::CaseInsensitive) == 0 ||
            t.text.compare(QLatin1String("_ROWID_"), Qt::CaseInsensitive) == 0);
}

// Whether an INSERT's column list names the record number: INSERT INTO t [AS a] (..., rowid).
bool insertNamesRowid(const std::vector<Token>& all) {
    const std::vector<Token> t = solid(all);
    for (size_t i = 0; i + 1 < t.size(); ++i) {
        if (t[i].kind != Token::Word || t[i].text != "INTO") continue;
        size_t j = i + 2; // past the table
        if (j < t.size() && t[j].kind == Token::Word && t[j].text == "AS") j += 2;
        if (j >= t.size() || t[j].text != "(") continue;
        for (++j; j < t.size() && t[j].text != ")"; ++j)
            if (isRowidName(t[j])) return true;
    }
    return false;
}

} // namespace

QString quoteIdentifier(const QString& name) {
    return '"' + QString(name).replace('"', QStringLiteral("\"\"")) + '"';
}

ParsedStatement parseStatement(const QString& sql, const std::function<QString(const QString&)>& resolve) {
    ParsedStatement p;
    const std::vector<Token> tokens = tokenize(sql);
    // SQLite would prepare the first statement and leave the rest unread: what follows a ';'
    // would be dropped without a word. One text is one statement (a closing ';' may stand).
    bool ended = false;
    for (const Token& t : tokens) {
        if (t.kind == Token::Space) continue;
        if (ended)
            throw Error(QStringLiteral("Textul contine mai multe instructiuni SQL; se executa una singura odata. "
                                       "Nu s-a executat nimic."),
                        sql);
        if (t.kind == Token::Punct && t.text == ";") ended = true;
    }
    for (const Token& t : tokens) {
        if (t.kind == Token::Space || t.text == "(") continue;
        if (t.kind == Token::Word) {
            if (t.text == "SELECT" || t.text == "VALUES") p.kind = StatementKind::Select;
            else if (t.text == "INSERT" || t.text == "REPLACE") p.kind = StatementKind::Insert;
            else if (t.text == "UPDATE") p.kind = StatementKind::Update;
            else if (t.text == "DELETE") p.kind = StatementKind::Delete;
            else if (t.text == "CREATE") p.kind = StatementKind::Create;
            else if (t.text == "DROP") p.kind = StatementKind::Drop;
            else if (t.text == "ALTER") p.kind = StatementKind::Alter;
        }
        break;
    }
    if (p.kind == StatementKind::Create || p.kind == StatementKind::Drop || p.kind == StatementKind::Alter) {
        parseDdl(tokens, p, sql, resolve);
        if (p.kind != StatementKind::Other) return p;
    }
    Rewriter r(sql, tokens, resolve, p.tables);
    p.sql = r.run(0, int(tokens.size()));
    p.namesRecordNumber = insertNamesRowid(tokens);
    return p;
}

} // namespace vartesa::db
