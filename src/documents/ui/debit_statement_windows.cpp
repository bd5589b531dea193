#include "documents/ui/debit_statement_windows.h"

#include "cash/ui/period_dialog.h"
#include "cash/ui/statement_picker_window.h"
#include "documents/debit_statement_lists.h"
#include "shell/services.h"

namespace vartesa {

void BordDetClick(Services& services, TBordSelect& selector) {
    StatementChoice choice;
    if (!selector.ChooseStatement(choice)) return;
    services.messages().guard([&] {
        SaveAndOpenCellList(services, StatementList(services, choice.type, choice.number, {choice.from, choice.to}));
    });
}

void CentrBordClick(Services& services, TFAlegePerioada& period) {
    if (!period.ChoosePeriod(false)) return;
    services.messages().guard(
        [&] { SaveAndOpenCellList(services, StatementSummary(services, {period.from(), period.to()})); });
}

void Listacompleta1Click(Services& services, TFAlegePerioada& period) {
    if (!period.ChoosePeriod(false)) return;
    services.messages().guard([&] { ProduceCumulatedStatements(services, {period.from(), period.to()}); });
}

} // namespace vartesa
