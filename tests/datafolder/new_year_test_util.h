#pragma once
// An old year's data folder (the services' data folder, year 2014) with roles, balances, claims
// and debits, and an empty new data folder beside it with every catalog table.

#include "cash/cash_test_util.h"

#include "datafolder/new_year.h"
#include "shell/catalog.h"

#include <QDir>
#include <QDirIterator>

#include <map>

namespace vartesa::test {

/// One row of Debit.dbf describing an object on a page.
struct DebitSpec {
    QString kind;              // CATEG
    QDate from;                // DINDATA; PENDATA is the first of its month
    qint64 amount = 0;         // SUMAINI and SUMAC
    QString group = QStringLiteral("Impozit pe cladiri");
    QString file;              // FISIER
    QString camp, val;         // CAMP1, VAL1
};

class NewYearFolders : public CashFolder {
public:
    NewYearFolders() : newFolder(env.root() + QStringLiteral("/nou/Data")) {
        QDir().mkpath(newFolder);
        db::Database fresh(newFolder);
        for (const TableLayout& t : TableCatalog()) CreateTable(fresh, newFolder + '/' + t.file, t);
    }
    const QString& oldFolder() const { return env.folders().data; }

    void debit(qint64 role, const DebitSpec& d) {
        db().exec(QStringLiteral("INSERT INTO \"%1\" (IDDEB, IDGOS, GRUPA, CATEG, DENUM, DINDATA, PENDATA, FISIER, CAMP1, "
                                 "VAL1, SUMAINI, SUMAC) VALUES (?, ?, ?, ?, 'Cladiri', ?, ?, ?, ?, ?, ?, ?)")
                      .arg(path("Debit.dbf")),
                  {++debits_, role, d.group, d.kind, d.from, QDate(d.from.year(), d.from.month(), 1), d.file, d.camp,
                   d.val, d.amount, d.amount});
    }
    void setPenaltyOption(bool on) {
        counters().WriteCounter(QStringLiteral("SERVER"), QStringLiteral("FARAMAJORARI"), on ? "DA" : "NU");
    }

    NewYearReport run(const NewYearChoices& choices = {}, const NewYearHooks& hooks = {}) {
        return RunNewYearImport(oldFolder(), newFolder, choices, 2014, env.progress(), logPath(), nullptr, hooks);
    }
    QString logPath() const { return env.folders().machine + QStringLiteral("/VartesaLog.txt"); }

    /// One column of a new table's row of role `id`.
    QVariant newValue(const QString& file, const QString& column, qint64 id) {
        db::Database fresh(newFolder);
        return fresh.scalar(QStringLiteral("SELECT %1 FROM \"%2/%3\" WHERE IDGOS = ?").arg(column, newFolder, file), {id});
    }

    /// Every file under `folder` with its bytes (the engine's lock file left out).
    static std::map<QString, QByteArray> snapshot(const QString& folder) {
        std::map<QString, QByteArray> files;
        QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString p = it.next();
            if (!p.endsWith(QLatin1String(".lck"), Qt::CaseInsensitive)) files[p] = fileBytes(p);
        }
        return files;
    }

    QString newFolder;

private:
    qint64 debits_ = 5000;
};

} // namespace vartesa::test
