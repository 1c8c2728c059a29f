// Arithmetic in the 80-bit extended format (a 64-bit significand, every result rounded to nearest,
// ties to even), in which the gauge's length rule, the usage counter's fraction and the percent
// figures are defined. TExtended is the hardware's long double where that is the format (x86) and
// TSoftExtended, the same rounding done with integers, everywhere else; both give the same figures.
#pragma once
#include <cfloat>
#include <cstdint>

class TSoftExtended {
public:
  TSoftExtended() = default;
  TSoftExtended(int64_t value);  // exact
  TSoftExtended(int32_t value) : TSoftExtended(int64_t{value}) {}
  explicit TSoftExtended(double value);  // exact; value must be finite

  friend TSoftExtended operator*(const TSoftExtended& a, const TSoftExtended& b);
  // b must not be 0.
  friend TSoftExtended operator/(const TSoftExtended& a, const TSoftExtended& b);
  friend TSoftExtended operator+(const TSoftExtended& a, const TSoftExtended& b);
  friend TSoftExtended operator-(const TSoftExtended& a, const TSoftExtended& b);

  // Rounded to the nearest double, ties to even.
  double ToDouble() const;
  // Toward zero and toward +infinity; values beyond 64 bits saturate.
  int64_t Trunc() const;
  int64_t Ceil() const;

private:
  // Value = (-1)^FNegative × FSignificand × 2^FExponent; the significand's top bit is set unless it is 0.
  bool FNegative = false;
  uint64_t FSignificand = 0;
  int FExponent = 0;
  friend struct TSoftExtendedMath;
};

// The same operations on the hardware format, so that generic code reads alike for both.
inline double ToDouble(long double x) { return static_cast<double>(x); }
inline double ToDouble(const TSoftExtended& x) { return x.ToDouble(); }
int64_t Trunc(long double x);
int64_t Ceil(long double x);
inline int64_t Trunc(const TSoftExtended& x) { return x.Trunc(); }
inline int64_t Ceil(const TSoftExtended& x) { return x.Ceil(); }

// The extended value nearest to 1/100 (0.01 written in the extended format).
template <class X>
X OneHundredth();
template <>
inline long double OneHundredth<long double>() {
  return 0.01L;
}
template <>
TSoftExtended OneHundredth<TSoftExtended>();

#if LDBL_MANT_DIG == 64
using TExtended = long double;
#else
using TExtended = TSoftExtended;
#endif
