// Numeric constants of formulas: exact integers and fractions, and reals for
// irrational results and decimal input. Exact operations are computed wide and
// fall back to a real only when the exact result does not fit 32 bits.
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

class TNumber {
 public:
  enum class Kind : std::int8_t { Integer = 0, Fraction = 1, Real = 2 };

  TNumber() : value_(std::int32_t{0}) {}
  explicit TNumber(std::int32_t integer) : value_(integer) {}
  explicit TNumber(double real) : value_(real) {}
  // numerator / denominator, normalised: denominator 1 gives an integer.
  // A zero denominator gives 0; callers divide through Invert, which reports it.
  static TNumber Fraction(std::int64_t numerator, std::int64_t denominator);

  Kind GetKind() const { return static_cast<Kind>(value_.index()); }
  bool IsInteger() const { return GetKind() == Kind::Integer; }
  bool IsFraction() const { return GetKind() == Kind::Fraction; }
  bool IsReal() const { return GetKind() == Kind::Real; }
  std::int32_t Integer() const { return std::get<std::int32_t>(value_); }
  const TRational& Rational() const { return std::get<TRational>(value_); }
  double Real() const { return std::get<double>(value_); }

  bool operator==(const TNumber&) const = default;

 private:
  friend void Negate(TNumber& n);
  friend void Invert(TNumber& n, IMessages& messages);
  std::variant<std::int32_t, TRational, double> value_;
};

TNumber Add(const TNumber& a, const TNumber& b);
TNumber Multiply(const TNumber& a, const TNumber& b);
// p1/q1 - p2/q2 of two exact numbers (an integer counts as n/1).
TNumber Difference(const TNumber& a, const TNumber& b);
void Negate(TNumber& n);
// 1/n in place; 0 is reported as a division by zero and left unchanged.
void Invert(TNumber& n, IMessages& messages);
TNumber Power(const TNumber& base, const TNumber& exponent, IMessages& messages);
// Exact when the root is rational; nothing for a negative exact number.
std::optional<TNumber> Sqrt(const TNumber& n);
// b*b - 4*a*c
TNumber Discriminant(const TNumber& a, const TNumber& b, const TNumber& c);
// A root of a*x^2 + b*x + c with discriminant d; the larger one when asked.
std::optional<TNumber> QuadraticRoot(const TNumber& a, const TNumber& b, const TNumber& d, bool larger,
                                     IMessages& messages);

double ToReal(const TNumber& n);
bool IsPositive(const TNumber& n);
bool IsNonNegative(const TNumber& n);
bool IsNegative(const TNumber& n);
bool IsNonPositive(const TNumber& n);
bool EqualsInt(const TNumber& n, std::int32_t k);
// n relation 0 (number on the left) or 0 relation n, for the relations
// 9 (=), 11 (>), 12 (<), 13 (>=), 14 (<=).
bool TestValue(const TNumber& n, int relation, bool numberOnLeft, IMessages& messages);
// Integers before fractions before reals; within a kind by value.
int Compare(const TNumber& a, const TNumber& b);
// "nT" for n > 0, "n0T" for 0, "zT" below 0, "qT" for fractions, "rT" for reals.
TType* TypeOf(const TNumber& n, const TTypesProccess& types);
const char* TypeIdOf(const TNumber& n);

// Integers in decimal, fractions as "(3/4)", reals with a point.
std::string NumberToString(const TNumber& n);
std::optional<TNumber> NumberFromString(std::string_view text);

}  // namespace lemmix
