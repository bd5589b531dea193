#pragma once
// "&OPEREAZA" of the account screen: the amounts typed on the grids become one payment
// document. The allocation spreads them over the lines, "Operare" shows the document for
// confirmation, and only then is it stored (in one transaction), printed, the account
// recalculated and the action logged.

#include <QtGlobal>

#include <functional>
#include <memory>

namespace vartesa {

class Services;
class TChitantaF;
class TGospodarieF;

class PaymentOperation {
public:
    PaymentOperation(Services& services, TGospodarieF& account);
    ~PaymentOperation();

    /// The whole operation, from the typed amounts to the logged action.
    void OperButClick();

    /// Prints the stored receipt (IDCHIT); runs only for a receipt ("CHITANTA"). Until the
    /// receipt report is attached, receipts are stored without printing.
    std::function<void(qint64 idchit)> printReceipt;

    TChitantaF& dialog() { return *dialog_; }

private:
    Services& s_;
    TGospodarieF& account_;
    std::unique_ptr<TChitantaF> dialog_;
};

} // namespace vartesa
