#pragma once
// What the cash lists share: the receipt lines of a period, the town hall's identity, the
// period texts and the templates they fill. Internal to the cash summaries.

#include "cash/cash_summaries.h"
#include "fillers/xls_model_export.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace vartesa {

/// One line of Chitante.dbf as the summaries read it, texts trimmed.
struct SummaryLine {
    qint64 idchit = 0;
    QString kind;        // TIP: "C", "V", "N", "O"
    QString series;      // SERIA
    qint64 number = 0;   // NR
    QDate day;           // DATAI
    QString village, role, group, code, name, personType, cashier; // SATUL ROL GRUPA CODCLAS NUMEP TIPF INCANUME
    qint64 arrears = 0;        // RESTANTA
    qint64 arrearsPenalty = 0; // MAJOREST
    qint64 credit = 0;         // DEPOZIT
    qint64 current = 0;        // CURENT
    qint64 penalty = 0;        // MAJOR
    qint64 reduction = 0;      // REDUCERE
    qint64 total = 0;          // TOTAL
    bool legal() const { return personType == QLatin1String("J"); }
};

/// Whether line `a` goes before line `b`; lines equal in that order keep the file's order.
using LineOrder = std::function<bool(const SummaryLine& a, const SummaryLine& b)>;

/// Lines of the kinds `kinds` (every kind when empty) dated in the request's period, of `cashier` when not empty,
/// in `order` (the file's order when empty).
std::vector<SummaryLine> SelectLines(Services& s, const SummaryRequest& r, const QStringList& kinds,
                                     const QString& cashier, const LineOrder& order);
/// "C" and "O", with "V" when the request asks for transfers.
QStringList CashKinds(const SummaryRequest& r, bool transfersAllowed);

QString TownHallName(Services& s);  // "Primaria" of the settings
QString AccountantName(Services& s); // "Contabil" of the settings
QString DateText(const QDate& d);    // dd.MM.yyyy
QString PeriodText(const SummaryRequest& r); // "first - last"

/// A template filler holding the template `name`: from the data folder (`dataFile` set; the
/// embedded one is written there first when missing) or from a working copy of the embedded
/// template, deleted once open. Throws vartesa::Error when it cannot be opened.
std::unique_ptr<TExportXLSModel> OpenSummaryTemplate(Services& s, const QString& name, const QString& dataFile = {});

/// The lists built from templates.
workbook::Workbook BuildRegisterList(Services& s, const SummaryRequest& r);
workbook::Workbook BuildPaymentsList(Services& s, const SummaryRequest& r);
workbook::Workbook BuildArrearsList(Services& s, const SummaryRequest& r);
workbook::Workbook BuildClaimSummary(Services& s, const SummaryRequest& r);
workbook::Workbook BuildAccountsByCashier(Services& s, const SummaryRequest& r);
workbook::Workbook BuildAccountsTotal(Services& s, const SummaryRequest& r);
/// The summaries written cell by cell.
workbook::Workbook BuildAccountSummary(Services& s, const SummaryRequest& r);
workbook::Workbook BuildCashierSummary(Services& s, const SummaryRequest& r);
workbook::Workbook BuildCompensationSummary(Services& s, const SummaryRequest& r);

} // namespace vartesa
