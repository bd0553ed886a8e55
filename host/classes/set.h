// Set<E>: a set of values of an unscoped enumeration, one bit per value (bit i = value i).
//
// The set is stored in an unsigned integer as wide as the enumeration's underlying type, so
// an enum of up to 8 values declared `: uint8_t` gives a one-byte set and the stored bytes
// are those of the classic bit set. Wider enumerations declare a wider underlying type.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <type_traits>

namespace host {

template <class E>
class Set {
  static_assert(std::is_enum_v<E>, "Set<E> holds enumeration values");

 public:
  using Bits = std::make_unsigned_t<std::underlying_type_t<E>>;
  static constexpr int kCapacity = static_cast<int>(sizeof(Bits) * 8);

  constexpr Set() = default;
  constexpr Set(std::initializer_list<E> values) {
    for (E v : values) Include(v);
  }
  static constexpr Set FromBits(Bits bits) {
    Set s;
    s.bits_ = bits;
    return s;
  }

  constexpr Bits ToBits() const { return bits_; }
  constexpr bool Empty() const { return bits_ == 0; }
  // Values outside the set's capacity are never members; including one does nothing.
  constexpr bool Contains(E v) const { return InRange(v) && (bits_ & Bit(v)) != 0; }
  constexpr Set& Include(E v) {
    if (InRange(v)) bits_ = static_cast<Bits>(bits_ | Bit(v));
    return *this;
  }
  constexpr Set& Exclude(E v) {
    if (InRange(v)) bits_ = static_cast<Bits>(bits_ & ~Bit(v));
    return *this;
  }

  // Union, difference and intersection, as + - * of the classic sets.
  friend constexpr Set operator+(Set a, Set b) { return FromBits(static_cast<Bits>(a.bits_ | b.bits_)); }
  friend constexpr Set operator-(Set a, Set b) { return FromBits(static_cast<Bits>(a.bits_ & ~b.bits_)); }
  friend constexpr Set operator*(Set a, Set b) { return FromBits(static_cast<Bits>(a.bits_ & b.bits_)); }
  friend constexpr Set operator+(Set a, E v) { return a.Include(v); }
  friend constexpr Set operator-(Set a, E v) { return a.Exclude(v); }
  constexpr Set& operator+=(Set b) { return *this = *this + b; }
  constexpr Set& operator-=(Set b) { return *this = *this - b; }
  constexpr Set& operator*=(Set b) { return *this = *this * b; }
  friend constexpr bool operator==(Set a, Set b) { return a.bits_ == b.bits_; }
  // Subset and superset.
  friend constexpr bool operator<=(Set a, Set b) { return (a.bits_ & ~b.bits_) == 0; }
  friend constexpr bool operator>=(Set a, Set b) { return b <= a; }

 private:
  static constexpr bool InRange(E v) {
    using U = std::underlying_type_t<E>;
    const U i = static_cast<U>(v);
    if constexpr (std::is_signed_v<U>) {
      if (i < 0) return false;
    }
    return static_cast<uintmax_t>(i) < static_cast<uintmax_t>(kCapacity);
  }
  static constexpr Bits Bit(E v) { return static_cast<Bits>(Bits{1} << static_cast<int>(v)); }

  Bits bits_ = 0;
};

}  // namespace host
