#include "cash/cash_summaries.h"

#include "cash/cash_register.h"
#include "cash/cash_summary_data.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "shell/file_helpers.h"
#include "shell/services.h"
#include "shell/settings_table.h"
#include "shell/table_files.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <tuple>

namespace vartesa {

namespace {

const QString kTitle = QStringLiteral("Centralizatoare");

} // namespace

std::optional<SummaryKind> SummaryKindNamed(const QString& word) {
    static const std::pair<const char*, SummaryKind> names[] = {
        {"register", SummaryKind::Register},       {"payments", SummaryKind::Payments},
        {"arrears", SummaryKind::Arrears},         {"by-claim", SummaryKind::ByClaim},
        {"by-account", SummaryKind::ByAccount},    {"by-cashier", SummaryKind::ByCashier},
        {"accounts-by-cashier", SummaryKind::AccountsByCashier},
        {"accounts-total", SummaryKind::AccountsTotal}, {"compensations", SummaryKind::Compensations},
    };
    for (const auto& [name, kind] : names)
        if (word == QLatin1String(name)) return kind;
    return std::nullopt;
}

std::optional<QString> CheckPeriod(const QDate& from, const QDate& to) {
    if (from > to) return QStringLiteral("Perioada incorecta!");
    return std::nullopt;
}

QStringList CashKinds(const SummaryRequest& r, bool transfersAllowed) {
    QStringList kinds{QStringLiteral("C"), QStringLiteral("O")};
    if (transfersAllowed && r.withTransfers) kinds << QStringLiteral("V");
    return kinds;
}

std::vector<ReceiptLine> SelectLines(Services& s, const SummaryRequest& r, const QStringList& kinds,
                                     const QString& cashier, const LineOrder& order) {
    std::vector<ReceiptLine> lines;
    const QString table = ReceiptsTable(s.folders.data);
    if (!s.database().tableExists(table)) return lines;
    // A year holds tens of thousands of lines: the fields the lists use are read once from
    // the file, the period and kinds chosen here.
    using C = ReceiptLineColumns;
    const QStringList fields{C::id,      C::kind,       C::series,  C::number,  C::date,    C::village, C::rol,
                             C::group,   C::code,       C::taxpayer, C::personType, C::cashier, C::arrears, C::carried,
                             C::credit,  C::current,    C::penalties, C::reduction, C::total};
    ScanReceiptLines(s.database(), table, fields, r.from, r.to, [&](const ReceiptLine& l) {
        if (!kinds.isEmpty() && !kinds.contains(l.kind())) return;
        if (!cashier.isEmpty() && l.cashier != cashier) return;
        lines.push_back(l);
    });
    if (order) std::stable_sort(lines.begin(), lines.end(), order);
    return lines;
}

QString TownHallName(Services& s) {
    return SettingsTable(s.database(), s.folders.data).load().value(QStringLiteral("PRIMARIALAB")).trimmed();
}

QString AccountantName(Services& s) {
    return SettingsTable(s.database(), s.folders.data).load().value(QStringLiteral("CONTABILLAB")).trimmed();
}


QString PeriodText(const SummaryRequest& r) { return DateText(r.from) + QStringLiteral(" - ") + DateText(r.to); }

std::unique_ptr<TExportXLSModel> OpenSummaryTemplate(Services& s, const QString& name, const QString& dataFile) {
    auto model = std::make_unique<TExportXLSModel>(s);
    WorkingCopy copy;
    QString path;
    if (!dataFile.isEmpty()) {
        path = s.folders.data + '/' + dataFile;
        if (!QFileInfo::exists(path))
            WriteResourceToFile(name, name == QLatin1String("CCI") ? QStringLiteral("MODEL") : QStringLiteral("XLS"), path);
    } else {
        copy.path = path = FreeTempFileName(s.folders.program, name, QStringLiteral(".xls"));
        if (path.isEmpty()) throw Error(QStringLiteral("Nu mai exista nume libere pentru liste in ") + s.folders.program, kTitle);
        WriteResourceToFile(name, QStringLiteral("MODEL"), path);
    }
    if (!model->OpenTemplate(path)) throw Error(QStringLiteral("Lista nu poate fi realizata."), path);
    return model;
}

workbook::Workbook BuildRegisterList(Services& s, const SummaryRequest& r) {
    CashRegister cash(s);
    cash.Open();
    const RegisterDay day = cash.Day(r.from, r.cashier);
    auto list = OpenSummaryTemplate(s, QStringLiteral("REGCASA"), QStringLiteral("RegCasa.xls"));
    list->SetTextCell(QStringLiteral("#PRIMARIA"), QStringLiteral("Primaria ") + TownHallName(s));
    list->SetTextCell(QStringLiteral("#CONTABIL"), AccountantName(s));
    const bool all = r.cashier.isEmpty() || r.cashier == AnyCashier();
    list->SetTextCell(QStringLiteral("#CASIER"), all ? QStringLiteral(" ") : r.cashier);
    list->SetAmountCell(QStringLiteral("#SOLDINI"), double(day.previous));
    list->SetTextCell(QStringLiteral("#DATA"), QStringLiteral("la data de ") + DateText(r.from));
    std::vector<std::vector<QVariant>> rows;
    for (const RegisterRow& row : day.rows)
        rows.push_back({row.document, row.cashier, row.collected, row.paid});
    db::Query data = db::Query::fromRows({"DOCJUS", "INCANUME", "INCASAT", "PLATIT"}, std::move(rows));
    list->FillRows(data);
    return list->TakeWorkbook();
}

workbook::Workbook BuildPaymentsList(Services& s, const SummaryRequest& r) {
    auto list = OpenSummaryTemplate(s, QStringLiteral("LISTPLAT"), QStringLiteral("ListPlat.xls"));
    list->SetTextCell(QStringLiteral("#PERIOADA"), PeriodText(r));
    const QString table = s.folders.data + '/' + tables::CashRegister;
    const QString cashier = RestrictedCashier(s, r.cashier);
    QString sql = QStringLiteral("SELECT DATAI, TRIM(DOCJUS) AS DOCJUS, PLATIT FROM \"%1\" WHERE PLATIT > 0 AND DATAI >= ? "
                                 "AND DATAI <= ?").arg(table);
    QVariantList params{r.from, r.to};
    if (!cashier.isEmpty()) {
        sql += QStringLiteral(" AND TRIM(INCANUME) = ?");
        params << cashier;
    }
    db::Query data = s.database().tableExists(table) ? s.database().query(sql + QStringLiteral(" ORDER BY DATAI, IDRC"), params)
                                                     : db::Query::fromRows({"DATAI", "DOCJUS", "PLATIT"}, {});
    data.first();
    list->FillRows(data);
    return list->TakeWorkbook();
}

workbook::Workbook BuildArrearsList(Services& s, const SummaryRequest& r) {
    auto list = OpenSummaryTemplate(s, QStringLiteral("CHITRAM"));
    list->SetTextCell(QStringLiteral("#UAT"), QStringLiteral("U.A.T. ") + TownHallName(s));
    list->SetTextCell(QStringLiteral("#PERIOADA"), PeriodText(r));
    // Lines of any kind that paid arrears, summed per document, place and claim.
    std::vector<ReceiptLine> lines = SelectLines(s, r, {}, {}, {});
    std::erase_if(lines, [](const ReceiptLine& l) { return l.arrears <= 0 && l.carried <= 0; });
    std::vector<ReceiptLine> documents;
    QHash<QString, size_t> place;
    for (const ReceiptLine& l : lines) {
        const QString key = QStringList{l.kind(), l.series, QString::number(l.number), l.date.toString(Qt::ISODate),
                                        l.village, l.rol, l.group, l.personType}.join('\n');
        const auto at = place.constFind(key);
        if (at == place.constEnd()) {
            place.insert(key, documents.size());
            documents.push_back(l);
        } else {
            documents[*at].arrears += l.arrears;
            documents[*at].carried += l.carried;
        }
    }
    std::stable_sort(documents.begin(), documents.end(), [](const ReceiptLine& a, const ReceiptLine& b) {
        return std::tie(a.group, a.personType, a.village, a.rol) < std::tie(b.group, b.personType, b.village, b.rol);
    });
    std::vector<std::vector<QVariant>> rows;
    rows.reserve(documents.size());
    for (const ReceiptLine& d : documents) {
        const QString label = d.kind() == QLatin1String("C")   ? QStringLiteral("Chitanta")
                              : d.kind() == QLatin1String("N") ? QStringLiteral("Nota contab.")
                              : d.kind() == QLatin1String("O") ? QStringLiteral("Virament")
                                                             : QString();
        rows.push_back({d.kind(), d.series, d.number, d.date, d.village, d.rol, d.group, d.personType, label,
                        qint64(d.arrears), qint64(d.carried)});
    }
    db::Query data = db::Query::fromRows(
        {"TIP", "SERIA", "NR", "DATAI", "SATUL", "ROL", "GRUPA", "TIPF", "DOCJUS", "RESTANTA", "MAJOREST"}, std::move(rows));
    data.first();
    list->FillRows(data);
    return list->TakeWorkbook();
}

workbook::Workbook BuildAccountsByCashier(Services& s, const SummaryRequest& r) {
    auto list = OpenSummaryTemplate(s, QStringLiteral("CCI"), QStringLiteral("CCI.xls"));
    list->SetTextCell(QStringLiteral("#PRIMARIA"), QStringLiteral("Primaria ") + TownHallName(s));
    list->SetTextCell(QStringLiteral("#PERIOADA"), QStringLiteral("perioada ") + PeriodText(r));
    // One block per account and person type: its first row names it, one row per cashier,
    // then the account's total.
    std::vector<std::vector<QVariant>> rows;
    qint64 grand = 0, block = 0;
    QString current;
    auto closeBlock = [&] {
        if (!current.isNull()) rows.push_back({QString(), QString(), QString(), QStringLiteral("Total cont"), block});
    };
    for (const ReceiptLine& l : SelectLines(s, r, CashKinds(r, false), {}, [](const ReceiptLine& a, const ReceiptLine& b) {
             return std::tie(a.group, a.code, a.personType, a.cashier) < std::tie(b.group, b.code, b.personType, b.cashier);
         })) {
        const QString key = l.group + '\n' + l.code + '\n' + l.personType;
        if (key != current) {
            closeBlock();
            current = key;
            block = 0;
            rows.push_back({l.group, l.code, l.personType, l.cashier, qint64(0)});
        } else if (rows.back()[3].toString() != l.cashier) {
            rows.push_back({QString(), QString(), QString(), l.cashier, qint64(0)});
        }
        rows.back()[4] = rows.back()[4].toLongLong() + l.total;
        block += l.total;
        grand += l.total;
    }
    closeBlock();
    list->SetAmountCell(QStringLiteral("#TOTG"), double(grand));
    db::Query data = db::Query::fromRows({"GRUPA", "CODCLAS", "TIPF", "INCANUME", "TOTAL"}, std::move(rows));
    list->FillRows(data);
    return list->TakeWorkbook();
}

workbook::Workbook BuildAccountsTotal(Services& s, const SummaryRequest& r) {
    auto list = OpenSummaryTemplate(s, QStringLiteral("MODCONTOT"));
    list->SetTextCell(QStringLiteral("#PRIMARIA"), QStringLiteral("Primaria ") + TownHallName(s));
    list->SetTextCell(QStringLiteral("#PERIOADA"), QStringLiteral("perioada ") + PeriodText(r));
    list->SetTextCell(QStringLiteral("#CONTABIL"), AccountantName(s));
    std::vector<std::vector<QVariant>> rows;
    for (const ReceiptLine& l : SelectLines(s, r, CashKinds(r, true), {}, [](const ReceiptLine& a, const ReceiptLine& b) {
             return a.code < b.code;
         })) {
        if (rows.empty() || rows.back()[0].toString() != l.code)
            rows.push_back({l.code, qint64(0), qint64(0), qint64(0), qint64(0), qint64(0), qint64(0)});
        auto& row = rows.back();
        const qint64 parts[] = {l.current + l.credit, l.reduction, l.penalties, l.arrears, l.carried, l.total};
        for (int i = 0; i < 6; ++i) row[size_t(i + 1)] = row[size_t(i + 1)].toLongLong() + parts[i];
    }
    db::Query data = db::Query::fromRows({"CODCLAS", "CURENT", "REDUCERE", "MAJOR", "RESTANTA", "MAJOREST", "TOTAL"},
                                         std::move(rows));
    list->FillRows(data);
    return list->TakeWorkbook();
}

workbook::Workbook BuildSummary(Services& s, SummaryKind kind, const SummaryRequest& r) {
    switch (kind) {
    case SummaryKind::Register: return BuildRegisterList(s, r);
    case SummaryKind::Payments: return BuildPaymentsList(s, r);
    case SummaryKind::Arrears: return BuildArrearsList(s, r);
    case SummaryKind::ByClaim: return BuildClaimSummary(s, r);
    case SummaryKind::ByAccount: return BuildAccountSummary(s, r);
    case SummaryKind::ByCashier: return BuildCashierSummary(s, r);
    case SummaryKind::AccountsByCashier: return BuildAccountsByCashier(s, r);
    case SummaryKind::AccountsTotal: return BuildAccountsTotal(s, r);
    case SummaryKind::Compensations: return BuildCompensationSummary(s, r);
    }
    throw Error(QStringLiteral("Lista necunoscuta"), kTitle);
}

QString SaveSummary(Services& s, SummaryKind kind, const workbook::Workbook& book) {
    const bool built = kind == SummaryKind::ByAccount || kind == SummaryKind::ByCashier ||
                       kind == SummaryKind::Compensations;
    const QString path = FreeTempFileName(s.folders.program, built ? QStringLiteral("CentrZ") : QStringLiteral("Rap"),
                                          QStringLiteral(".xls"));
    if (path.isEmpty()) {
        s.messages().showError(kTitle, QStringLiteral("Lista nu poate fi salvata: toate numele de fisier sunt deschise!\r"
                                                      "Inchideti listele deschise si reluati."));
        return {};
    }
    book.save(path);
    s.desktop().openFile(path);
    return path;
}

} // namespace vartesa
