// Compiling template sources: a line-by-line reader of statements into a workbook.

#include "workbook/template_source.h"

#include "workbook/formula_text.h"

#include "db/error.h"

#include <QHash>
#include <QRegularExpression>

#include <cmath>

namespace vartesa::workbook {

namespace {

// Splits a line into words; "quoted text" is one word (quotes doubled inside).
QStringList words(const QString& line) {
    QStringList out;
    qsizetype i = 0;
    while (i < line.size()) {
        if (line[i].isSpace()) {
            ++i;
            continue;
        }
        QString w;
        if (line[i] == '"') {
            w = QStringLiteral("\"");
            for (++i; i < line.size(); ++i) {
                if (line[i] == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                    w += '"';
                    ++i;
                } else if (line[i] == '"') {
                    ++i;
                    break;
                } else {
                    w += line[i];
                }
            }
        } else {
            while (i < line.size() && !line[i].isSpace())
                w += line[i++];
        }
        out << w;
    }
    return out;
}

bool quoted(const QString& w) { return w.startsWith('"'); }
QString unquoted(const QString& w) { return quoted(w) ? w.mid(1) : w; }

class TemplateCompiler {
public:
    TemplateCompiler(const QString& name) : name_(name) {}

    Workbook run(const QString& text) {
        const QStringList lines = text.split('\n');
        // Sheets first: the workbook is made with all of them.
        QStringList sheetNames;
        for (const QString& l : lines) {
            QStringList w = words(l.trimmed());
            if (w.size() >= 2 && w[0] == QLatin1String("sheet"))
                sheetNames << unquoted(w[1]);
        }
        if (sheetNames.isEmpty())
            sheetNames << QStringLiteral("Foaie1");
        Workbook wb(sheetNames);
        book_ = &wb;
        for (line_ = 1; line_ <= lines.size(); ++line_) {
            QString l = lines[line_ - 1].trimmed();
            if (l.isEmpty() || l.startsWith('#'))
                continue;
            statement(l);
        }
        return wb;
    }

private:
    [[noreturn]] void fail(const QString& why) const {
        throw Error(QStringLiteral("Sablonul %1, linia %2: %3.").arg(name_).arg(line_).arg(why), name_);
    }

    Sheet& sheet() { return book_->sheet(sheet_); }

    std::pair<int, int> cellRef(const QString& text) const {
        int r, c;
        if (!parseCellName(text, r, c))
            fail(QStringLiteral("celula necunoscuta %1").arg(text));
        return {r, c};
    }

    int column(const QString& letters) const { return cellRef(letters + QStringLiteral("1")).second; }

    int styleIndex(const QString& key) const {
        if (key == QLatin1String("-"))
            return -1;
        auto it = styles_.constFind(key);
        if (it == styles_.constEnd())
            fail(QStringLiteral("stil nedefinit %1").arg(key));
        return *it;
    }

    void statement(const QString& l) {
        const QStringList w = words(l);
        const QString& kw = w[0];
        if (kw == QLatin1String("sheet")) {
            if (w.size() != 2)
                fail(QStringLiteral("sheet cere un nume"));
            sheet_ = book_->sheetIndex(unquoted(w[1]));
        } else if (kw == QLatin1String("font")) {
            fontStatement(w);
        } else if (kw == QLatin1String("format")) {
            if (w.size() != 3)
                fail(QStringLiteral("format cere un nume si un cod"));
            formats_[w[1]] = book_->addFormat(unquoted(w[2]));
        } else if (kw == QLatin1String("style")) {
            styleStatement(w);
        } else if (kw == QLatin1String("width")) {
            bool ok = false;
            double chars = w.value(2).toDouble(&ok);
            if (w.size() != 3 || !ok)
                fail(QStringLiteral("width cere coloanele si latimea"));
            QStringList cols = w[1].split(':');
            sheet().setColumnWidth(column(cols.first()), column(cols.last()), int(std::lround(chars * 256)));
        } else if (kw == QLatin1String("height")) {
            bool ok = false, rowOk = false;
            double points = w.value(2).toDouble(&ok);
            int row = w.value(1).toInt(&rowOk);
            if (w.size() != 3 || !ok || !rowOk || row < 1)
                fail(QStringLiteral("height cere randul si inaltimea"));
            sheet().setRowHeight(row - 1, int(std::lround(points * 20)));
        } else if (kw == QLatin1String("merge")) {
            QStringList ends = w.value(1).split(':');
            if (w.size() != 2 || ends.size() != 2)
                fail(QStringLiteral("merge cere o zona A1:B2"));
            auto [r1, c1] = cellRef(ends[0]);
            auto [r2, c2] = cellRef(ends[1]);
            sheet().mergeCells({std::min(r1, r2), std::max(r1, r2), std::min(c1, c2), std::max(c1, c2)});
        } else if (kw == QLatin1String("cell")) {
            cellStatement(l, w);
        } else if (kw == QLatin1String("marker")) {
            if (w.size() < 3 || w.size() > 4)
                fail(QStringLiteral("marker cere un nume si o celula"));
            auto [r, c] = cellRef(w[2]);
            sheet().setText(r, c, QStringLiteral("{%1}").arg(w[1]));
            if (w.size() == 4 && styleIndex(w[3]) >= 0)
                sheet().setCellFormat(r, c, styleIndex(w[3]));
        } else {
            fail(QStringLiteral("instructiune necunoscuta %1").arg(kw));
        }
    }

