// How the amounts typed on the account grids are spread over the parts of each line:
// credit, arrears, carried and new penalties, the two instalments and the reduction. Pure
// computation; nothing here reads or writes a table.

#include "cash/payment.h"

#include "cash/penalties.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace vartesa {

namespace {

// Ratios between amounts carry four decimals, rounded to nearest with ties to even.
Currency Ratio(std::int64_t part, std::int64_t whole) {
    const __int128 num = __int128(part) * Currency::kScale;
    __int128 q = num / whole, r = num % whole;
    if (r != 0) {
        const bool negative = (num < 0) != (whole < 0);
        const __int128 twice = 2 * (r < 0 ? -r : r), absWhole = whole < 0 ? -whole : whole;
        if (twice > absWhole || (twice == absWhole && q % 2 != 0)) q += negative ? -1 : 1;
    }
    return Currency::fromRaw(std::int64_t(q));
}

// k x amount in whole lei, half away from zero.
std::int64_t Share(Currency k, std::int64_t amount) { return (k * Currency::lei(amount)).roundToInt(); }

QChar KindLetter(DocumentKind kind) { return QChar(char(kind)); }

// The DOCJUS of an allocation line, by its letter.
QString AllocationDocument(QChar letter) {
    if (letter == 'N') return QStringLiteral("NC");
    if (letter == 'O') return QStringLiteral("OP");
    return QStringLiteral("CHITANTA");
}

// The DOCJUS of a document line, by its letter.
QString DocumentName(QChar letter) {
    if (letter == 'N') return QStringLiteral("N.C.");
    if (letter == 'O') return QStringLiteral("O.P.");
    return QStringLiteral("CHITANTA");
}

// Step 2: the kind of document from the signs of the typed amounts, or the refusal.
void ChooseKind(const AccountGrids& grids, PaymentAllocation& out) {
    std::int64_t plus = 0, minus = 0;
    auto add = [&](const auto& rows) {
        for (const auto& r : rows) (r.entered > 0 ? plus : minus) += r.entered > 0 ? r.entered : -r.entered;
    };
    add(grids.taxes);
    add(grids.debits);
    add(grids.claims);
    out.total = plus - minus;
    if (plus + minus == 0) out.refusal = QStringLiteral("Nu aveti nimic operat!");
    else if (plus != 0 && minus != 0 && plus != minus)
        out.refusal = QStringLiteral("Nota contabila nu se inchide cu 0!");
    else if (plus != 0 && minus != 0) out.kind = DocumentKind::AccountingNote;
    else if (minus != 0) out.kind = DocumentKind::PaymentOrder;
    else out.kind = DocumentKind::Receipt;
}

// The working balance of one local-tax row while its amount is spread (step 3).
struct TaxState {
    std::int64_t amount, rest, arrears, credit, carried, reduction;
    std::int64_t paid;
};

class TaxAllocator {
public:
    TaxAllocator(const AccountGrids& grids, const QDate& date, bool noPenalty, QChar letter,
                 std::vector<PaymentLine>& lines)
        : date_(date), noPenalty_(noPenalty), letter_(letter), lines_(lines), grids_(grids) {
        const int year = grids.year > 0 ? grids.year : date.year();
        yearStart_ = QDate(year, 1, 1);
        firstDue_ = QDate(year, 3, 31);
        secondDue_ = QDate(year, 9, 30);
    }

