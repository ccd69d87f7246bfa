#include "expr/number.h"

#include <cmath>
#include <limits>

#include "intrinsics/intr_numbers.h"
#include "shell/cp1251.h"
#include "shell/message.h"
#include "shell/text.h"
#include "types/types_proccess.h"

namespace lemmix {

namespace {

using Wide = __int128;

constexpr Wide kMin32 = std::numeric_limits<std::int32_t>::min();
constexpr Wide kMax32 = std::numeric_limits<std::int32_t>::max();
// Far beyond any product of two 32-bit parts, far below the limit of Wide.
constexpr Wide kWideLimit = Wide{1} << 100;

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

// Whether den (positive) is 2^a 5^b.
bool DecimalDenominator(Wide den) {
  while (den % 2 == 0) den /= 2;
  while (den % 5 == 0) den /= 5;
  return den == 1;
}

std::pair<Wide, Wide> Parts(const TNumber& n) { return {n.Num(), n.Den()}; }

void Messages(IMessages& messages, std::string rus, std::string eng) { messages.Error({std::move(rus), std::move(eng)}); }

}  // namespace

// num/den in lowest terms; a decimal when asked and the denominator allows it.
std::optional<TNumber> FromParts(Wide num, Wide den, bool decimal) {
  if (den == 0 || Abs(num) > kWideLimit || Abs(den) > kWideLimit) return std::nullopt;
  if (den < 0) {
    num = -num;
    den = -den;
  }
  if (const Wide g = Gcd(num, den); g > 1) {
    num /= g;
    den /= g;
  }
  if (!Fits(num) || !Fits(den)) return std::nullopt;
  TNumber n;
  if (den == 1) n.value_ = static_cast<std::int32_t>(num);
  else if (decimal && DecimalDenominator(den))
    n.value_ = TDecimal{static_cast<std::int32_t>(num), static_cast<std::int32_t>(den)};
  else
    n.value_ = TRational{static_cast<std::int32_t>(num), static_cast<std::int32_t>(den)};
  return n;
}

std::optional<TNumber> TNumber::Fraction(std::int64_t numerator, std::int64_t denominator) {
  return FromParts(numerator, denominator, false);
}

std::optional<TNumber> TNumber::Decimal(std::int64_t mantissa, int scale) {
  if (scale < 0 || scale > 18) return std::nullopt;
  Wide den = 1;
  for (int i = 0; i < scale; ++i) den *= 10;
  return FromParts(mantissa, den, true);
}

std::int32_t TNumber::Num() const {
  switch (GetKind()) {
    case Kind::Integer: return Integer();
    case Kind::Fraction: return Rational().Num;
    default: return std::get<TDecimal>(value_).Num;
  }
}

std::int32_t TNumber::Den() const {
  switch (GetKind()) {
    case Kind::Integer: return 1;
    case Kind::Fraction: return Rational().Den;
    default: return std::get<TDecimal>(value_).Den;
  }
}

namespace {
bool AnyDecimal(const TNumber& a, const TNumber& b) { return a.IsReal() || b.IsReal(); }
}  // namespace

std::optional<TNumber> Add(const TNumber& a, const TNumber& b) {
  const auto [p1, q1] = Parts(a);
  const auto [p2, q2] = Parts(b);
  return FromParts(p1 * q2 + p2 * q1, q1 * q2, AnyDecimal(a, b));
}

std::optional<TNumber> Multiply(const TNumber& a, const TNumber& b) {
  const auto [p1, q1] = Parts(a);
  const auto [p2, q2] = Parts(b);
  return FromParts(p1 * p2, q1 * q2, AnyDecimal(a, b));
}

std::optional<TNumber> Difference(const TNumber& a, const TNumber& b) {
  const auto [p1, q1] = Parts(a);
  const auto [p2, q2] = Parts(b);
  return FromParts(p1 * q2 - p2 * q1, q1 * q2, AnyDecimal(a, b));
}

bool Negate(TNumber& n) {
  const std::optional<TNumber> negated = FromParts(-Wide{n.Num()}, n.Den(), n.IsReal());
  if (!negated) return false;
  n = *negated;
  return true;
}

bool Invert(TNumber& n, IMessages& messages) {
  if (n.Num() == 0) {
    Messages(messages, "Деление на ноль"_cp, "Division by zero");
    return false;
  }
  const std::optional<TNumber> inverse = FromParts(n.Den(), n.Num(), n.IsReal());
  if (!inverse) return false;
  n = *inverse;
  return true;
}

namespace {

// base^k for k >= 0, exactly; nothing past the limit.
std::optional<Wide> WidePower(Wide base, std::int64_t k) {
  Wide result = 1;
  for (std::int64_t i = 0; i < k; ++i) {
    result *= base;
    if (Abs(result) > kWideLimit) return std::nullopt;
  }
  return result;
}

// The integer q-th root of a >= 0 when it is exact.
std::optional<Wide> ExactRoot(Wide a, std::int64_t q) {
  if (a == 0 || a == 1) return a;
  if (q > 64) return std::nullopt;  // a >= 2 has no integer root that high
  // The floating estimate only proposes candidates; each is checked exactly.
  const auto estimate = static_cast<Wide>(std::llround(std::pow(static_cast<double>(a), 1.0 / static_cast<double>(q))));
  for (Wide c = estimate > 1 ? estimate - 1 : 1; c <= estimate + 1; ++c) {
    const std::optional<Wide> power = WidePower(c, q);
    if (power && *power == a) return c;
  }
  return std::nullopt;
}

std::optional<TNumber> IntegerPower(const TNumber& base, std::int64_t e, IMessages& messages) {
  if (e == 0) {
    if (base.Num() == 0) {
      Messages(messages, "Недопустимое арифметическое выражение: 0^0"_cp, "Invalid aritmetic expression: 0^0");
      return std::nullopt;
    }
    return TNumber(std::int32_t{1});
  }
  if (base.Num() == 0 && e < 0) {
    Messages(messages, "Деление на ноль"_cp, "Division by zero");
    return std::nullopt;
  }
  const std::int64_t k = e < 0 ? -e : e;
  // 0, 1 and -1 keep their size under any power.
  if (base.Den() == 1 && Abs(base.Num()) <= 1) {
    const std::int32_t value = base.Num() == -1 && k % 2 == 0 ? 1 : base.Num();
    return TNumber(value);
  }
  if (k > 64) return std::nullopt;  // |base| >= 2 or <= 1/2: past 32 bits
  const std::optional<Wide> num = WidePower(base.Num(), k);
  const std::optional<Wide> den = WidePower(base.Den(), k);
  if (!num || !den) return std::nullopt;
  return e > 0 ? FromParts(*num, *den, base.IsReal()) : FromParts(*den, *num, base.IsReal());
}

}  // namespace

std::optional<TNumber> Power(const TNumber& base, const TNumber& exponent, IMessages& messages) {
  if (exponent.IsInteger()) return IntegerPower(base, exponent.Integer(), messages);
  const std::int64_t p = exponent.Num();
  const std::int64_t q = exponent.Den();
  if (base.Num() == 0) {
    if (p > 0) return TNumber(std::int32_t{0});
    Messages(messages, "Деление на ноль"_cp, "Division by zero");
    return std::nullopt;
  }
  // A root of a negative number is no real power.
  if (base.Num() < 0) return std::nullopt;
  const std::optional<Wide> num = ExactRoot(base.Num(), q);
  const std::optional<Wide> den = ExactRoot(base.Den(), q);
  if (!num || !den) return std::nullopt;
  const std::optional<TNumber> root = FromParts(*num, *den, base.IsReal());
  if (!root) return std::nullopt;
  return IntegerPower(*root, p, messages);
}

std::optional<TNumber> Sqrt(const TNumber& n) {
  if (n.Num() < 0) return std::nullopt;
  const std::optional<Wide> num = ExactRoot(n.Num(), 2);
  const std::optional<Wide> den = ExactRoot(n.Den(), 2);
  if (!num || !den) return std::nullopt;
  return FromParts(*num, *den, n.IsReal());
}

std::optional<TNumber> Discriminant(const TNumber& a, const TNumber& b, const TNumber& c) {
  const std::optional<TNumber> square = Multiply(b, b);
  const std::optional<TNumber> ac = Multiply(a, c);
  if (!square || !ac) return std::nullopt;
  const std::optional<TNumber> fourAc = Multiply(*ac, TNumber(std::int32_t{4}));
  if (!fourAc) return std::nullopt;
  return Difference(*square, *fourAc);
}

std::optional<TNumber> QuadraticRoot(const TNumber& a, const TNumber& b, const TNumber& d, bool larger,
                                     IMessages& messages) {
  std::optional<TNumber> s = Sqrt(d);
  if (!s) return std::nullopt;
  if (larger != IsPositive(a) && !Negate(*s)) return std::nullopt;
  std::optional<TNumber> twoA = Multiply(TNumber(std::int32_t{2}), a);
  const std::optional<TNumber> top = Difference(*s, b);
  if (!twoA || !top || !Invert(*twoA, messages)) return std::nullopt;
  return Multiply(*top, *twoA);
}

namespace {
int Sign(const TNumber& n) { return (n.Num() > 0) - (n.Num() < 0); }
}  // namespace

bool IsPositive(const TNumber& n) { return Sign(n) > 0; }
bool IsNonNegative(const TNumber& n) { return Sign(n) >= 0; }
bool IsNegative(const TNumber& n) { return Sign(n) < 0; }
bool IsNonPositive(const TNumber& n) { return Sign(n) <= 0; }

bool EqualsInt(const TNumber& n, std::int32_t k) { return Wide{n.Num()} == Wide{n.Den()} * k; }

bool TestValue(const TNumber& n, int relation, bool numberOnLeft, IMessages& messages) {
  const int s = Sign(n);
  switch (relation) {
    case kEq: return s == 0;
    case kGt: return numberOnLeft ? s > 0 : s < 0;
    case kLt: return numberOnLeft ? s < 0 : s > 0;
    case kGe: return numberOnLeft ? s >= 0 : s <= 0;
    case kLe: return numberOnLeft ? s <= 0 : s >= 0;
    default:
      Messages(messages, "Ошибка в TNumber::TestValue (Expr)."_cp, "Error in TNumber::TestValue (Expr).");
      return true;
  }
}

int CompareValues(const TNumber& a, const TNumber& b) {
  const Wide left = Wide{a.Num()} * b.Den();
  const Wide right = Wide{b.Num()} * a.Den();
  return (left > right) - (left < right);
}

int Compare(const TNumber& a, const TNumber& b) {
  if (a.GetKind() != b.GetKind()) return a.GetKind() < b.GetKind() ? -1 : 1;
  return CompareValues(a, b);
}

const char* TypeIdOf(const TNumber& n) {
  if (n.IsInteger()) return n.Integer() > 0 ? "nT" : n.Integer() == 0 ? "n0T" : "zT";
  return "qT";
}

TType* TypeOf(const TNumber& n, const TTypesProccess& types) { return types.FindType(TypeIdOf(n), true); }

std::string NumberToString(const TNumber& n) {
  switch (n.GetKind()) {
    case TNumber::Kind::Integer: return std::to_string(n.Integer());
    case TNumber::Kind::Fraction:
      return "(" + std::to_string(n.Rational().Num) + "/" + std::to_string(n.Rational().Den) + ")";
    default: {
      // num/den with den = 2^a 5^b is m / 10^k with k = max(a, b): every digit.
      Wide den = n.Den();
      Wide scaled = Abs(n.Num());
      int digits = 0;
      while (den != 1) {
        if (den % 10 == 0) den /= 10;
        else if (den % 2 == 0) {
          den /= 2;
          scaled *= 5;
        } else {
          den /= 5;
          scaled *= 2;
        }
        ++digits;
      }
      std::string text;
      for (; scaled != 0 || static_cast<int>(text.size()) <= digits; scaled /= 10)
        text.insert(text.begin(), static_cast<char>('0' + static_cast<int>(scaled % 10)));
      text.insert(text.end() - digits, '.');
      return (n.Num() < 0 ? "-" : "") + text;
    }
  }
}

std::optional<TNumber> NumberFromString(std::string_view text) {
  const std::size_t point = text.find('.');
  if (point != std::string_view::npos) {
    if (point == 0 || point + 1 >= text.size()) return std::nullopt;
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = text.substr(point + 1);
    const auto digits = [](std::string_view part) {
      return part.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (!digits(whole) || !digits(fraction) || fraction.size() > 18) return std::nullopt;
    Wide mantissa = 0;
    for (const char c : whole) {
      mantissa = mantissa * 10 + (c - '0');
      if (mantissa > kWideLimit) return std::nullopt;
    }
    Wide den = 1;
    for (const char c : fraction) {
      mantissa = mantissa * 10 + (c - '0');
      den *= 10;
      if (mantissa > kWideLimit) return std::nullopt;
    }
    return FromParts(mantissa, den, true);
  }
  const std::optional<int> value = ParseInt(text);
  if (!value || *value == 9999999) return std::nullopt;
  return TNumber(static_cast<std::int32_t>(*value));
}

}  // namespace lemmix
