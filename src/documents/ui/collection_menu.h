#pragma once
// The entries of "Lista cu Ramasite / Plusuri" and "Lista de incasat": each asks its dialog,
// then makes its list and hands it to the desktop. Errors are reported to the clerk.

#include "documents/arrears_lists.h"

namespace vartesa {

class Services;
class TAddListDeInc;
class TFAlegeROL;

/// LRamasite, LPlusuri: the choice of roles with the box "Excludem ROL-urile fara ...", the
/// person type and "Ordonare dupa adresa", then the list of the kind.
void ListaRamasiteClick(Services& services, TFAlegeROL& dialog, ArrearsKind kind);
/// ListaRamasiteAdresa1: the choice of roles with the box and the person type, then the arrears
/// by address (roles without arrears always left out).
void ListaRamasiteAdresa1Click(Services& services, TFAlegeROL& dialog);
/// Detaliata1: "Lista de incasat" with the person type, then the detailed list.
void ListadeincasatDet(Services& services, TAddListDeInc& dialog);
/// Rezumat1: "Lista de incasat", then the summary at today of its village and person type.
void Rezumat1Click(Services& services, TAddListDeInc& dialog);
/// Gradulderecuperareimpozite1: the collection rate, without a dialog.
void GradRec(Services& services);

} // namespace vartesa
