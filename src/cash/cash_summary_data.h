#pragma once
// What the cash lists share: the receipt lines of a period, the town hall's identity, the
// period texts and the templates they fill. Internal to the cash summaries.

#include "books/receipts.h"
#include "cash/cash_summaries.h"
#include "fillers/xls_model_export.h"
#include "shell/text_helpers.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace vartesa {

/// Whether line `a` goes before line `b`; lines equal in that order keep the file's order.
using LineOrder = std::function<bool(const ReceiptLine& a, const ReceiptLine& b)>;

/// Lines of the kinds `kinds` (every kind when empty) dated in the request's period, of `cashier` when not empty,
/// in `order` (the file's order when empty). Read straight from the file, only the fields
/// the lists use: IDCHIT, TIP, SERIA, NR, DATAI, SATUL, ROL, GRUPA, CODCLAS, NUMEP, TIPF,
/// INCANUME and the amounts.
std::vector<ReceiptLine> SelectLines(Services& s, const SummaryRequest& r, const QStringList& kinds,
                                     const QString& cashier, const LineOrder& order);
/// "C" and "O", with "V" when the request asks for transfers.
QStringList CashKinds(const SummaryRequest& r, bool transfersAllowed);

QString TownHallName(Services& s);  // "Primaria" of the settings
QString AccountantName(Services& s); // "Contabil" of the settings
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
