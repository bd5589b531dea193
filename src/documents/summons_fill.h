#pragma once
// The pieces of Titlu.rtf that the garnishment papers share with the summons: the header of
// the town hall and the debtor, the title lines with their totals, the summary per group,
// and the document filled from its marker on into a free numbered file.

#include "documents/summonses.h"

#include <functional>

namespace vartesa {

class TRTFReplace;
struct Role;

/// How a title shows what is owed besides the increments: the summons keeps the arrears
/// ("[R k]", "[RM k]", "[TR]") apart from the current amounts ("[D k]", "[DC k]", "[TD]");
/// the garnishment's title has one debit, both together, in the "D" keys.
enum class TitleColumns { ArrearsApart, DebitMerged };

/// "[JUDET]", "[COMUNA]", "[CUI]", "[PRIMAR]", "[INTOCMIT]", "[DATA]" = `date`, and the
/// debtor: "[NUMEP]", "[CNP]", "[ROL]", "[SAT]" = `village`, "[ADRESA]".
void FillSummonsHeader(TRTFReplace& rtf, const SummonsPrintSettings& settings, const QDate& date, const Role& role,
                       const QString& village);
/// The lines k = 1, 2 ... in their order, the totals of all of them, "  -" after the last
/// line up to 30 (the form shows 20).
void FillSummonsLines(TRTFReplace& rtf, const std::vector<SummonsLine>& lines, TitleColumns columns);
/// One summary row per group, by group name, "  -" after the last up to 20.
void FillSummonsGroups(TRTFReplace& rtf, const std::vector<SummonsLine>& lines, TitleColumns columns);

/// Copies `templatePath` into a free "<outputBase><n>.rtf", `fill` adding the values, then
/// replaced from the first line holding `marker` on; hands it to the desktop when `open`.
/// Returns the document. Throws vartesa::Error (`busy` when every name is taken); a failure
/// leaves no document.
QString FillMarkerDocument(Services& services, const QString& templatePath, const QString& outputBase,
                           const QString& marker, const std::function<void(TRTFReplace&)>& fill, bool open,
                           const QString& busy);

} // namespace vartesa