    TaxBalance allocate(const TaxRow& row) {
        // A role spared penalties neither pays nor lowers its carried penalties: the receipt
        // writes none for it, so taking them would hide money from the document.
        TaxState s{row.amount, row.rest, row.arrears, row.credit, noPenalty_ ? 0 : row.carried, row.granted,
                   row.entered};
        group_ = row.group.left(60);
        if (letter_ == 'N' && s.paid > 0) s.reduction = noteReduction(s);
        applyCredit(s);
        if (s.credit > 0 && s.paid != 0) {
            PaymentLine line = newLine();
            line.credit = s.paid;
            s.credit += s.paid;
            write(line);
        } else if (s.paid > 0) {
            payArrears(s);
            if (s.paid > 0) payCurrentYear(s);
        }
        return {row.id, s.amount, s.rest, s.reduction, s.arrears, s.credit, noPenalty_ ? row.carried : s.carried};
    }

private:
    PaymentLine newLine() const {
        PaymentLine l;
        l.group = group_;
        l.document = AllocationDocument(letter_);
        l.letter = letter_;
        return l;
    }
    void write(const PaymentLine& line) { lines_.push_back(line); }

    // Step 3.1: an accounting note that moves money onto a tax while a debit of the year is
    // paid too grants the early-payment reduction on what remains.
    std::int64_t noteReduction(const TaxState& s) const {
        const bool debitPaid = std::any_of(grids_.debits.begin(), grids_.debits.end(),
                                           [](const DebitRow& d) { return d.entered != 0; });
        if (!debitPaid) return 0;
        return (grids_.earlyReduction * Currency::lei(s.amount - s.paid) / Currency::lei(100)).roundToInt();
    }

    // Step 3.2: the credit pays the arrears and carried penalties first (arrears before
    // penalties when it does not cover both), then what is left of the year.
    static void applyCredit(TaxState& s) {
        if (s.credit <= 0) return;
        const std::int64_t owed = s.arrears + s.carried;
        if (owed > 0) {
            if (s.credit >= owed) {
                s.credit -= owed;
                s.arrears = s.carried = 0;
            } else {
                const std::int64_t onArrears = std::clamp<std::int64_t>(s.arrears, 0, s.credit);
                s.arrears -= onArrears;
                s.carried -= s.credit - onArrears;
                s.credit = 0;
            }
        }
        if (s.credit > 0 && s.rest > 0) {
            const std::int64_t toPay = s.rest - s.reduction;
            if (s.credit < toPay) {
                s.rest -= s.credit;
                s.credit = 0;
            } else {
                s.credit -= toPay;
                s.rest = 0;
            }
        }
    }

    // Step 3.5: arrears, carried penalties and the penalty on the arrears since 1 January,
    // in proportion when the amount does not cover them.
    void payArrears(TaxState& s) {
        const std::int64_t penalty =
            s.arrears > 0 ? ComputePenalty(noPenalty_, yearStart_, date_, Currency::lei(s.arrears)) : 0;
        const std::int64_t owed = s.arrears + s.carried + penalty;
        if (owed <= 0) return;
        PaymentLine line = newLine();
        if (owed > s.paid) {
            const Currency k = Ratio(s.paid, owed);
            line.arrears = Share(k, s.arrears);
            line.carried = Share(k, s.carried);
            line.penalties = s.paid - line.carried - line.arrears;
            s.paid = 0;
            s.carried -= line.carried;
            s.arrears -= line.arrears;
        } else {
            line.arrears = s.arrears;
            line.carried = s.carried;
            line.penalties = penalty;
            s.paid -= owed;
            s.arrears = s.carried = 0;
        }
        write(line);
    }

    std::int64_t penaltySince(const QDate& due, std::int64_t amount) const {
        return ComputePenalty(noPenalty_, due, date_, Currency::lei(amount));
    }

    // One instalment with its penalty; true when the amount ran out on it.
    bool payInstallment(TaxState& s, std::int64_t installment, std::int64_t penalty) {
        PaymentLine line = newLine();
        const std::int64_t owed = installment + penalty;
        if (owed > s.paid) {
            const std::int64_t m = Share(Ratio(s.paid, owed), penalty);
            s.paid -= m;
            line.penalties = m;
            line.current = s.paid;
            s.rest -= s.paid;
            s.paid = 0;
            write(line);
            return true;
        }
        line.current = installment;
        line.penalties = penalty;
        s.paid -= owed;
        s.rest -= installment;
        write(line);
        return false;
    }

