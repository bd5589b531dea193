// vartesa-tool debit-statements: the statements a clerk chooses from, the statement list, the
// summary and the cumulated statements of the "Borderouri Debite" menu, written to a file.

#include "commands.h"
#include "shell/console_services.h"

#include "cash/cash_summaries.h"
#include "cash/debit_statements.h"
#include "db/error.h"
#include "documents/debit_statement_lists.h"
#include "shell/file_helpers.h"
#include "shell/services.h"
#include "shell/startup.h"

#include <QDir>
#include <QHash>
#include <QTextStream>

#include <map>

namespace vartesa::tool {
namespace {

const char* const kUsage =
    "Utilizare: vartesa-tool debit-statements DATAFOLDER choices | list --type BD|BS --number N [--from zz.ll.aaaa] "
    "[--to zz.ll.aaaa] --out FISIER.xls | summary [--from zz.ll.aaaa] [--to zz.ll.aaaa] --out FISIER.xls | cumulated "
    "[--from zz.ll.aaaa] [--to zz.ll.aaaa] --out FISIER.xls\n";

struct DebitOptions {
    QStringList plain;              // DATAFOLDER ACTION
    QHash<QString, QString> values; // --type, --number, --from, --to, --out
    bool ok = true;
};

DebitOptions parseDebitOptions(const QStringList& args) {
    static const QStringList valued{"--type", "--number", "--from", "--to", "--out"};
    DebitOptions o;
    for (int i = 0; i < args.size(); ++i) {
        if (!args[i].startsWith(QLatin1String("--"))) {
            o.plain << args[i];
        } else if (valued.contains(args[i]) && i + 1 < args.size()) {
            o.values.insert(args[i], args[i + 1]);
            ++i;
        } else {
            o.ok = false;
        }
    }
    return o;
}

// The period the options give: from 01.01 of the working year up to today by default; false
// for a date that does not read.
bool periodOf(const DebitOptions& o, Services& s, StatementPeriod& period) {
    const QString format = QStringLiteral("dd.MM.yyyy");
    period.from = o.values.contains("--from") ? QDate::fromString(o.values.value("--from"), format)
                                              : QDate(WorkingYear().toInt(), 1, 1);
    period.to = o.values.contains("--to") ? QDate::fromString(o.values.value("--to"), format) : s.clock().today();
    return period.from.isValid() && period.to.isValid();
}

// The sheet's rows from 7 on, one CSV line each, from column 1 to the TOTAL column.
void printCells(const CellList& list) {
    std::map<std::pair<int, int>, QVariant> cells;
    for (const ListCell& c : list.cells) cells[{c.row, c.col}] = c.value;
    QTextStream out(stdout);
    for (int row = 7; row <= list.lastRow; ++row) {
        QStringList line;
        for (int col = 1; col <= list.totalColumn; ++col) {
            const auto it = cells.find({row, col});
            line << (it == cells.end() || it->second.isNull() ? QString() : csvValue(it->second));
        }
        out << line.join(',') << '\n';
    }
}

void printCumulated(CumulatedStatementRows& data) {
    QTextStream out(stdout);
    QStringList groups{QStringLiteral("GRUPE")};
    for (const QString& g : data.groups) groups << csvField(g);
    out << groups.join(',') << '\n';
    db::Query& q = data.rows;
    QStringList header;
    for (int c = 0; c < q.columnCount(); ++c) header << q.columnName(c);
    out << header.join(',') << '\n';
    for (int r = 0; r < q.count(); ++r) {
        QStringList line;
        for (int c = 0; c < q.columnCount(); ++c) line << csvValue(q.cell(r, c));
        out << line.join(',') << '\n';
    }
}

// Writes the action's sheet to `file` and prints its rows.
void runAction(Services& s, const QString& action, const DebitOptions& o, const StatementPeriod& period,
               const QString& file) {
    if (action == QLatin1String("cumulated")) {
        CumulatedStatementRows data;
        BuildCumulatedStatements(s, period, &data).save(file);
        printCumulated(data);
        return;
    }
    const CellList list = action == QLatin1String("summary")
                              ? StatementSummary(s, period)
                              : StatementList(s, o.values.value("--type"), o.values.value("--number").toLongLong(), period);
    workbook::Biff2Writer writer;
    writer.begin(file);
    WriteCellList(list, writer);
    writer.save();
    printCells(list);
}

bool usable(const DebitOptions& o) {
    if (!o.ok || o.plain.size() != 2) return false;
    const QString action = o.plain[1];
    if (action == QLatin1String("choices")) return o.values.isEmpty();
    if (action == QLatin1String("list")) {
        bool number = false;
        const qint64 n = o.values.value("--number").toLongLong(&number);
        const QString type = o.values.value("--type");
        if (!number || n < 0 || (type != kChargeStatement && type != kWriteOffStatement)) return false;
    } else if (action != QLatin1String("summary") && action != QLatin1String("cumulated")) {
        return false;
    } else if (o.values.contains("--type") || o.values.contains("--number")) {
        return false;
    }
    return !o.values.value("--out").isEmpty();
}

} // namespace

int runDebitStatements(const QStringList& args) {
    const DebitOptions o = parseDebitOptions(args);
    if (!usable(o)) {
        QTextStream(stderr) << kUsage;
        return 2;
    }
    try {
        auto services = ConsoleServices(o.plain[0]);
        if (o.plain[1] == QLatin1String("choices")) {
            QTextStream out(stdout);
            out << "TIP,NR,SUMA\n";
            for (const DebitStatement& st : DebitStatements(services->database(), services->folders.data))
                out << st.type << ',' << st.number << ',' << st.amount << '\n';
            return 0;
        }
        StatementPeriod period;
        if (!periodOf(o, *services, period)) {
            QTextStream(stderr) << kUsage;
            return 2;
        }
        if (const std::optional<QString> wrong = CheckPeriod(period.from, period.to)) {
            QTextStream(stderr) << *wrong << '\n';
            return 1;
        }
        const QString file = QDir::cleanPath(QDir().absoluteFilePath(o.values.value("--out")));
        CheckOutputFile(services->folders.data, file);
        runAction(*services, o.plain[1], o, period, file);
    } catch (const Error& e) {
        QTextStream(stderr) << e.text() << '\n';
        return 1;
    }
    return 0;
}

} // namespace vartesa::tool
