// The extended format with integers: exact products, quotients and sums held in 128 bits, then rounded
// once to a 64-bit significand. Enough bits are kept below the significand (a guard bit and a sticky
// bit at least) for the rounding to be the correctly rounded one the hardware gives.
#include "base/Extended.h"

#include <bit>
#include <cmath>
#include <limits>

namespace {

struct TU128 {
  uint64_t Hi = 0, Lo = 0;
  int BitLength() const { return Hi ? 128 - std::countl_zero(Hi) : 64 - std::countl_zero(Lo); }
  bool IsZero() const { return !Hi && !Lo; }
  bool Bit(int n) const { return n < 64 ? (Lo >> n) & 1 : (Hi >> (n - 64)) & 1; }
  // Any of the bits below n set.
  bool AnyBelow(int n) const {
    if (n <= 0) return false;
    if (n >= 128) return !IsZero();
    if (n >= 64) return Lo || (n > 64 && (Hi & ((uint64_t{1} << (n - 64)) - 1)));
    return Lo & ((uint64_t{1} << n) - 1);
  }
  TU128 ShiftRight(int n) const {
    if (n <= 0) return *this;
    if (n >= 128) return {};
    if (n >= 64) return {0, Hi >> (n - 64)};
    return {Hi >> n, (Lo >> n) | (Hi << (64 - n))};
  }
  TU128 ShiftLeft(int n) const {
    if (n <= 0) return *this;
    if (n >= 128) return {};
    if (n >= 64) return {Lo << (n - 64), 0};
    return {(Hi << n) | (Lo >> (64 - n)), Lo << n};
  }
  friend bool operator<(const TU128& a, const TU128& b) { return a.Hi != b.Hi ? a.Hi < b.Hi : a.Lo < b.Lo; }
  friend TU128 operator+(const TU128& a, const TU128& b) {
    const uint64_t lo = a.Lo + b.Lo;
    return {a.Hi + b.Hi + (lo < a.Lo ? 1 : 0), lo};
  }
  friend TU128 operator-(const TU128& a, const TU128& b) { return {a.Hi - b.Hi - (a.Lo < b.Lo ? 1 : 0), a.Lo - b.Lo}; }
};

TU128 Multiply(uint64_t a, uint64_t b) {
  const uint64_t a0 = a & 0xFFFFFFFF, a1 = a >> 32, b0 = b & 0xFFFFFFFF, b1 = b >> 32;
  const uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
  const uint64_t middle = (p00 >> 32) + (p01 & 0xFFFFFFFF) + (p10 & 0xFFFFFFFF);
  return {p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32), (middle << 32) | (p00 & 0xFFFFFFFF)};
}

}  // namespace

// The rounding and the operations, with access to the representation.
struct TSoftExtendedMath {
  // magnitude × 2^exponent, rounded to 64 bits; any lost low bits must already be folded into bit 0.
  static TSoftExtended Round(bool negative, TU128 magnitude, int exponent) {
    TSoftExtended r;
    if (magnitude.IsZero()) return r;
    const int length = magnitude.BitLength();
    if (length <= 64) {
      r.FSignificand = magnitude.Lo << (64 - length);
      r.FExponent = exponent - (64 - length);
    } else {
      const int drop = length - 64;
      const bool half = magnitude.Bit(drop - 1), sticky = magnitude.AnyBelow(drop - 1);
      uint64_t q = magnitude.ShiftRight(drop).Lo;
      int e = exponent + drop;
      if (half && (sticky || (q & 1)) && ++q == 0) {  // carried out: 2^64 is 2^63 × 2
        q = uint64_t{1} << 63;
        ++e;
      }
      r.FSignificand = q;
      r.FExponent = e;
    }
    r.FNegative = negative;
    return r;
  }

  // Both operands as 127-bit magnitudes on the larger one's scale (one bit of headroom for a carry),
  // the smaller one's lost bits folded into its lowest bit.
  static TSoftExtended AddSigned(const TSoftExtended& a, bool bNegative, const TSoftExtended& b) {
    if (!a.FSignificand) return b.FSignificand ? WithSign(b, bNegative) : TSoftExtended();
    if (!b.FSignificand) return a;
    const bool aFirst = a.FExponent >= b.FExponent;
    const TSoftExtended& x = aFirst ? a : b;
    const TSoftExtended& y = aFirst ? b : a;
    const bool xNegative = aFirst ? a.FNegative : bNegative, yNegative = aFirst ? bNegative : a.FNegative;
    const TU128 xs = TU128{0, x.FSignificand}.ShiftLeft(63);
    const TU128 full = TU128{0, y.FSignificand}.ShiftLeft(63);
    const int distance = x.FExponent - y.FExponent;
    TU128 ys = full.ShiftRight(distance);
    if (full.AnyBelow(distance)) ys.Lo |= 1;
    const int exponent = x.FExponent - 63;
    if (xNegative == yNegative) return Round(xNegative, xs + ys, exponent);
    if (ys < xs) return Round(xNegative, xs - ys, exponent);
    return Round(yNegative, ys - xs, exponent);
  }

