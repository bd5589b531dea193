#pragma once
// The "Borderouri Debite" entries of the lists menu: the statement chosen in TBordSelect and
// the period chosen in TFAlegePerioada (without the transfer option) lead to their lists.

namespace vartesa {

class Services;
class TBordSelect;
class TFAlegePerioada;

/// "Lista borderouri": the statement list of the chosen kind, number and "Perioada de afisat".
void BordDetClick(Services& services, TBordSelect& selector);
/// "Centralizator": the summary of the chosen period.
void CentrBordClick(Services& services, TFAlegePerioada& period);
/// "Borderouri cumulate": the cumulated statements of the chosen period.
void Listacompleta1Click(Services& services, TFAlegePerioada& period);

} // namespace vartesa