    void fontStatement(const QStringList& w) {
        bool ok = false;
        double points = w.value(3).toDouble(&ok);
        if (w.size() < 4 || !ok)
            fail(QStringLiteral("font cere un nume, familia si marimea"));
        Font f;
        f.name = unquoted(w[2]);
        f.height = quint16(std::lround(points * 20));
        for (const QString& opt : w.mid(4)) {
            if (opt == QLatin1String("bold")) f.weight = 700;
            else if (opt == QLatin1String("italic")) f.options |= 0x02;
            else if (opt == QLatin1String("underline")) f.underline = 1;
            else fail(QStringLiteral("optiune de font necunoscuta %1").arg(opt));
        }
        fonts_[w[1]] = book_->addFont(f);
    }

    void styleStatement(const QStringList& w) {
        if (w.size() < 2)
            fail(QStringLiteral("style cere un nume"));
        Workbook::CellStyle style;
        for (const QString& opt : w.mid(2)) {
            const QString key = opt.section('=', 0, 0), value = unquoted(opt.section('=', 1));
            if (key == QLatin1String("font")) {
                if (!fonts_.contains(value)) fail(QStringLiteral("font nedefinit %1").arg(value));
                style.font = fonts_[value];
            } else if (key == QLatin1String("format")) {
                style.format = formats_.contains(value) ? formats_[value] : book_->addFormat(value);
            } else if (key == QLatin1String("align")) {
                static const QStringList names = {"general", "left", "center", "right"};
                style.hAlign = int(names.indexOf(value));
                if (style.hAlign < 0) fail(QStringLiteral("aliniere necunoscuta %1").arg(value));
            } else if (key == QLatin1String("valign")) {
                static const QStringList names = {"top", "center", "bottom"};
                style.vAlign = int(names.indexOf(value));
                if (style.vAlign < 0) fail(QStringLiteral("aliniere verticala necunoscuta %1").arg(value));
            } else if (key == QLatin1String("wrap")) {
                style.wrap = true;
            } else if (key == QLatin1String("border")) {
                static const QStringList sides = {"left", "right", "top", "bottom"};
                for (const QString& side : value.split(',')) {
                    if (side == QLatin1String("box")) style.borders = 0x0F;
                    else if (sides.contains(side)) style.borders |= 1 << sides.indexOf(side);
                    else fail(QStringLiteral("margine necunoscuta %1").arg(side));
                }
            } else {
                fail(QStringLiteral("optiune de stil necunoscuta %1").arg(opt));
            }
        }
        styles_[w[1]] = book_->addXf(style);
    }

    void cellStatement(const QString& line, const QStringList& w) {
        if (w.size() < 3)
            fail(QStringLiteral("cell cere celula si stilul"));
        auto [r, c] = cellRef(w[1]);
        const int style = styleIndex(w[2]);
        // The value is the rest of the line after the third word, taken as written.
        static const QRegularExpression head(QStringLiteral("^\\s*\\S+\\s+\\S+\\s+\\S+\\s*"));
        const QString value = line.mid(head.match(line).capturedLength()).trimmed();
        Sheet& s = sheet();
        if (value.isEmpty()) {
            s.setBlank(r, c);
        } else if (value.startsWith('=')) {
            try {
                s.setFormula(r, c, value.mid(1));
            } catch (const Error& e) {
                fail(e.text());
            }
        } else if (value.startsWith('"')) {
            QStringList parts = words(value);
            if (parts.size() != 1)
                fail(QStringLiteral("text neinchis corect"));
            s.setText(r, c, unquoted(parts[0]));
        } else {
            bool ok = false;
            double v = value.toDouble(&ok);
            if (!ok)
                fail(QStringLiteral("valoare necunoscuta %1").arg(value));
            s.setNumber(r, c, v);
        }
        if (style >= 0)
            s.setCellFormat(r, c, style);
    }

    QString name_;                 // source name, for messages
    Workbook* book_ = nullptr;     // workbook being built
    int sheet_ = 0;                // current sheet
    int line_ = 0;                 // current line, 1-based
    QHash<QString, int> fonts_, formats_, styles_; // keys of the source -> indices
};

} // namespace

Workbook compileTemplate(const QString& sourceText, const QString& sourceName) {
    return TemplateCompiler(sourceName.isEmpty() ? QStringLiteral("sablon") : sourceName).run(sourceText);
}

std::optional<std::pair<int, int>> findMarker(const Sheet& sheet, const QString& name) {
    const QString text = QStringLiteral("{%1}").arg(name);
    for (const auto& [r, c] : sheet.textCells())
        if (sheet.text(r, c) == text)
            return std::pair{r, c};
    return std::nullopt;
}

} // namespace vartesa::workbook
