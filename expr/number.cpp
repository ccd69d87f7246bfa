#include "expr/number.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "shell/cp1251.h"
#include "shell/message.h"
#include "shell/text.h"
#include "types/types_proccess.h"

namespace lemmix {

namespace {

using Wide = __int128;

constexpr Wide kMin32 = std::numeric_limits<std::int32_t>::min();
constexpr Wide kMax32 = std::numeric_limits<std::int32_t>::max();

bool Fits(Wide v) { return v >= kMin32 && v <= kMax32; }

Wide Abs(Wide v) { return v < 0 ? -v : v; }

Wide Gcd(Wide a, Wide b) {
  a = Abs(a);
  b = Abs(b);
  while (b != 0) {
    const Wide r = a % b;
    a = b;
    b = r;
  }
  return a;
}

// The exact number num/den, or the nearest real when it does not fit 32 bits.
// The fraction num/den in lowest terms with a positive denominator; den must not be 0.
void Reduce(Wide& num, Wide& den) {
  if (den < 0) {
    num = -num;
    den = -den;
  }
  const Wide g = Gcd(num, den);
  if (g > 1) {
    num /= g;
    den /= g;
  }
}

TNumber FromWide(Wide num, Wide den) {
  if (den == 0) return TNumber(std::int32_t{0});
  Reduce(num, den);
  if (den == 1 && Fits(num)) return TNumber(static_cast<std::int32_t>(num));
  if (den != 1 && Fits(num) && Fits(den)) return TNumber::Fraction(static_cast<std::int64_t>(num), static_cast<std::int64_t>(den));
  return TNumber(static_cast<double>(num) / static_cast<double>(den));
}

// An exact number as num/den.
std::pair<Wide, Wide> Parts(const TNumber& n) {
  if (n.IsInteger()) return {n.Integer(), 1};
  return {n.Rational().Num, n.Rational().Den};
}

}  // namespace

TNumber TNumber::Fraction(std::int64_t numerator, std::int64_t denominator) {
  Wide num = numerator;
  Wide den = denominator;
  if (den == 0) return TNumber(std::int32_t{0});
  Reduce(num, den);
  if (den == 1) return Fits(num) ? TNumber(static_cast<std::int32_t>(num)) : TNumber(static_cast<double>(num));
  if (!Fits(num) || !Fits(den)) return TNumber(static_cast<double>(num) / static_cast<double>(den));
  TNumber n;
  n.value_ = TRational{static_cast<std::int32_t>(num), static_cast<std::int32_t>(den)};
  return n;
}

double ToReal(const TNumber& n) {
  switch (n.GetKind()) {
    case TNumber::Kind::Integer: return n.Integer();
    case TNumber::Kind::Fraction: return static_cast<double>(n.Rational().Num) / n.Rational().Den;
    default: return n.Real();
  }
}

TNumber Add(const TNumber& a, const TNumber& b) {
  if (a.IsReal() || b.IsReal()) return TNumber(ToReal(a) + ToReal(b));
  const auto [p1, q1] = Parts(a);
  const auto [p2, q2] = Parts(b);
  return FromWide(p1 * q2 + p2 * q1, q1 * q2);
}

TNumber Multiply(const TNumber& a, const TNumber& b) {
  if (a.IsReal() || b.IsReal()) return TNumber(ToReal(a) * ToReal(b));
  const auto [p1, q1] = Parts(a);
  const auto [p2, q2] = Parts(b);
  return FromWide(p1 * p2, q1 * q2);
}

TNumber Difference(const TNumber& a, const TNumber& b) {
  if (a.IsReal() || b.IsReal()) return TNumber(ToReal(a) - ToReal(b));
  const auto [p1, q1] = Parts(a);
  const auto [p2, q2] = Parts(b);
  return FromWide(p1 * q2 - p2 * q1, q1 * q2);
}

void Negate(TNumber& n) {
  switch (n.GetKind()) {
    case TNumber::Kind::Integer: n = FromWide(-Wide{n.Integer()}, 1); break;
    case TNumber::Kind::Fraction: n = FromWide(-Wide{n.Rational().Num}, n.Rational().Den); break;
    default: n = TNumber(-n.Real()); break;
  }
}

void Invert(TNumber& n, IMessages& messages) {
  if (EqualsInt(n, 0)) {
    messages.Error({"Деление на ноль"_cp, "Division by zero"});
    return;
  }
  if (n.IsReal()) {
    n = TNumber(1.0 / n.Real());
    return;
  }
  const auto [p, q] = Parts(n);
  n = FromWide(q, p);
}

TNumber Power(const TNumber& base, const TNumber& exponent, IMessages& messages) {
  if (!exponent.IsInteger()) return TNumber(std::pow(ToReal(base), ToReal(exponent)));
  const std::int64_t e = exponent.Integer();
  if (e == 0) {
    if (EqualsInt(base, 0)) {
      messages.Error({"Недопустимое арифметическое выражение: 0^0"_cp, "Invalid aritmetic expression: 0^0"});
      return TNumber(std::int32_t{0});
    }
    return TNumber(std::int32_t{1});
  }
  // Square and multiply: the same exact result as |e| - 1 multiplications,
  // and a real as soon as it does not fit.
  TNumber result(std::int32_t{1});
  TNumber factor = base;
  for (std::uint64_t k = static_cast<std::uint64_t>(e < 0 ? -e : e); k != 0; k >>= 1) {
    if (k & 1) result = Multiply(result, factor);
    if (k > 1) factor = Multiply(factor, factor);
    if (result.IsReal() || factor.IsReal()) {
      result = TNumber(std::pow(ToReal(base), static_cast<double>(e < 0 ? -e : e)));
      break;
    }
  }
  if (e < 0) Invert(result, messages);
  return result;
}

std::optional<TNumber> Sqrt(const TNumber& n) {
  switch (n.GetKind()) {
    case TNumber::Kind::Integer: {
      const std::int64_t a = n.Integer();
      if (a < 0) return std::nullopt;
      if (a == 0) return TNumber(std::int32_t{0});
      const std::int64_t r = static_cast<std::int64_t>(std::sqrt(static_cast<double>(a)));
      for (const std::int64_t c : {r - 1, r, r + 1})
        if (c >= 0 && c * c == a) return TNumber(static_cast<std::int32_t>(c));
      return TNumber(std::sqrt(static_cast<double>(a)));
    }
    case TNumber::Kind::Fraction: {
      const TRational& f = n.Rational();
      if (f.Num < 0) return std::nullopt;
      const std::optional<TNumber> p = Sqrt(TNumber(f.Num));
      const std::optional<TNumber> q = Sqrt(TNumber(f.Den));
      if (p->IsInteger() && q->IsInteger()) return TNumber::Fraction(p->Integer(), q->Integer());
      return TNumber(ToReal(*p) / ToReal(*q));
    }
    default:
      return TNumber(std::sqrt(n.Real()));
  }
}

TNumber Discriminant(const TNumber& a, const TNumber& b, const TNumber& c) {
  TNumber product = Multiply(Multiply(a, c), TNumber(std::int32_t{4}));
  Negate(product);
  return Add(Multiply(b, b), product);
}

std::optional<TNumber> QuadraticRoot(const TNumber& a, const TNumber& b, const TNumber& d, bool larger,
                                     IMessages& messages) {
  std::optional<TNumber> s = Sqrt(d);
  if (!s) return std::nullopt;
  if (larger != IsPositive(a)) Negate(*s);
  TNumber minusB = b;
  Negate(minusB);
  TNumber twoA = Multiply(TNumber(std::int32_t{2}), a);
  Invert(twoA, messages);
  return Multiply(Add(minusB, *s), twoA);
}

namespace {
int Sign(const TNumber& n) {
  switch (n.GetKind()) {
    case TNumber::Kind::Integer: return (n.Integer() > 0) - (n.Integer() < 0);
    case TNumber::Kind::Fraction: return (n.Rational().Num > 0) - (n.Rational().Num < 0);
    default: return (n.Real() > 0) - (n.Real() < 0);
  }
}
}  // namespace

bool IsPositive(const TNumber& n) { return Sign(n) > 0; }
bool IsNonNegative(const TNumber& n) { return Sign(n) >= 0; }
bool IsNegative(const TNumber& n) { return Sign(n) < 0; }
bool IsNonPositive(const TNumber& n) { return Sign(n) <= 0; }

bool EqualsInt(const TNumber& n, std::int32_t k) {
  switch (n.GetKind()) {
    case TNumber::Kind::Integer: return n.Integer() == k;
    case TNumber::Kind::Fraction: return Wide{n.Rational().Num} == Wide{n.Rational().Den} * k;
    default: return n.Real() == static_cast<double>(k);
  }
}

bool TestValue(const TNumber& n, int relation, bool numberOnLeft, IMessages& messages) {
  const int s = Sign(n);
  switch (relation) {
    case 9: return s == 0;
    case 11: return numberOnLeft ? s > 0 : s < 0;
    case 12: return numberOnLeft ? s < 0 : s > 0;
    case 13: return numberOnLeft ? s >= 0 : s <= 0;
    case 14: return numberOnLeft ? s <= 0 : s >= 0;
    default:
      messages.Error({"Ошибка в TNumber::TestValue (Expr)."_cp, "Error in TNumber::TestValue (Expr)."});
      return true;
  }
}

int Compare(const TNumber& a, const TNumber& b) {
  if (a.GetKind() != b.GetKind()) return a.GetKind() < b.GetKind() ? -1 : 1;
  switch (a.GetKind()) {
    case TNumber::Kind::Integer: return (a.Integer() > b.Integer()) - (a.Integer() < b.Integer());
    case TNumber::Kind::Fraction: return Sign(Difference(a, b));
    default: return (a.Real() > b.Real()) - (a.Real() < b.Real());
  }
}

const char* TypeIdOf(const TNumber& n) {
  switch (n.GetKind()) {
    case TNumber::Kind::Integer: return n.Integer() > 0 ? "nT" : n.Integer() == 0 ? "n0T" : "zT";
    case TNumber::Kind::Fraction: return "qT";
    default: return "rT";
  }
}

TType* TypeOf(const TNumber& n, const TTypesProccess& types) { return types.FindType(TypeIdOf(n), true); }

std::string NumberToString(const TNumber& n) {
  switch (n.GetKind()) {
    case TNumber::Kind::Integer: return std::to_string(n.Integer());
    case TNumber::Kind::Fraction:
      return "(" + std::to_string(n.Rational().Num) + "/" + std::to_string(n.Rational().Den) + ")";
    default: {
      // The shortest digits that give the same double back, always with a
      // point, so that the text reads back as a real.
      char buffer[512];
      const auto [end, error] = std::to_chars(buffer, buffer + sizeof(buffer), n.Real(), std::chars_format::fixed);
      std::string text = error == std::errc() ? std::string(buffer, end) : std::to_string(n.Real());
      if (text.find('.') == std::string::npos && std::isfinite(n.Real())) text += ".0";
      return text;
    }
  }
}

std::optional<TNumber> NumberFromString(std::string_view text) {
  const std::size_t point = text.find('.');
  if (point != std::string_view::npos && point > 0 && point + 1 < text.size()) {
    const auto digits = [](std::string_view part) {
      return !part.empty() && part.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (!digits(text.substr(0, point)) || !digits(text.substr(point + 1))) return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return TNumber(value);
  }
  if (point != std::string_view::npos) return std::nullopt;
  const std::optional<int> value = ParseInt(text);
  if (!value || *value == 9999999) return std::nullopt;
  return TNumber(static_cast<std::int32_t>(*value));
}

}  // namespace lemmix
