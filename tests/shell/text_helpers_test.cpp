// Text, number and validation helpers: spaces and words of names, filters, rounding,
// amounts written in words on receipts, tax groups, fiscal codes and bank accounts.

#include "shell/text_helpers.h"
#include "support/shell_test_util.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>

using namespace vartesa;

// --- names and filters -------------------------------------------------------------------

TEST(TextHelpers, CollapseSpacesTrimsAndKeepsOneSpaceBetweenWords) {
    EXPECT_EQ(CollapseSpaces("  a   b "), "a b");
    EXPECT_EQ(CollapseSpaces("Ion  Popescu   Vasile"), "Ion Popescu Vasile");
    EXPECT_EQ(CollapseSpaces("Ion"), "Ion");
    EXPECT_EQ(CollapseSpaces("     "), "");
    EXPECT_EQ(CollapseSpaces(""), "");
}

TEST(TextHelpers, FirstWordAndTheRestSplitANameAtTheFirstSpace) {
    EXPECT_EQ(FirstWord("Ion Popescu  "), "Ion");
    EXPECT_EQ(AfterFirstWord("Ion Popescu  "), "Popescu");
    // Everything after the first space is the rest, however many words it holds.
    EXPECT_EQ(FirstWord("Popescu Ion Vasile"), "Popescu");
    EXPECT_EQ(AfterFirstWord("Popescu Ion Vasile"), "Ion Vasile");
    EXPECT_EQ(AfterFirstWord("Popescu   Ion"), "Ion");
}

TEST(TextHelpers, WithoutSpaceTheFirstWordIsTheWholeTextAndNothingFollows) {
    EXPECT_EQ(FirstWord("Popescu"), "Popescu");
    EXPECT_EQ(AfterFirstWord("Popescu"), "");
    EXPECT_EQ(FirstWord(""), "");
    EXPECT_EQ(AfterFirstWord(""), "");
}

