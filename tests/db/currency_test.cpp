// Money with four decimals: reading, writing, rounding and arithmetic.

#include "db/currency.h"
#include "db/error.h"

#include <QVariant>

#include <gtest/gtest.h>

#include <optional>

using vartesa::Currency;

namespace {

struct FromDouble {
    double value;
    std::int64_t raw;
};

class CurrencyFromDouble : public ::testing::TestWithParam<FromDouble> {};

TEST_P(CurrencyFromDouble, NearestFourDecimalsTiesAwayFromZero) {
    EXPECT_EQ(Currency::fromDouble(GetParam().value).raw(), GetParam().raw);
}

INSTANTIATE_TEST_SUITE_P(Values, CurrencyFromDouble,
                         ::testing::Values(FromDouble{0, 0}, FromDouble{2.5, 25000}, FromDouble{-2.5, -25000},
                                           FromDouble{1.23456, 12346}, FromDouble{-1.23456, -12346},
                                           FromDouble{2.675, 26750}, FromDouble{0.00005, 1}, FromDouble{-0.00005, -1},
                                           FromDouble{0.00004, 0}, FromDouble{1234567.891, 12345678910},
                                           // four decimals at most: 0.49999 is held as 0.5000
                                           FromDouble{0.49999, 5000}, FromDouble{0.49994, 4999}));

struct Parsed {
    const char* text;
    std::optional<std::int64_t> raw;
};

class CurrencyParse : public ::testing::TestWithParam<Parsed> {};

TEST_P(CurrencyParse, TextToAmount) {
    const std::optional<Currency> c = Currency::parse(QString::fromLatin1(GetParam().text));
    ASSERT_EQ(c.has_value(), GetParam().raw.has_value()) << GetParam().text;
    if (c) {
        EXPECT_EQ(c->raw(), *GetParam().raw);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CurrencyParse,
    ::testing::Values(Parsed{"12", 120000}, Parsed{"-3.5", -35000}, Parsed{" 7.25 ", 72500}, Parsed{"1,5", 15000},
                      Parsed{"+2", 20000}, Parsed{".5", 5000}, Parsed{"5.", 50000}, Parsed{"0", 0},
                      Parsed{"1.23455", 12346}, Parsed{"-1.23455", -12346}, Parsed{"1.2344999", 12345},
                      Parsed{"0.00005", 1}, Parsed{"0.00004", 0}, Parsed{"", std::nullopt}, Parsed{"   ", std::nullopt},
                      Parsed{"abc", std::nullopt}, Parsed{"12A", std::nullopt}, Parsed{"1.2.3", std::nullopt},
                      Parsed{"-", std::nullopt}, Parsed{"1 000", std::nullopt}, Parsed{"1e5", std::nullopt},
                      Parsed{"99999999999999999999", std::nullopt}));

struct Shown {
    std::int64_t raw;
    int decimals;
    const char* text;
};

class CurrencyToString : public ::testing::TestWithParam<Shown> {};

TEST_P(CurrencyToString, RoundedHalfAwayFromZeroWithPoint) {
    EXPECT_EQ(Currency::fromRaw(GetParam().raw).toString(GetParam().decimals), QString::fromLatin1(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Amounts, CurrencyToString,
                         ::testing::Values(Shown{12345, 2, "1.23"}, Shown{12350, 2, "1.24"}, Shown{-12350, 2, "-1.24"},
                                           Shown{25000, 0, "3"}, Shown{-25000, 0, "-3"}, Shown{-40, 2, "0.00"},
                                           Shown{50000, 2, "5.00"}, Shown{12345, 4, "1.2345"}, Shown{12345, 3, "1.235"},
                                           Shown{-5, 3, "-0.001"}, Shown{1234567890000, 2, "123456789.00"},
                                           Shown{12345, 6, "1.2345"}, Shown{0, 2, "0.00"}));

TEST(Currency, DefaultTextHasTwoDecimals) {
    EXPECT_EQ(Currency::lei(7).toString(), QStringLiteral("7.00"));
    EXPECT_EQ(Currency::fromRaw(-5).toString(), QStringLiteral("0.00"));
}

TEST(Currency, RoundToIntHalfAwayFromZero) {
    const struct {
        double value;
        std::int64_t whole;
    } cases[] = {{-0.5, -1}, {2.5, 3}, {-2.5, -3}, {0.4999, 0}, {-0.4999, 0}, {1.5, 2}, {0.5, 1}, {-1.4999, -1}, {1234.5, 1235}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(Currency::fromDouble(c.value).roundToInt(), c.whole);
    }
    EXPECT_EQ(Currency::fromRaw(-5000).roundToInt(), -1);
    EXPECT_EQ(Currency::fromRaw(4999).roundToInt(), 0);
}

TEST(Currency, ProductsRoundHalfAwayFromZero) {
    const struct {
        std::int64_t a, b, product;
    } cases[] = {{15000, 15000, 22500}, {1, 5000, 1},       {-1, 5000, -1},           {1, 4000, 0},
                 {1234567, 20000, 2469134}, {102500, -30000, -307500}, {3333, 30000, 9999}, {-1, -5000, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.a) + " * " + std::to_string(c.b));
        EXPECT_EQ((Currency::fromRaw(c.a) * Currency::fromRaw(c.b)).raw(), c.product);
        EXPECT_EQ((Currency::fromRaw(c.b) * Currency::fromRaw(c.a)).raw(), c.product);
    }
}

TEST(Currency, QuotientsRoundHalfAwayFromZero) {
    const struct {
        std::int64_t a, b, quotient;
    } cases[] = {{10000, 30000, 3333},  {20000, 30000, 6667}, {-20000, 30000, -6667}, {20000, -30000, -6667},
                 {-20000, -30000, 6667}, {1, 20000, 1},       {-1, 20000, -1},        {100000, 40000, 25000},
                 {3, 20000, 2},         {0, 70000, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.a) + " / " + std::to_string(c.b));
        EXPECT_EQ((Currency::fromRaw(c.a) / Currency::fromRaw(c.b)).raw(), c.quotient);
    }
}

TEST(Currency, DivisionByZeroThrows) {
    EXPECT_THROW(Currency::lei(5) / Currency(), vartesa::Error);
    EXPECT_THROW(Currency() / Currency::fromRaw(0), vartesa::Error);
}

TEST(Currency, SumsComparisonsAndVariants) {
    Currency total = Currency::lei(1) + Currency::fromRaw(5000);
    EXPECT_EQ(total.raw(), 15000);
    total -= Currency::lei(2);
    EXPECT_EQ(total.raw(), -5000);
    EXPECT_EQ((-total).raw(), 5000);
    total += Currency::fromRaw(5000);
    EXPECT_EQ(total, Currency());
    EXPECT_LT(Currency::fromRaw(-1), Currency());
    EXPECT_GT(Currency::lei(2), Currency::fromRaw(19999));
    EXPECT_DOUBLE_EQ(Currency::fromRaw(12345).toDouble(), 1.2345);
    const QVariant v = QVariant::fromValue(Currency::fromRaw(987654));
    EXPECT_EQ(v.value<Currency>().raw(), 987654);
}

} // namespace
