#include "documents/ui/collection_menu.h"

#include "cash/ui/collection_list_dialog.h"
#include "documents/collection_lists.h"
#include "documents/ui/role_selection_dialog.h"
#include "shell/services.h"

namespace vartesa {

namespace {

CollectionChoice choiceOf(const TAddListDeInc& dialog) {
    return {dialog.village(), dialog.date(), dialog.withCredits(), dialog.withoutDebts(),
            PersonChoice(std::max(0, dialog.personType()))};
}

} // namespace

void ListaRamasiteClick(Services& services, TFAlegeROL& dialog, ArrearsKind kind) {
    const QString word = ArrearsKindWord(kind);
    const std::optional<RoleSelection> chosen = dialog.ChooseRoles(
        QStringLiteral("Lista cu ") + word, QStringLiteral("Excludem ROL-urile fara ") + word, true, true, true, false);
    if (!chosen) return;
    services.messages().guard([&] { ProduceArrearsList(services, *chosen, {kind, chosen->siZero, false}); });
}

void ListaRamasiteAdresa1Click(Services& services, TFAlegeROL& dialog) {
    std::optional<RoleSelection> chosen =
        dialog.ChooseRoles(QStringLiteral("Lista cu Ramasite - Adresa"), QStringLiteral("Excludem ROL-urile fara Ramasite"),
                           false, true, true, false);
    if (!chosen) return;
    chosen->addressOrder = true;
    services.messages().guard([&] { ProduceArrearsList(services, *chosen, AddressListOptions()); });
}

void ListadeincasatDet(Services& services, TAddListDeInc& dialog) {
    if (!dialog.ShowCollectionListDialog(true)) return;
    services.messages().guard([&] { ProduceDetailedCollectionList(services, choiceOf(dialog)); });
}

void Rezumat1Click(Services& services, TAddListDeInc& dialog) {
    if (!dialog.ShowCollectionListDialog(true)) return;
    services.messages().guard([&] { ProduceCollectionSummary(services, choiceOf(dialog)); });
}

void GradRec(Services& services) {
    services.messages().guard([&] { ProduceCollectionRate(services); });
}

} // namespace vartesa
