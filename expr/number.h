// Numeric constants of formulas, always exact: integers, fractions, and
// decimals (what the user wrote with a point, held as the exact fraction it
// denotes). An operation whose exact result does not exist among these —
// an irrational root, a part that does not fit 32 bits, a division by zero —
// has no result, and the caller leaves its expression unevaluated: no rounded
// value ever decides anything.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace lemmix {

class IMessages;
class TType;
class TTypesProccess;

// A fraction in lowest terms with a positive denominator other than 1.
struct TRational {
  std::int32_t Num = 0;
  std::int32_t Den = 1;
  bool operator==(const TRational&) const = default;
};

// A decimal fraction: the same invariant, and a denominator of the form 2^a 5^b.
struct TDecimal {
  std::int32_t Num = 0;
  std::int32_t Den = 1;
  bool operator==(const TDecimal&) const = default;
};

class TNumber {
 public:
  // Real is the kind of decimal input; its value is exact.
  enum class Kind : std::int8_t { Integer = 0, Fraction = 1, Real = 2 };

  TNumber() : value_(std::int32_t{0}) {}
  explicit TNumber(std::int32_t integer) : value_(integer) {}
  // No number is made from a rounded value.
  TNumber(double) = delete;
  // numerator / denominator in lowest terms; a denominator 1 gives an integer.
  // Nothing for a zero denominator or a part that does not fit 32 bits.
  static std::optional<TNumber> Fraction(std::int64_t numerator, std::int64_t denominator);
  // mantissa / 10^scale as a decimal (an integer when it is whole).
  static std::optional<TNumber> Decimal(std::int64_t mantissa, int scale);

  Kind GetKind() const { return static_cast<Kind>(value_.index()); }
  bool IsInteger() const { return GetKind() == Kind::Integer; }
  bool IsFraction() const { return GetKind() == Kind::Fraction; }
  bool IsReal() const { return GetKind() == Kind::Real; }
  std::int32_t Integer() const { return std::get<std::int32_t>(value_); }
  const TRational& Rational() const { return std::get<TRational>(value_); }
  // The exact value as numerator / denominator, whatever the kind.
  std::int32_t Num() const;
  std::int32_t Den() const;

  bool operator==(const TNumber&) const = default;

 private:
  std::variant<std::int32_t, TRational, TDecimal> value_;
  friend std::optional<TNumber> FromParts(__int128 num, __int128 den, bool decimal);
};

// Exact arithmetic; nothing when the result does not fit. A decimal operand
// keeps the result decimal when it is a decimal fraction.
std::optional<TNumber> Add(const TNumber& a, const TNumber& b);
std::optional<TNumber> Multiply(const TNumber& a, const TNumber& b);
std::optional<TNumber> Difference(const TNumber& a, const TNumber& b);
// In place; false (n unchanged) when -n does not fit.
bool Negate(TNumber& n);
// 1/n in place; 0 is reported as a division by zero and left unchanged (false).
bool Invert(TNumber& n, IMessages& messages);
// base^exponent when it is a number: 0^0 and a zero base with a negative
// exponent are reported and have no value; a fractional exponent has a value
// only for a non-negative base whose root is exact.
std::optional<TNumber> Power(const TNumber& base, const TNumber& exponent, IMessages& messages);
// The exact square root; nothing for a negative number or an irrational root.
std::optional<TNumber> Sqrt(const TNumber& n);
// b*b - 4*a*c
std::optional<TNumber> Discriminant(const TNumber& a, const TNumber& b, const TNumber& c);
// A root of a*x^2 + b*x + c with discriminant d (the larger one when asked),
// when it is rational.
std::optional<TNumber> QuadraticRoot(const TNumber& a, const TNumber& b, const TNumber& d, bool larger,
                                     IMessages& messages);

bool IsPositive(const TNumber& n);
bool IsNonNegative(const TNumber& n);
bool IsNegative(const TNumber& n);
bool IsNonPositive(const TNumber& n);
bool EqualsInt(const TNumber& n, std::int32_t k);
// n relation 0 (number on the left) or 0 relation n, for the relations
// 9 (=), 11 (>), 12 (<), 13 (>=), 14 (<=).
bool TestValue(const TNumber& n, int relation, bool numberOnLeft, IMessages& messages);
// The order of expressions: integers before fractions before decimals; within
// a kind by value.
int Compare(const TNumber& a, const TNumber& b);
// By value alone: -1, 0, 1.
int CompareValues(const TNumber& a, const TNumber& b);
// "nT" for n > 0, "n0T" for 0, "zT" below 0, "qT" for fractions and decimals.
TType* TypeOf(const TNumber& n, const TTypesProccess& types);
const char* TypeIdOf(const TNumber& n);

// Integers in decimal, fractions as "(3/4)", decimals with a point and every digit.
std::string NumberToString(const TNumber& n);
std::optional<TNumber> NumberFromString(std::string_view text);

}  // namespace lemmix
