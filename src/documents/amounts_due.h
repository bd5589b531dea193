#pragma once
// What a role owes on a day, as the payment notices and the lists to collect ask it: the rows
// of the role's account (the four local taxes, the other taxes and fines, the debits of the
// year), each computed by the account's own rules, with the early-payment reduction left out
// when the caller asks. A notice asks for what the cashier will collect on that day, so on
// any date its amounts are the account's.

#include "cash/account.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <vector>

namespace vartesa {

namespace db {
class Database;
}

/// The role as the amounts need it, from its register row alone: found, its fiscal year, and
/// penalties waived when the option allows it and the role is marked "NOTAX". The reductions
/// granted on receipts are not looked up (OpenAccountRole reads them): enough for a caller
/// that drops the reductions.
AccountRole AmountsRole(const Role& role, const AccountRules& rules, int year);

/// The three groups of rows of role `role` on `date`, and the total due (the sum of DEPLATA
/// of every row; whole lei). `taxes` keeps the order of the role's SoldCalc.dbf rows. With
/// `noIncrements` no penalty is charged (neither on the taxes nor on the debits) and the
/// penalties carried in show 0; with `dropReductions` every row's reduction (REDUC, RED1) is
/// 0. Rows with nothing to pay (a debit with SUMAC 0, a line with SUMA + REST - REDUC 0) are
/// not among them: they add nothing. Throws vartesa::Error on a database failure.
AccountGrids ComputeAmountsDue(db::Database& db, const QString& dataFolder, const AccountRole& role,
                               const QDate& date, bool noIncrements, bool dropReductions);

/// The sum of DEPLATA over `rows`.
template <typename Row>
std::int64_t SumDue(const std::vector<Row>& rows) {
    std::int64_t sum = 0;
    for (const Row& r : rows) sum += r.due;
    return sum;
}

} // namespace vartesa