    // Step 3.6: the year's amount by the date: both instalments late after 30 September,
    // the first late after 31 March, the reduction offered until then; the rest to credit.
    void payCurrentYear(TaxState& s) {
        if (s.rest > 0) {
            const Installments split = SplitInstallments(s.amount, s.rest);
            if (date_ > secondDue_) {
                const std::int64_t m = split.first > 0 ? penaltySince(firstDue_, split.first) : 0;
                if (payInstallment(s, split.first, m)) return;
                if (split.second > 0 && payInstallment(s, split.second, penaltySince(secondDue_, split.second)))
                    return;
            } else if (date_ > firstDue_) {
                payAfterFirstDue(s, split.first);
                return;
            } else {
                payInReductionPeriod(s);
                return;
            }
        }
        if (s.paid > 0) {
            PaymentLine line = newLine();
            line.credit = s.paid;
            s.credit += s.paid;
            s.paid = 0;
            write(line);
        }
    }

    void payAfterFirstDue(TaxState& s, std::int64_t first) {
        const std::int64_t m = penaltySince(firstDue_, first);
        PaymentLine line = newLine();
        if (s.rest + m > s.paid) {
            const std::int64_t dueNow = first + m;
            const Currency k = s.paid < dueNow ? Ratio(s.paid, dueNow) : Currency::lei(1);
            line.penalties = Share(k, m);
            s.paid -= line.penalties;
            line.current = s.paid;
            s.rest -= s.paid;
        } else {
            line.current = s.rest;
            line.credit = s.paid - s.rest - m;
            line.penalties = m;
            s.rest = 0;
            s.credit += line.credit;
        }
        s.paid = 0;
        write(line);
    }

    void payInReductionPeriod(TaxState& s) {
        PaymentLine line = newLine();
        if (s.paid >= s.rest - s.reduction) {
            line.current = s.rest;
            line.reduction = s.reduction;
            line.credit = s.paid - s.rest + s.reduction;
            s.rest = 0;
            s.credit += line.credit;
        } else {
            line.current = s.paid;
            s.rest -= s.paid;
        }
        s.paid = 0;
        write(line);
    }

    QDate date_, yearStart_, firstDue_, secondDue_;
    bool noPenalty_;
    QChar letter_;
    std::vector<PaymentLine>& lines_;
    const AccountGrids& grids_;
    QString group_;
};

PaymentLine ClaimLine(const AccountRow& row, const QString& name, QChar letter) {
    PaymentLine l;
    l.group = row.group.left(60);
    l.document = AllocationDocument(letter);
    l.name = name;
    l.letter = letter;
    return l;
}

// Step 4: a fee or fine pays its arrears (REST) first, then the year's amount (SUMA). A
// negative amount gives back a reduction when the line has one, else the current amount.
ClaimBalance AllocateClaim(const ClaimRow& row, QChar letter, std::vector<PaymentLine>& lines) {
    const std::int64_t paid = row.entered;
    std::int64_t amount = row.amount, rest = row.rest;
    PaymentLine line = ClaimLine(row, row.document, letter);
    const std::int64_t beyond = paid - rest;
    if (beyond >= 0) {
        line.arrears = rest;
        rest = 0;
    } else {
        if (paid >= 0) line.arrears = paid;
        else if (row.reduction >= 1) line.reduction = -paid;
        else line.current = paid;
        rest -= paid;
    }
    if (beyond > 0) {
        line.current = std::min(beyond, amount);
        amount -= line.current;
    }
    lines.push_back(line);
    return {row.id, amount, rest};
}

// Step 5: a debit of the year pays its penalty and amount in proportion; an overpayment
// leaves a negative remainder.
DebitBalance AllocateDebit(const DebitRow& row, QChar letter, std::vector<PaymentLine>& lines) {
    const std::int64_t paid = row.entered, penalty = row.penalty;
    std::int64_t open = row.open;
    PaymentLine line = ClaimLine(row, row.document, letter);
    const std::int64_t beyond = paid - open - penalty;
    if (beyond >= 0) {
        line.penalties = penalty;
        line.current = paid - penalty;
        open = -beyond;
    } else if (paid >= 0) {
        line.current = Share(Ratio(paid, open + penalty), open);
        line.penalties = paid - line.current;
        open -= line.current;
    } else {
        line.current = paid;
        open -= paid;
    }
    lines.push_back(line);
    return {row.id, open};
}

// Step 6: one document line per (GRUPA, DENUM, TIP), ordered by DENUM, GRUPA, TIP.
std::vector<PaymentLine> GroupDocumentLines(const std::vector<PaymentLine>& allocation) {
    std::map<std::tuple<QString, QString, QChar>, PaymentLine> groups;
    for (const PaymentLine& a : allocation) {
        auto [it, fresh] = groups.try_emplace({a.name, a.group, a.letter});
        PaymentLine& g = it->second;
        if (fresh) {
            g.group = a.group;
            g.name = a.name;
            g.letter = a.letter;
            g.document = DocumentName(a.letter);
        }
        g.arrears += a.arrears;
        g.carried += a.carried;
        g.credit += a.credit;
        g.current += a.current;
        g.penalties += a.penalties;
        g.reduction += a.reduction;
    }
    std::vector<PaymentLine> lines;
    lines.reserve(groups.size());
    for (auto& [key, line] : groups) lines.push_back(std::move(line));
    return lines;
}

} // namespace

