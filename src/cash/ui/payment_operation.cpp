#include "cash/ui/payment_operation.h"

#include "cash/payment.h"
#include "cash/ui/account_window.h"
#include "cash/ui/payment_dialog.h"
#include "db/error.h"
#include "shell/action_log.h"
#include "shell/counters.h"
#include "shell/services.h"

#include <QDateEdit>
#include <QLoggingCategory>

namespace vartesa {

namespace {

Q_LOGGING_CATEGORY(paymentLog, "vartesa.payment")

const QString kTitle = QStringLiteral("Operare");

} // namespace

PaymentOperation::PaymentOperation(Services& services, TGospodarieF& account)
    : s_(services), account_(account), dialog_(std::make_unique<TChitantaF>(services, &account)) {}

PaymentOperation::~PaymentOperation() = default;

void PaymentOperation::OperButClick() {
    account_.postPendingEdits();
    const AccountRole& role = account_.accountRole();
    if (!role.found) return;
    PaymentAllocation allocation = AllocatePayment(account_.grids(), account_.DataCalc->date(), role.noPenalty);
    if (!allocation.refusal.isEmpty()) {
        s_.messages().ShowErrors(kTitle, allocation.refusal, MessageKind::Error, MessageButton::Ok);
        return;
    }
    const ReceiptNumbering numbering = ReadReceiptNumbering(s_.database(), s_.folders.data, s_.counters(), s_.user);
    FillDocumentLines(s_.database(), s_.folders.data, allocation.lines, role.physicalPerson(), numbering.series,
                      numbering.next);
    if (allocation.lines.empty()) {
        s_.messages().ShowErrors(kTitle, kNothingToStore, MessageKind::Error, MessageButton::Ok);
        return;
    }
    const PaymentDialogSetup setup{allocation.kind, role, account_.DataCalc->date(), numbering, allocation.total};
    const std::optional<PaymentDocument> document = dialog_->ShowPaymentDialog(setup, allocation.lines);
    if (!document) return;

    qCInfo(paymentLog) << "Incep sa memorez chitanta...";
    CountersFile counters = s_.counters();
    const StoredPayment stored = StorePayment(s_.database(), s_.folders.data, counters, role, account_.grids(),
                                              allocation, *document, {s_.user, s_.userCard});
    if (!stored.refusal.isEmpty()) {
        s_.messages().ShowErrors(kTitle, stored.refusal, MessageKind::Error, MessageButton::Ok);
        // Another workstation paid meanwhile: the screen shows what the role owes now.
        if (stored.refusal == kPaymentSituationChanged) account_.CalcOm();
        return;
    }
    // The document is stored whatever happens to its printout: it can be printed again from
    // the history, and the account and the log must show it.
    if (document->kind == DocumentKind::Receipt && printReceipt) s_.messages().guard([&] { printReceipt(stored.idchit); });
    account_.CalcOm();
    try {
        ActionLog log = s_.actionLog();
        log.LogAction(role.role.number, PaymentLogText(document->kind, stored.number));
    } catch (const Error& e) {
        // The payment stands whatever the log says: the clerk learns that its line is missing.
        s_.messages().ShowErrors(kTitle, QStringLiteral("Plata s-a memorat, dar nu s-a putut scrie in jurnal: ") + e.text(),
                                 MessageKind::Warning, MessageButton::Ok);
    }
}

} // namespace vartesa
