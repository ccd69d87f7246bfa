// Exact numbers: the arithmetic against 128-bit integers, the normal form of
// fractions and decimals, no result where the exact one does not fit or does
// not exist, and the text forms.
#include "expr/number.h"

#include <gtest/gtest.h>

#include <random>

#include "shell/cp1251.h"
#include "shell/recording_messages.h"

namespace lemmix {
namespace {

using Wide = __int128;

TNumber I(std::int32_t n) { return TNumber(n); }
TNumber Q(std::int64_t p, std::int64_t q) { return *TNumber::Fraction(p, q); }
// mantissa / 10^scale, the number the text "m.mmm" reads as.
TNumber D(std::int64_t mantissa, int scale) { return *TNumber::Decimal(mantissa, scale); }

// The exact value p/q as the number it must become, or none when a part does not fit.
void ExpectExact(const std::optional<TNumber>& n, Wide p, Wide q) {
  ASSERT_NE(q, 0);
  if (q < 0) {
    p = -p;
    q = -q;
  }
  Wide a = p < 0 ? -p : p;
  Wide b = q;
  while (b != 0) {
    const Wide r = a % b;
    a = b;
    b = r;
  }
  if (a > 1) {
    p /= a;
    q /= a;
  }
  const auto fits = [](Wide v) { return v >= INT32_MIN && v <= INT32_MAX; };
  if (!fits(p) || !fits(q)) {
    EXPECT_EQ(n, std::nullopt) << NumberToString(*n);
    return;
  }
  ASSERT_TRUE(n);
  EXPECT_EQ(n->Num(), static_cast<std::int32_t>(p));
  EXPECT_EQ(n->Den(), static_cast<std::int32_t>(q));
  EXPECT_EQ(n->IsInteger(), q == 1);
}

TEST(Number, RandomArithmeticAgreesWithWideIntegers) {
  std::mt19937 random(20261208);
  std::uniform_int_distribution<std::int32_t> any(INT32_MIN, INT32_MAX);
  std::uniform_int_distribution<std::int32_t> small(-50000, 50000);
  for (int i = 0; i < 3000; ++i) {
    // Integers over the whole range: sums and products overflow often.
    const std::int32_t a = any(random);
    const std::int32_t b = i % 2 ? any(random) : small(random);
    ExpectExact(Add(I(a), I(b)), Wide{a} + b, 1);
    ExpectExact(Multiply(I(a), I(b)), Wide{a} * b, 1);
    // Fractions with small and with large parts.
    const std::int32_t p1 = small(random);
    const std::int32_t q1 = small(random) | 1;
    const std::int32_t p2 = i % 3 ? small(random) : any(random);
    const std::int32_t q2 = (i % 5 ? small(random) : any(random)) | 1;
    const std::optional<TNumber> x = TNumber::Fraction(p1, q1);
    const std::optional<TNumber> y = TNumber::Fraction(p2, q2);
    ExpectExact(x, p1, q1);
    ExpectExact(y, p2, q2);
    ASSERT_TRUE(x && y);
    ExpectExact(Add(*x, *y), Wide{p1} * q2 + Wide{p2} * q1, Wide{q1} * q2);
    ExpectExact(Multiply(*x, *y), Wide{p1} * p2, Wide{q1} * q2);
    ExpectExact(Difference(*x, *y), Wide{p1} * q2 - Wide{p2} * q1, Wide{q1} * q2);
    ExpectExact(Add(I(a), *y), Wide{a} * q2 + p2, q2);
  }
}

TEST(Number, NormalFormOfFractions) {
  EXPECT_EQ(Multiply(I(3), Q(1, 6)), Q(1, 2));
  EXPECT_EQ(Multiply(I(6), Q(1, 3)), I(2));
  EXPECT_EQ(Add(Q(1, 3), Q(2, 3)), I(1));
  EXPECT_EQ(Q(4, -6).Rational(), (TRational{-2, 3}));
  EXPECT_EQ(Q(-10, -5), I(2));
  EXPECT_TRUE(Q(7, 1).IsInteger());
  EXPECT_EQ(TNumber::Fraction(1, 0), std::nullopt);
}

TEST(Number, OverflowHasNoResult) {
  RecordingMessages messages;
  EXPECT_EQ(Add(I(INT32_MAX), I(1)), std::nullopt);
  EXPECT_EQ(Multiply(I(65536), I(65536)), std::nullopt);
  TNumber minimum = I(INT32_MIN);
  EXPECT_FALSE(Negate(minimum));
  EXPECT_EQ(minimum, I(INT32_MIN));  // unchanged
  TNumber inverse = I(INT32_MIN);
  EXPECT_FALSE(Invert(inverse, messages));  // -1/2147483648: the denominator does not fit
  EXPECT_EQ(inverse, I(INT32_MIN));
  EXPECT_EQ(Power(I(2), I(31), messages), std::nullopt);
  EXPECT_EQ(Power(I(2), I(30), messages), I(1073741824));
  EXPECT_EQ(Power(I(-2), I(31), messages), I(INT32_MIN));
  EXPECT_EQ(Power(I(1), I(INT32_MAX), messages), I(1));
  EXPECT_EQ(Power(I(-1), I(INT32_MAX), messages), I(-1));
  EXPECT_EQ(Power(I(-1), I(INT32_MAX - 1), messages), I(1));
  EXPECT_EQ(Power(I(3), I(1000), messages), std::nullopt);
  EXPECT_EQ(Power(Q(1, 2), I(-40), messages), std::nullopt);
  EXPECT_EQ(Discriminant(I(INT32_MAX), I(1), I(INT32_MAX)), std::nullopt);
  EXPECT_TRUE(messages.Entries().empty());
}

TEST(Number, InvertAndNegate) {
  RecordingMessages messages;
  const struct {
    TNumber in, out;
  } cases[] = {{I(-4), Q(-1, 4)}, {Q(-1, 4), I(-4)}, {Q(2, 3), Q(3, 2)}, {Q(-2, 3), Q(-3, 2)},
               {I(1), I(1)},      {I(-1), I(-1)},    {D(25, 2), I(4)},   {D(4, 1), D(25, 1)},
               {D(3, 1), Q(10, 3)}};
  for (const auto& c : cases) {
    TNumber n = c.in;
    EXPECT_TRUE(Invert(n, messages));
    EXPECT_EQ(n, c.out) << NumberToString(c.in) << " -> " << NumberToString(n);
  }
  TNumber zero = I(0);
  EXPECT_FALSE(Invert(zero, messages));
  EXPECT_EQ(zero, I(0));
  ASSERT_EQ(messages.Entries().size(), 1u);
  EXPECT_EQ(messages.Entries()[0].message, (TMessage{"Деление на ноль"_cp, "Division by zero"}));
  TNumber half = Q(1, 2);
  EXPECT_TRUE(Negate(half));
  EXPECT_EQ(half, Q(-1, 2));
}

TEST(Number, Powers) {
  RecordingMessages messages;
  const struct {
    TNumber base, exponent;
    std::optional<TNumber> value;
  } cases[] = {
      {I(2), I(-2), Q(1, 4)},     {Q(2, 3), I(3), Q(8, 27)},     {I(5), I(0), I(1)},
      {I(4), Q(1, 2), I(2)},      {Q(9, 4), Q(1, 2), Q(3, 2)},   {I(8), Q(2, 3), I(4)},
      {I(4), Q(-3, 2), Q(1, 8)},  {I(27), Q(-1, 3), Q(1, 3)},    {I(0), Q(1, 2), I(0)},
      {D(25, 2), Q(1, 2), D(5, 1)},  // 0.25^(1/2) = 0.5
      {I(4), D(5, 1), I(2)},      // a decimal exponent is exact too
      // No exact value: an irrational root, a root of a negative number.
      {I(2), Q(1, 2), std::nullopt},
      {I(-8), Q(1, 3), std::nullopt},
      {Q(-1, 4), Q(1, 2), std::nullopt},
      {I(2), Q(1, 100), std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Power(c.base, c.exponent, messages), c.value)
        << NumberToString(c.base) << " ^ " << NumberToString(c.exponent);
  EXPECT_TRUE(messages.Entries().empty());
  // Undefined powers are said and have no value.
  EXPECT_EQ(Power(I(0), I(0), messages), std::nullopt);
  ASSERT_EQ(messages.Entries().size(), 1u);
  EXPECT_EQ(messages.Entries()[0].message.Rus, "Недопустимое арифметическое выражение: 0^0"_cp);
  EXPECT_EQ(Power(I(0), I(-1), messages), std::nullopt);
  EXPECT_EQ(messages.Entries().back().message.Eng, "Division by zero");
  EXPECT_EQ(Power(I(0), Q(-1, 2), messages), std::nullopt);
  EXPECT_EQ(messages.Entries().size(), 3u);
}

TEST(Number, SquareRoots) {
  const struct {
    TNumber n;
    std::optional<TNumber> root;
  } cases[] = {{I(49), I(7)},          {I(0), I(0)},          {I(2), std::nullopt},
               {Q(9, 4), Q(3, 2)},     {Q(2, 9), std::nullopt}, {I(-4), std::nullopt},
               {Q(-1, 4), std::nullopt}, {I(INT32_MAX), std::nullopt}, {I(46340 * 46340), I(46340)},
               {I(46341 * 46339), std::nullopt}, {D(144, 2), D(12, 1)}};
  for (const auto& c : cases) EXPECT_EQ(Sqrt(c.n), c.root) << NumberToString(c.n);
}

TEST(Number, QuadraticRoots) {
  RecordingMessages messages;
  // x^2 - 5x + 6 = 0: roots 2 and 3; -x^2 + 5x - 6 = 0 has the same roots.
  const TNumber d = *Discriminant(I(1), I(-5), I(6));
  EXPECT_EQ(d, I(1));
  EXPECT_EQ(QuadraticRoot(I(1), I(-5), d, true, messages), I(3));
  EXPECT_EQ(QuadraticRoot(I(1), I(-5), d, false, messages), I(2));
  const TNumber d2 = *Discriminant(I(-1), I(5), I(-6));
  EXPECT_EQ(QuadraticRoot(I(-1), I(5), d2, true, messages), I(3));
  EXPECT_EQ(QuadraticRoot(I(-1), I(5), d2, false, messages), I(2));
  // 2x^2 - 3x + 1: roots 1/2 and 1.
  EXPECT_EQ(QuadraticRoot(I(2), I(-3), *Discriminant(I(2), I(-3), I(1)), false, messages), Q(1, 2));
  // x^2 - (43/12)x - 5/3: roots 4 and -5/12, exactly.
  const TNumber d3 = *Discriminant(I(1), Q(-43, 12), Q(-5, 3));
  EXPECT_EQ(QuadraticRoot(I(1), Q(-43, 12), d3, true, messages), I(4));
  EXPECT_EQ(QuadraticRoot(I(1), Q(-43, 12), d3, false, messages), Q(-5, 12));
  // Irrational or no roots: none.
  EXPECT_EQ(QuadraticRoot(I(2), I(-1), *Discriminant(I(2), I(0), I(-15)), true, messages), std::nullopt);
  EXPECT_EQ(QuadraticRoot(I(1), I(0), I(-4), true, messages), std::nullopt);
  EXPECT_TRUE(messages.Entries().empty());
}

TEST(Number, SignsTestsAndOrder) {
  RecordingMessages messages;
  EXPECT_TRUE(TestValue(I(-3), 12, true, messages));
  EXPECT_FALSE(TestValue(I(-3), 12, false, messages));
  EXPECT_FALSE(TestValue(I(-3), 11, true, messages));
  EXPECT_TRUE(TestValue(I(0), 13, true, messages));
  EXPECT_TRUE(TestValue(Q(1, 2), 13, true, messages));
  EXPECT_FALSE(TestValue(Q(1, 2), 13, false, messages));
  EXPECT_TRUE(TestValue(D(0, 1), 9, false, messages));
  EXPECT_TRUE(messages.Entries().empty());
  EXPECT_TRUE(TestValue(I(1), 15, true, messages));
  EXPECT_EQ(messages.Entries().at(0).message.Eng, "Error in TNumber::TestValue (Expr).");

  EXPECT_EQ(Compare(I(5), Q(1, 2)), -1);  // kinds first
  EXPECT_EQ(Compare(Q(1, 3), Q(1, 2)), -1);
  EXPECT_EQ(Compare(Q(-1, 3), Q(-1, 3)), 0);
  EXPECT_EQ(Compare(D(15, 1), Q(1, 2)), 1);
  EXPECT_EQ(Compare(D(5, 1), Q(1, 2)), 1);  // equal values, different kinds
  EXPECT_EQ(CompareValues(D(5, 1), Q(1, 2)), 0);
  EXPECT_EQ(CompareValues(I(-7), Q(-13, 2)), -1);
  EXPECT_EQ(Compare(I(-7), I(3)), -1);
  EXPECT_TRUE(EqualsInt(Q(4, 2), 2));
  EXPECT_FALSE(EqualsInt(Q(1, 2), 0));
  EXPECT_STREQ(TypeIdOf(I(3)), "nT");
  EXPECT_STREQ(TypeIdOf(I(0)), "n0T");
  EXPECT_STREQ(TypeIdOf(I(-3)), "zT");
  EXPECT_STREQ(TypeIdOf(Q(1, 3)), "qT");
  EXPECT_STREQ(TypeIdOf(D(5, 1)), "qT");  // a decimal is a rational number
}

TEST(Number, DecimalsAreExact) {
  // 0.1 + 0.2 is 0.3 exactly, so 0.1 + 0.2 > 0.3 is false.
  const TNumber sum = *Add(*NumberFromString("0.1"), *NumberFromString("0.2"));
  EXPECT_EQ(sum, *NumberFromString("0.3"));
  EXPECT_EQ(CompareValues(sum, *NumberFromString("0.3")), 0);
  // A decimal operand keeps a decimal result when there is one.
  EXPECT_EQ(NumberToString(*Multiply(D(5, 1), D(5, 1))), "0.25");
  EXPECT_EQ(NumberToString(*Multiply(D(5, 1), Q(2, 5))), "0.2");
  EXPECT_EQ(NumberToString(*Multiply(D(5, 1), Q(1, 3))), "(1/6)");
  EXPECT_EQ(*Multiply(D(5, 1), I(2)), I(1));
  TNumber minus = D(25, 1);
  EXPECT_TRUE(Negate(minus));
  EXPECT_EQ(NumberToString(minus), "-2.5");
}

TEST(Number, TextForms) {
  EXPECT_EQ(NumberToString(I(-12)), "-12");
  EXPECT_EQ(NumberToString(Q(3, 4)), "(3/4)");
  EXPECT_EQ(NumberToString(Q(-3, 4)), "(-3/4)");
  EXPECT_EQ(NumberFromString("-12"), I(-12));
  EXPECT_EQ(NumberFromString("+7"), I(7));
  EXPECT_EQ(NumberFromString("3.0"), I(3));
  EXPECT_EQ(NumberFromString("0.5"), D(5, 1));
  for (const char* bad : {".5", "5.", "-1.5", "9999999", "1.2.3", "x", "", "1e5", "99999999999", "0.0000000000000000001",
                          "3000000000.5"})
    EXPECT_EQ(NumberFromString(bad), std::nullopt) << bad;
  // Every digit after the point counts, and reads back as written.
  for (const char* text : {"3.05", "0.001", "0.5", "123456.789", "0.1", "2.125", "0.0625", "10.01"}) {
    const std::optional<TNumber> n = NumberFromString(text);
    ASSERT_TRUE(n) << text;
    EXPECT_TRUE(n->IsReal()) << text;
    EXPECT_EQ(NumberToString(*n), text);
  }
  EXPECT_EQ(CompareValues(*NumberFromString("3.05"), *Add(I(3), Q(1, 20))), 0);
  EXPECT_EQ(*NumberFromString("0.001"), *TNumber::Decimal(1, 3));
  EXPECT_NE(*NumberFromString("3.05"), *NumberFromString("3.5"));
  EXPECT_EQ(NumberToString(*NumberFromString("2.50")), "2.5");
}

}  // namespace
}  // namespace lemmix