PaymentAllocation AllocatePayment(const AccountGrids& grids, const QDate& date, bool noPenalty) {
    PaymentAllocation out;
    ChooseKind(grids, out);
    if (!out.refusal.isEmpty()) return out;
    const QChar letter = KindLetter(out.kind);
    TaxAllocator taxes(grids, date, noPenalty, letter, out.allocation);
    for (const TaxRow& row : grids.taxes) out.taxes.push_back(taxes.allocate(row));
    for (const ClaimRow& row : grids.claims)
        if (row.entered != 0) out.claims.push_back(AllocateClaim(row, letter, out.allocation));
    for (const DebitRow& row : grids.debits)
        if (row.entered != 0) out.debits.push_back(AllocateDebit(row, letter, out.allocation));
    out.lines = GroupDocumentLines(out.allocation);
    return out;
}

std::optional<QString> OversizedPart(const std::vector<PaymentLine>& lines) {
    constexpr std::int64_t kMost = 999999, kLeast = -99999; // six characters, the sign among them
    for (const PaymentLine& l : lines) {
        const std::pair<const char*, std::int64_t> parts[] = {
            {"Ramasita", l.arrears}, {"Majorare", l.carried}, {"Plusuri", l.credit}, {"Curente", l.current},
            {"Majorari", l.penalties}, {"Reducere", l.reduction}, {"Total", l.total()}};
        for (const auto& [label, value] : parts)
            if (value > kMost || value < kLeast)
                return QStringLiteral("La %1, %2 de %3 lei nu incape pe chitanta!\r"
                                      "Sumele au cel mult 6 cifre, intre -99999 si 999999.")
                    .arg(l.group, QLatin1String(label))
                    .arg(value);
    }
    return std::nullopt;
}

std::optional<QString> SplitRefusal(const PaymentLine& split, std::int64_t total) {
    if (split.total() != total)
        return QStringLiteral("Suma totala incasata trebuie sa fie %1!\rAcum aveti suma %2. Mai studiati problema...")
            .arg(total)
            .arg(split.total());
    return OversizedPart({split});
}

QString PaymentLogText(DocumentKind kind, qint64 number) {
    const QString what = kind == DocumentKind::Receipt ? QStringLiteral("Chitanta") : QString(KindLetter(kind));
    return QStringLiteral("Operat %1 nr.%2").arg(what).arg(number);
}

} // namespace vartesa
