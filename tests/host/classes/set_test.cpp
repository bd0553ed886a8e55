#include "host/classes/set.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

enum Small : uint8_t { a0, a1, a2, a3, a4, a5, a6, a7 };
enum Wide : uint16_t { w0, w9 = 9, w15 = 15 };

}  // namespace

using host::Set;

TEST(Set, BitIIsValueIAndTheBytesAreThoseOfTheClassicSet) {
  Set<Small> s{a0, a2, a7};
  EXPECT_EQ(sizeof s, 1u);
  EXPECT_EQ(s.ToBits(), 0x85);
  uint8_t byte;
  std::memcpy(&byte, &s, 1);
  EXPECT_EQ(byte, 0x85);
  Set<Wide> w{w9, w15};
  EXPECT_EQ(sizeof w, 2u);
  EXPECT_EQ(w.ToBits(), 0x8200);
  EXPECT_EQ(Set<Small>::FromBits(0x85), s);
}

TEST(Set, MembershipAndTheSetOperators) {
  Set<Small> s;
  EXPECT_TRUE(s.Empty());
  s.Include(a3).Include(a3).Include(a1);
  EXPECT_TRUE(s.Contains(a3));
  EXPECT_FALSE(s.Contains(a2));
  s.Exclude(a3).Exclude(a5);
  EXPECT_EQ(s, (Set<Small>{a1}));
  const Set<Small> x{a1, a2, a3}, y{a2, a4};
  EXPECT_EQ(x + y, (Set<Small>{a1, a2, a3, a4}));
  EXPECT_EQ(x - y, (Set<Small>{a1, a3}));
  EXPECT_EQ(x * y, (Set<Small>{a2}));
  EXPECT_EQ(x + a7 - a1, (Set<Small>{a2, a3, a7}));
  EXPECT_TRUE((Set<Small>{a2}) <= x);
  EXPECT_FALSE(y <= x);
  EXPECT_TRUE(x >= (Set<Small>{a1, a3}));
  Set<Small> z = x;
  z -= y;
  z += Set<Small>{a0};
  z *= Set<Small>{a0, a3};
  EXPECT_EQ(z, (Set<Small>{a0, a3}));
  // A value past the capacity is never a member.
  EXPECT_FALSE(s.Include(static_cast<Small>(9)).Contains(static_cast<Small>(9)));
  EXPECT_EQ(s, (Set<Small>{a1}));
}