TEST(TextHelpers, NumberFieldsTakeTheCommaOrThePointOnce) {
    struct Case {
        const char* text;
        int decimals;
        const char* hint; // empty: may stand in the field
    };
    const Case cases[] = {
        {"", 2, ""},
        {"1,", 2, ""},
        {"1,5", 2, ""},
        {"1.25", 2, ""},
        {",5", 2, ""},
        {"1234", 0, ""},
        {"1,5,", 2, "Aici se scrie un numar: cifre si cel mult o virgula!"},
        {"1.5,", 2, "Aici se scrie un numar: cifre si cel mult o virgula!"},
        {"1a", 2, "Aici se scrie un numar: cifre si cel mult o virgula!"},
        {"-1", 2, "Aici se scrie un numar: cifre si cel mult o virgula!"},
        {"1a", 0, "Aici se scrie un numar intreg: doar cifre!"},
        {"1,", 0, "Aici se scrie un numar intreg, fara virgula!"},
        {"1,255", 2, "Aici incap cel mult 2 zecimale!"},
        {"12345,5", 2, "Aici incap cel mult 4 cifre inainte de virgula!"},
        {"12345", 0, "Aici incap cel mult 4 cifre!"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NumberFieldHint(c.text, 4, c.decimals), QString::fromLatin1(c.hint)) << c.text;
    const std::optional<TypedDecimal> d = ParseTypedDecimal(" 007,250 ");
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(QStringList({d->whole, d->fraction}), QStringList({"7", "25"}));
    EXPECT_EQ(ParseTypedDecimal("1,5")->value(), 1.5);
    for (const char* bad : {",", "", "1,5,0", "1 5"}) EXPECT_FALSE(ParseTypedDecimal(bad).has_value()) << bad;
}

TEST(TextHelpers, JoinWithAndChainsBracketedConditions) {
    EXPECT_EQ(JoinWithAnd("(A)(B)(C)"), "(A) AND (B) AND (C)");
    EXPECT_EQ(JoinWithAnd("  (SATUL='X')(ROL<>'') "), "(SATUL='X') AND (ROL<>'')");
    EXPECT_EQ(JoinWithAnd("(A)"), "(A)");
    EXPECT_EQ(JoinWithAnd(""), "");
}

TEST(TextHelpers, MemoTextJoinsLinesWithoutSeparator) {
    EXPECT_EQ(MemoText({"Nota ", "de plata", ""}), "Nota de plata");
    EXPECT_EQ(MemoText({}), "");
}

// --- rounding ----------------------------------------------------------------------------

namespace {

struct RoundCase {
    double value;
    std::int64_t expected;
};
std::ostream& operator<<(std::ostream& os, const RoundCase& c) {
    return os << c.value << " -> " << c.expected;
}

} // namespace

class RoundToIntTest : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundToIntTest, RoundsHalfAwayFromZero) {
    EXPECT_EQ(RoundToInt(GetParam().value), GetParam().expected) << "value " << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(TextHelpers, RoundToIntTest,
                         ::testing::Values(RoundCase{2.5, 3}, RoundCase{-2.5, -3}, RoundCase{-0.5, -1},
                                           RoundCase{0.49, 0}, RoundCase{-0.49, 0}, RoundCase{0.5, 1},
                                           RoundCase{1.5, 2}, RoundCase{-1.5, -2}, RoundCase{0.0, 0},
                                           RoundCase{2.4999, 2}, RoundCase{2.51, 3}, RoundCase{-2.51, -3},
                                           RoundCase{7.0, 7}, RoundCase{-7.0, -7},
                                           RoundCase{1234567.5, 1234568}, RoundCase{-1234567.5, -1234568},
                                           RoundCase{1000000000.49, 1000000000}));

// The largest double below one half is less than a half, so it must round to 0 like 0.49
// does (adding 0.5 to it and taking the floor would give 1: the sum rounds up to 1.0).
TEST(TextHelpers, RoundToIntKeepsTheLargestValueBelowOneHalfAtZero) {
    const double belowHalf = std::nextafter(0.5, 0.0);
    ASSERT_LT(belowHalf, 0.5);
    EXPECT_EQ(RoundToInt(belowHalf), 0);
    EXPECT_EQ(RoundToInt(-belowHalf), 0);
}

// --- amounts in words ---------------------------------------------------------------------

namespace {

struct WordsCase {
    const char* amount;
    const char* words;
};
std::ostream& operator<<(std::ostream& os, const WordsCase& c) {
    return os << '"' << c.amount << "\" -> " << c.words;
}

} // namespace

class AmountInWordsTest : public ::testing::TestWithParam<WordsCase> {};

TEST_P(AmountInWordsTest, WritesTheWholeLeiInRomanianWords) {
    EXPECT_EQ(AmountInWords(QString::fromUtf8(GetParam().amount)), QString::fromUtf8(GetParam().words))
        << "amount \"" << GetParam().amount << "\"";
}

// The examples the office uses on its receipts.
INSTANTIATE_TEST_SUITE_P(Examples, AmountInWordsTest,
                         ::testing::Values(WordsCase{"0", "zero"}, WordsCase{"1", "unu"}, WordsCase{"2", "doi"},
                                           WordsCase{"12", "doisprezece"}, WordsCase{"14", "patrusprezece"},
                                           WordsCase{"21", "douazecisiunu"}, WordsCase{"60", "sasezeci"},
                                           WordsCase{"102", "unasutadoi"}, WordsCase{"1000", "unamii"},
                                           WordsCase{"1250", "unamiidouasutecincizeci"},
                                           WordsCase{"2015", "douamiicincisprezece"}));

// Worked out from the rules: digit words, "zece", "unsprezece", "doisprezece", u+"sprezece",
// t+"zeci"+"si"+u, "unasuta" / h+"sute", the suffixes "mii", "milioane", "miliarde", zero
// groups adding nothing, and the endings "una" -> "unu", "...doua" -> "...doi".
INSTANTIATE_TEST_SUITE_P(
    Rules, AmountInWordsTest,
    ::testing::Values(
        WordsCase{"3", "trei"}, WordsCase{"4", "patru"}, WordsCase{"5", "cinci"}, WordsCase{"6", "sase"},
        WordsCase{"7", "sapte"}, WordsCase{"8", "opt"}, WordsCase{"9", "noua"}, WordsCase{"10", "zece"},
        WordsCase{"11", "unsprezece"}, WordsCase{"13", "treisprezece"}, WordsCase{"15", "cincisprezece"},
        WordsCase{"16", "sasesprezece"}, WordsCase{"17", "saptesprezece"}, WordsCase{"18", "optsprezece"},
        WordsCase{"19", "nouasprezece"}, WordsCase{"20", "douazeci"}, WordsCase{"22", "douazecisidoi"},
        WordsCase{"30", "treizeci"}, WordsCase{"45", "patruzecisicinci"}, WordsCase{"99", "nouazecisinoua"},
        WordsCase{"100", "unasuta"}, WordsCase{"101", "unasutaunu"}, WordsCase{"110", "unasutazece"},
        WordsCase{"111", "unasutaunsprezece"}, WordsCase{"112", "unasutadoisprezece"},
        WordsCase{"200", "douasute"}, WordsCase{"202", "douasutedoi"}, WordsCase{"300", "treisute"},
        WordsCase{"999", "nouasutenouazecisinoua"}, WordsCase{"1001", "unamiiunu"},
        WordsCase{"1100", "unamiiunasuta"}, WordsCase{"2000", "douamii"}, WordsCase{"2002", "douamiidoi"},
        WordsCase{"12000", "doisprezecemii"}, WordsCase{"200000", "douasutemii"},
        WordsCase{"1000000", "unamilioane"}, WordsCase{"1000001", "unamilioaneunu"},
        WordsCase{"2000000", "douamilioane"}, WordsCase{"1002003", "unamilioanedouamiitrei"},
        WordsCase{"1000000000", "unamiliarde"}, WordsCase{"3000000002", "treimiliardedoi"}));

// What the clerk types or the program formats around the number.
INSTANTIATE_TEST_SUITE_P(Formats, AmountInWordsTest,
                         ::testing::Values(WordsCase{"1,250.75", "unamiidouasutecincizeci"},
                                           WordsCase{"1,000,000", "unamilioane"},
                                           WordsCase{"12.99", "doisprezece"}, WordsCase{"", "zero"},
                                           WordsCase{".5", "zero"}, WordsCase{"0.99", "zero"},
                                           WordsCase{"000", "zero"}, WordsCase{"007", "sapte"}));

// --- tax groups ---------------------------------------------------------------------------

TEST(TextHelpers, GroupIndexNumbersTheFourMainTaxesAndPutsEverythingElseFifth) {
    EXPECT_EQ(GroupIndex("Alte taxe"), 5);
    EXPECT_EQ(GroupIndex(""), 5);
    EXPECT_EQ(GroupIndex("IMPOZIT PE CLADIRI"), 1);
    EXPECT_EQ(GroupIndex("Impozit pe mijloace de transport"), 4);
    EXPECT_EQ(GroupIndex("Taxa salubrizare"), 5);
}

TEST(TextHelpers, EveryListedGroupHasItsOwnPosition) {
    const QStringList& groups = TaxGroups();
    ASSERT_EQ(groups.size(), 5);
    EXPECT_EQ(groups.first(), "Impozit pe cladiri");
    EXPECT_EQ(groups.last(), "Alte taxe");
    for (int i = 0; i < groups.size(); ++i) {
        EXPECT_EQ(GroupIndex(groups[i]), i + 1) << groups[i].toStdString();
        EXPECT_EQ(GroupIndex(groups[i].toLower()), i + 1) << groups[i].toStdString();
    }
}

// --- fiscal codes -------------------------------------------------------------------------

namespace {

struct CodeCase {
    const char* code;
    bool valid;
};
std::ostream& operator<<(std::ostream& os, const CodeCase& c) {
    return os << '"' << c.code << "\" " << (c.valid ? "valid" : "invalid");
}

} // namespace

class FiscalCodeTest : public ::testing::TestWithParam<CodeCase> {};

TEST_P(FiscalCodeTest, ChecksLengthDigitsAndControlDigit) {
    EXPECT_EQ(IsValidFiscalCode(GetParam().code), GetParam().valid) << "code \"" << GetParam().code << "\"";
}

// Control digit: body padded to 9 digits on the left, weighted by 7 5 3 2 1 7 5 3 2, sum
// times 10 modulo 11, 10 counting as 0.
INSTANTIATE_TEST_SUITE_P(
    TextHelpers, FiscalCodeTest,
    ::testing::Values(CodeCase{"18547290", true}, CodeCase{"18547291", false}, CodeCase{"12", false},
                      CodeCase{"124", true},          // 1*3 + 2*2 = 7, 70 mod 11 = 4
                      CodeCase{"123", false}, CodeCase{"15900825", true}, CodeCase{"143998407", true},
                      CodeCase{"1234567897", true},   // ten digits, the longest code
                      CodeCase{"1234567890", false}, CodeCase{"12345678970", false},
                      CodeCase{"18547290000", false}, CodeCase{"1850101123456", false},
                      CodeCase{"", false}, CodeCase{"1854729A", false}, CodeCase{"18 47290", false}));

TEST(TextHelpers, NoElevenDigitTextIsAFiscalCode) {
    for (const char* code : {"00000000000", "12345678901", "18547290123", "99999999999", "10000000009"})
        EXPECT_FALSE(IsValidFiscalCode(code)) << code;
}

TEST(TextHelpers, EveryWrongControlDigitIsRefused) {
    for (const QString& body : {QStringLiteral("1854729"), QStringLiteral("1590082"), QStringLiteral("12345678")}) {
        int accepted = 0;
        for (int d = 0; d <= 9; ++d)
            if (IsValidFiscalCode(body + QString::number(d))) ++accepted;
        EXPECT_EQ(accepted, 1) << body.toStdString() << ": exactly one control digit is right";
    }
}

// --- bank accounts ------------------------------------------------------------------------

namespace {

// ISO 13616 check of an account written without spaces, computed here independently.
int ibanRemainder(const QString& account) {
    const QString moved = account.mid(4) + account.left(4);
    int r = 0;
    for (QChar c : moved) {
        const QString digits = c.isDigit() ? QString(c) : QString::number(c.unicode() - 'A' + 10);
        for (QChar d : digits) r = (r * 10 + d.digitValue()) % 97;
    }
    return r;
}

const QString kIban = QStringLiteral("RO49 AAAA 1B31 0075 9384 0000");

} // namespace

TEST(TextHelpers, IbanWithSpacesOrLowerCaseIsAccepted) {
    EXPECT_TRUE(IsValidIban(kIban));
    EXPECT_TRUE(IsValidIban("RO49AAAA1B31007593840000"));
    EXPECT_TRUE(IsValidIban(kIban.toLower()));
    EXPECT_TRUE(IsValidIban("  " + kIban + " "));
}

TEST(TextHelpers, IbanWithAnyOneDigitChangedIsRefused) {
    int changed = 0;
    for (int i = 0; i < kIban.size(); ++i) {
        if (!kIban[i].isDigit()) continue;
        for (int d = 0; d <= 9; ++d) {
            if (d == kIban[i].digitValue()) continue;
            QString wrong = kIban;
            wrong[i] = QChar('0' + d);
            EXPECT_FALSE(IsValidIban(wrong)) << wrong.toStdString();
            ++changed;
        }
    }
    EXPECT_EQ(changed, 17 * 9); // every digit of the account was tried
}

TEST(TextHelpers, IbanOfWrongLengthIsRefused) {
    EXPECT_FALSE(IsValidIban(""));
    EXPECT_FALSE(IsValidIban("RO49"));
    EXPECT_FALSE(IsValidIban("RO49 AAAA 1B31 0075 9384 000"));   // 23
    EXPECT_FALSE(IsValidIban("RO49 AAAA 1B31 0075 9384 00000")); // 25
    // 26 characters whose check still comes out right: the length alone refuses it.
    const QString longer = QStringLiteral("RO??AAAA1B3100759384000000");
    const int check = 98 - ibanRemainder(QString(longer).replace("??", "00"));
    const QString checked = QString(longer).replace("??", QStringLiteral("%1").arg(check, 2, 10, QChar('0')));
    ASSERT_EQ(ibanRemainder(checked), 1);
    EXPECT_FALSE(IsValidIban(checked));
}

TEST(TextHelpers, IbanOfAnotherCountryIsRefused) {
    // Same account with the check digits another country code needs: only the country is wrong.
    for (const QString& country : {QStringLiteral("MD"), QStringLiteral("BG"), QStringLiteral("RU")}) {
        const QString bban = QStringLiteral("AAAA1B31007593840000");
        const int check = 98 - ibanRemainder(country + "00" + bban);
        const QString account = country + QStringLiteral("%1").arg(check, 2, 10, QChar('0')) + bban;
        ASSERT_EQ(ibanRemainder(account), 1) << account.toStdString();
        EXPECT_FALSE(IsValidIban(account)) << account.toStdString();
    }
}