  static TSoftExtended WithSign(TSoftExtended x, bool negative) {
    x.FNegative = negative;
    return x;
  }
};

TSoftExtended::TSoftExtended(int64_t value) {
  if (value == 0) return;
  FNegative = value < 0;
  const uint64_t magnitude = FNegative ? uint64_t{0} - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  const int shift = std::countl_zero(magnitude);
  FSignificand = magnitude << shift;
  FExponent = -shift;
}

TSoftExtended::TSoftExtended(double value) {
  if (value == 0) return;
  int exponent;
  const double fraction = std::frexp(std::fabs(value), &exponent);  // [0.5, 1) × 2^exponent
  FNegative = value < 0;
  FSignificand = static_cast<uint64_t>(std::ldexp(fraction, 64));
  FExponent = exponent - 64;
}

TSoftExtended operator*(const TSoftExtended& a, const TSoftExtended& b) {
  return TSoftExtendedMath::Round(a.FNegative != b.FNegative, Multiply(a.FSignificand, b.FSignificand),
                                  a.FExponent + b.FExponent);
}

TSoftExtended operator/(const TSoftExtended& a, const TSoftExtended& b) {
  if (!a.FSignificand || !b.FSignificand) return {};
  // 67 quotient bits by long division: the first lies at bit 66 or 65, so below the 64 kept there are
  // always a guard bit and the bit that carries the sticky remainder.
  TU128 remainder{0, a.FSignificand}, quotient;
  const TU128 divisor{0, b.FSignificand};
  for (int k = 0; k < 67; ++k) {
    quotient = quotient.ShiftLeft(1);
    if (!(remainder < divisor)) {
      remainder = remainder - divisor;
      quotient.Lo |= 1;
    }
    remainder = remainder.ShiftLeft(1);
  }
  if (!remainder.IsZero()) quotient.Lo |= 1;  // the sticky bit: the quotient is not exact
  return TSoftExtendedMath::Round(a.FNegative != b.FNegative, quotient, a.FExponent - b.FExponent - 66);
}

TSoftExtended operator+(const TSoftExtended& a, const TSoftExtended& b) {
  return TSoftExtendedMath::AddSigned(a, b.FNegative, b);
}

TSoftExtended operator-(const TSoftExtended& a, const TSoftExtended& b) {
  return TSoftExtendedMath::AddSigned(a, !b.FNegative, b);
}

double TSoftExtended::ToDouble() const {
  if (!FSignificand) return 0.0;
  uint64_t q = FSignificand >> 11;
  int exponent = FExponent + 11;
  const bool half = (FSignificand >> 10) & 1, sticky = FSignificand & 0x3FF;
  if (half && (sticky || (q & 1)) && ++q == uint64_t{1} << 53) {
    q >>= 1;
    ++exponent;
  }
  const double magnitude = std::ldexp(static_cast<double>(q), exponent);
  return FNegative ? -magnitude : magnitude;
}

int64_t TSoftExtended::Trunc() const {
  constexpr int64_t Max = std::numeric_limits<int64_t>::max(), Min = std::numeric_limits<int64_t>::min();
  if (!FSignificand || FExponent <= -64) return 0;
  if (FExponent >= 0) return FNegative ? Min : Max;  // at least 2^63
  const uint64_t whole = FSignificand >> -FExponent;
  if (whole > static_cast<uint64_t>(Max)) return FNegative ? Min : Max;
  return FNegative ? -static_cast<int64_t>(whole) : static_cast<int64_t>(whole);
}

int64_t TSoftExtended::Ceil() const {
  const int64_t whole = Trunc();
  const bool fraction = FExponent < 0 && (FExponent <= -64 ? FSignificand != 0 : (FSignificand << (64 + FExponent)) != 0);
  return !FNegative && fraction && whole < std::numeric_limits<int64_t>::max() ? whole + 1 : whole;
}

template <>
TSoftExtended OneHundredth<TSoftExtended>() {
  // round(2^70 / 100) × 2^-70, slightly below one hundredth.
  static const TSoftExtended value = TSoftExtended(int64_t{1}) / TSoftExtended(int64_t{100});
  return value;
}

namespace {

int64_t Saturated(long double x) {
  if (std::isnan(x)) return 0;
  if (x >= 9223372036854775807.0L) return std::numeric_limits<int64_t>::max();
  if (x <= -9223372036854775808.0L) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(x);
}

}  // namespace

int64_t Trunc(long double x) { return Saturated(x); }
int64_t Ceil(long double x) { return Saturated(std::ceil(x)); }
