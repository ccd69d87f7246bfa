// Exact numbers: the arithmetic against 128-bit integers, the normal form of
// fractions, the overflow fallback to reals, and the text forms.
#include "expr/number.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

#include "shell/cp1251.h"
#include "shell/recording_messages.h"

namespace lemmix {
namespace {

using Wide = __int128;

TNumber I(std::int32_t n) { return TNumber(n); }
TNumber Q(std::int64_t p, std::int64_t q) { return TNumber::Fraction(p, q); }
TNumber R(double x) { return TNumber(x); }

// The exact value p/q as the number it must become.
void ExpectExact(const TNumber& n, Wide p, Wide q) {
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
  if (q == 1 && fits(p)) {
    ASSERT_TRUE(n.IsInteger()) << NumberToString(n);
    EXPECT_EQ(n.Integer(), static_cast<std::int32_t>(p));
  } else if (q != 1 && fits(p) && fits(q)) {
    ASSERT_TRUE(n.IsFraction()) << NumberToString(n);
    EXPECT_EQ(n.Rational().Num, static_cast<std::int32_t>(p));
    EXPECT_EQ(n.Rational().Den, static_cast<std::int32_t>(q));
  } else {
    ASSERT_TRUE(n.IsReal()) << NumberToString(n);
    EXPECT_DOUBLE_EQ(n.Real(), static_cast<double>(p) / static_cast<double>(q));
  }
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
    const TNumber x = Q(p1, q1);
    const TNumber y = Q(p2, q2);
    ExpectExact(x, p1, q1);
    ExpectExact(Add(x, y), Wide{p1} * q2 + Wide{p2} * q1, Wide{q1} * q2);
    ExpectExact(Multiply(x, y), Wide{p1} * p2, Wide{q1} * q2);
    ExpectExact(Difference(x, y), Wide{p1} * q2 - Wide{p2} * q1, Wide{q1} * q2);
    ExpectExact(Add(I(a), y), Wide{a} * q2 + p2, q2);
  }
}

TEST(Number, NormalFormOfFractions) {
  EXPECT_EQ(Multiply(I(3), Q(1, 6)), Q(1, 2));
  EXPECT_EQ(Multiply(I(6), Q(1, 3)), I(2));
  EXPECT_EQ(Add(Q(1, 3), Q(2, 3)), I(1));
  EXPECT_EQ(Q(4, -6).Rational(), (TRational{-2, 3}));
  EXPECT_EQ(Q(-10, -5), I(2));
  EXPECT_TRUE(Q(7, 1).IsInteger());
}

TEST(Number, OverflowFallsBackToReals) {
  RecordingMessages messages;
  const TNumber big = Add(I(INT32_MAX), I(1));
  ASSERT_TRUE(big.IsReal());
  EXPECT_EQ(big.Real(), 2147483648.0);
  TNumber minimum = I(INT32_MIN);
  Negate(minimum);
  EXPECT_EQ(minimum, R(2147483648.0));
  TNumber inverse = I(INT32_MIN);
  Invert(inverse, messages);  // -1/2147483648: the denominator does not fit
  EXPECT_EQ(inverse, R(-1.0 / 2147483648.0));
  EXPECT_EQ(Power(I(2), I(31), messages), R(2147483648.0));
  EXPECT_EQ(Power(I(2), I(30), messages), I(1073741824));
  EXPECT_EQ(Power(I(-2), I(31), messages), I(INT32_MIN));
  EXPECT_EQ(Power(I(1), I(INT32_MAX), messages), I(1));
  EXPECT_EQ(Power(I(-1), I(INT32_MAX), messages), I(-1));
  EXPECT_TRUE(Power(I(3), I(1000), messages).IsReal());
  EXPECT_TRUE(messages.Entries().empty());
}

TEST(Number, InvertAndNegate) {
  RecordingMessages messages;
  const struct {
    TNumber in, out;
  } cases[] = {{I(-4), Q(-1, 4)}, {Q(-1, 4), I(-4)}, {Q(2, 3), Q(3, 2)}, {Q(-2, 3), Q(-3, 2)},
               {I(1), I(1)},      {I(-1), I(-1)},    {R(4.0), R(0.25)}};
  for (const auto& c : cases) {
    TNumber n = c.in;
    Invert(n, messages);
    EXPECT_EQ(n, c.out) << NumberToString(c.in);
  }
  TNumber zero = I(0);
  Invert(zero, messages);
  EXPECT_EQ(zero, I(0));
  ASSERT_EQ(messages.Entries().size(), 1u);
  EXPECT_EQ(messages.Entries()[0].message, (TMessage{"Деление на ноль"_cp, "Division by zero"}));
  TNumber half = Q(1, 2);
  Negate(half);
  EXPECT_EQ(half, Q(-1, 2));
}

TEST(Number, Powers) {
  RecordingMessages messages;
  EXPECT_EQ(Power(I(2), I(-2), messages), Q(1, 4));
  EXPECT_EQ(Power(Q(2, 3), I(3), messages), Q(8, 27));
  EXPECT_EQ(Power(I(4), Q(1, 2), messages), R(2.0));
  EXPECT_EQ(Power(I(5), I(0), messages), I(1));
  EXPECT_TRUE(messages.Entries().empty());
  EXPECT_EQ(Power(I(0), I(0), messages), I(0));
  ASSERT_EQ(messages.Entries().size(), 1u);
  EXPECT_EQ(messages.Entries()[0].message.Rus, "Недопустимое арифметическое выражение: 0^0"_cp);
  EXPECT_EQ(Power(I(0), I(-1), messages), I(0));
  EXPECT_EQ(messages.Entries().back().message.Eng, "Division by zero");
}

TEST(Number, SquareRoots) {
  EXPECT_EQ(Sqrt(I(49)), I(7));
  EXPECT_EQ(Sqrt(I(0)), I(0));
  EXPECT_EQ(Sqrt(I(2)), R(std::sqrt(2.0)));
  EXPECT_EQ(Sqrt(Q(9, 4)), Q(3, 2));
  EXPECT_EQ(Sqrt(Q(2, 9)), R(std::sqrt(2.0) / 3));
  EXPECT_EQ(Sqrt(I(-4)), std::nullopt);
  EXPECT_EQ(Sqrt(Q(-1, 4)), std::nullopt);
  EXPECT_EQ(Sqrt(I(INT32_MAX)), R(std::sqrt(static_cast<double>(INT32_MAX))));
  EXPECT_EQ(Sqrt(I(46340 * 46340)), I(46340));
}

TEST(Number, QuadraticRoots) {
  RecordingMessages messages;
  // x^2 - 5x + 6 = 0: roots 2 and 3; -x^2 + 5x - 6 = 0 has the same roots.
  const TNumber d = Discriminant(I(1), I(-5), I(6));
  EXPECT_EQ(d, I(1));
  EXPECT_EQ(QuadraticRoot(I(1), I(-5), d, true, messages), I(3));
  EXPECT_EQ(QuadraticRoot(I(1), I(-5), d, false, messages), I(2));
  const TNumber d2 = Discriminant(I(-1), I(5), I(-6));
  EXPECT_EQ(QuadraticRoot(I(-1), I(5), d2, true, messages), I(3));
  EXPECT_EQ(QuadraticRoot(I(-1), I(5), d2, false, messages), I(2));
  // 2x^2 - 3x + 1: roots 1/2 and 1.
  EXPECT_EQ(QuadraticRoot(I(2), I(-3), Discriminant(I(2), I(-3), I(1)), false, messages), Q(1, 2));
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
  EXPECT_TRUE(TestValue(R(0.0), 9, false, messages));
  EXPECT_TRUE(messages.Entries().empty());
  EXPECT_TRUE(TestValue(I(1), 15, true, messages));
  EXPECT_EQ(messages.Entries().at(0).message.Eng, "Error in TNumber::TestValue (Expr).");

  EXPECT_EQ(Compare(I(5), Q(1, 2)), -1);  // kinds first
  EXPECT_EQ(Compare(Q(1, 3), Q(1, 2)), -1);
  EXPECT_EQ(Compare(Q(-1, 3), Q(-1, 3)), 0);
  EXPECT_EQ(Compare(R(1.5), Q(1, 2)), 1);
  EXPECT_EQ(Compare(I(-7), I(3)), -1);
  EXPECT_TRUE(EqualsInt(Q(4, 2), 2));
  EXPECT_FALSE(EqualsInt(Q(1, 2), 0));
  EXPECT_TRUE(EqualsInt(R(3.0), 3));
  EXPECT_STREQ(TypeIdOf(I(3)), "nT");
  EXPECT_STREQ(TypeIdOf(I(0)), "n0T");
  EXPECT_STREQ(TypeIdOf(I(-3)), "zT");
  EXPECT_STREQ(TypeIdOf(Q(1, 3)), "qT");
  EXPECT_STREQ(TypeIdOf(R(0.5)), "rT");
}

TEST(Number, TextForms) {
  EXPECT_EQ(NumberToString(I(-12)), "-12");
  EXPECT_EQ(NumberToString(Q(3, 4)), "(3/4)");
  EXPECT_EQ(NumberToString(Q(-3, 4)), "(-3/4)");
  EXPECT_EQ(NumberToString(R(0.5)), "0.5");
  EXPECT_EQ(NumberToString(R(2.0)), "2.0");
  EXPECT_EQ(NumberToString(R(0.1)), "0.1");
  EXPECT_EQ(NumberFromString("0.5"), R(0.5));
  EXPECT_EQ(NumberFromString("-12"), I(-12));
  EXPECT_EQ(NumberFromString("+7"), I(7));
  for (const char* bad : {".5", "5.", "-1.5", "9999999", "1.2.3", "x", "", "1e5", "99999999999"})
    EXPECT_EQ(NumberFromString(bad), std::nullopt) << bad;
  // A positive real reads back as itself.
  for (const double x : {0.1, 1.0 / 3, 1e-7, 123456789.125, 2.0}) {
    const std::optional<TNumber> back = NumberFromString(NumberToString(R(x)));
    ASSERT_TRUE(back) << NumberToString(R(x));
    EXPECT_EQ(back->Real(), x);
  }
}

}  // namespace
}  // namespace lemmix
