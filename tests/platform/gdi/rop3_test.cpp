// Ternary raster operations: the truth-table rule, the general evaluator, the fast paths and
// the 32-bit behaviour of whole pixels.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/gdi/rop3.h"
#include "support/memdc.h"

using gdi::Pixel;
using testsupport::MemDC;

namespace {

// The rule as written down: every bit on its own, the result bit is bit (P<<2 | S<<1 | D)
// of the index byte.
Pixel ReferenceRop3(uint8_t rop, Pixel p, Pixel s, Pixel d) {
  Pixel out = 0;
  for (int bit = 0; bit < 32; ++bit) {
    const unsigned index = (((p >> bit) & 1) << 2) | (((s >> bit) & 1) << 1) | ((d >> bit) & 1);
    out |= static_cast<Pixel>((rop >> index) & 1) << bit;
  }
  return out;
}

}  // namespace

TEST(Rop3, GeneralEvaluatorFollowsTheTruthTableForAll256Codes) {
  std::mt19937 rng(1234);
  for (int rop = 0; rop < 256; ++rop) {
    const gdi::Rop3 op(static_cast<uint8_t>(rop));
    for (int k = 0; k < 64; ++k) {
      const Pixel p = rng(), s = rng(), d = rng();
      ASSERT_EQ(op(p, s, d), ReferenceRop3(static_cast<uint8_t>(rop), p, s, d)) << "rop " << rop;
    }
  }
}

TEST(Rop3, UsesPatternSourceAndDestinationFlags) {
  // Each flag must agree with the truth table: flipping that operand changes some result.
  for (int rop = 0; rop < 256; ++rop) {
    bool s = false, p = false, d = false;
    for (int i = 0; i < 8; ++i) {
      const int bit = (rop >> i) & 1;
      s |= bit != ((rop >> (i ^ 2)) & 1);
      p |= bit != ((rop >> (i ^ 4)) & 1);
      d |= bit != ((rop >> (i ^ 1)) & 1);
    }
    EXPECT_EQ(gdi::Rop3UsesSource(static_cast<uint8_t>(rop)), s) << rop;
    EXPECT_EQ(gdi::Rop3UsesPattern(static_cast<uint8_t>(rop)), p) << rop;
    EXPECT_EQ(gdi::Rop3UsesDest(static_cast<uint8_t>(rop)), d) << rop;
  }
}

TEST(Rop3, HandComputedCodes) {
  // Bytes: P = 00 FF 00 FF, S = 0F 0F 0F 0F, D = 33 33 33 33.
  const Pixel P = 0x00FF00FF, S = 0x0F0F0F0F, D = 0x33333333;
  struct Case {
    uint8_t rop;
    const char* name;
    Pixel expected;
  };
  const Case cases[] = {
      {0xB8, "PSDPxax: ((D^P)&S)^P", 0x03F303F3},
      {0xE2, "DSPDxax: S ? P : D", 0x303F303F},
      {0xCA, "P ? S : D", 0x330F330F},
      {0xC0, "MERGECOPY: P&S", 0x000F000F},
      {0xBB, "MERGEPAINT: ~S|D", 0xF3F3F3F3},
      {0x44, "SRCERASE: S&~D", 0x0C0C0C0C},
      {0x11, "NOTSRCERASE: ~(S|D)", 0xC0C0C0C0},
      {0xFB, "PATPAINT: P|~S|D", 0xF3FFF3FF},
      {0x96, "DPSxx: D^P^S", 0x3CC33CC3},
      {0x6A, "DSPax: (S&P)^D", 0x333C333C},
      {0x0F, "Pn", 0xFF00FF00},
      {0xA0, "DPa", 0x00330033},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(gdi::Rop3(c.rop)(P, S, D), c.expected) << c.name;
    Pixel d = D;
    gdi::Rop3Row(c.rop, &d, &S, nullptr, P, 1);
    EXPECT_EQ(d, c.expected) << c.name << " (row)";
  }
}

TEST(Rop3, FastPathsMatchTheGeneralEvaluatorBitForBit) {
  std::mt19937 rng(42);
  constexpr int kN = 37;  // odd on purpose: no path may assume a multiple of anything
  std::vector<Pixel> s(kN), p(kN), d(kN);
  int fast = 0;
  for (int rop = 0; rop < 256; ++rop) {
    const auto r = static_cast<uint8_t>(rop);
    fast += gdi::Rop3HasFastPath(r);
    for (int round = 0; round < 8; ++round) {
      for (int i = 0; i < kN; ++i) {
        s[i] = rng();
        p[i] = rng();
        d[i] = rng();
      }
      const Pixel solid = rng();
      for (bool row_pattern : {false, true}) {
        std::vector<Pixel> fast_d = d, slow_d = d;
        gdi::Rop3Row(r, fast_d.data(), s.data(), row_pattern ? p.data() : nullptr, solid, kN);
        gdi::Rop3RowGeneral(r, slow_d.data(), s.data(), row_pattern ? p.data() : nullptr, solid, kN);
        ASSERT_EQ(fast_d, slow_d) << "rop " << rop << (row_pattern ? " pattern row" : " solid pattern");
      }
    }
  }
  EXPECT_GE(fast, 11);  // SRCCOPY, SRCAND, SRCPAINT, SRCINVERT, PATCOPY, PATINVERT, ...
}

TEST(Rop3, SourceMayBeTheDestinationItself) {
  // The engine hands a row its own pixels when a blit copies onto itself.
  for (uint8_t rop : {uint8_t{0xCC}, uint8_t{0x88}, uint8_t{0x66}, uint8_t{0x33}, uint8_t{0xB8}}) {
    Pixel row[3] = {0x123456, 0xABCDEF, 0x0F0F0F};
    Pixel expected[3];
    for (int i = 0; i < 3; ++i) expected[i] = ReferenceRop3(rop, 0x00FF00, row[i], row[i]);
    gdi::Rop3Row(rop, row, row, nullptr, 0x00FF00, 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(row[i], expected[i]) << int(rop);
  }
}

TEST(Rop3, ClassicOperandsGiveBackTheIndexThroughBitBlt) {
  // With P = F0, S = CC, D = AA in every byte, bit k of the three operands spells k, so
  // every byte of the result is the ROP index itself.
  MemDC src(1, 1, RGB(0xCC, 0xCC, 0xCC));
  MemDC dst(1, 1);
  HBRUSH brush = CreateSolidBrush(RGB(0xF0, 0xF0, 0xF0));
  HGDIOBJ old = SelectObject(dst, brush);
  for (int rop = 0; rop < 256; ++rop) {
    dst.Fill(RGB(0xAA, 0xAA, 0xAA));
    ASSERT_TRUE(BitBlt(dst, 0, 0, 1, 1, src, 0, 0, static_cast<DWORD>(rop) << 16)) << rop;
    const auto b = static_cast<BYTE>(rop);
    ASSERT_EQ(dst.Px(0, 0), RGB(b, b, b)) << "rop " << rop;
  }
  SelectObject(dst, old);
  DeleteObject(brush);
}

TEST(Rop3, MonochromeDestinationsStayBlackAndWhite) {
  MemDC mono(2, 1, RGB(255, 255, 255), 1);
  SetPixel(mono, 1, 0, RGB(0, 0, 0));
  EXPECT_TRUE(PatBlt(mono, 0, 0, 2, 1, DSTINVERT));
  EXPECT_EQ(mono.Px(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(mono.Px(1, 0), RGB(255, 255, 255));
  // The inverted white must be exactly black, X byte included: a pattern brush made from
  // the bitmap reads it as a 0 bit (text colour).
  HBRUSH pattern = CreatePatternBrush(mono.bitmap());
  MemDC colour(2, 1);
  SetTextColor(colour, RGB(255, 0, 0));
  SetBkColor(colour, RGB(0, 0, 255));
  RECT all{0, 0, 2, 1};
  FillRect(colour, &all, pattern);
  EXPECT_EQ(colour.Px(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(colour.Px(1, 0), RGB(0, 0, 255));
  DeleteObject(pattern);
  // A light brush maps to white before the operation.
  HBRUSH light = CreateSolidBrush(RGB(200, 200, 200));
  HGDIOBJ old = SelectObject(mono, light);
  EXPECT_TRUE(PatBlt(mono, 0, 0, 2, 1, PATINVERT));
  EXPECT_EQ(mono.Px(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(mono.Px(1, 0), RGB(0, 0, 0));
  SelectObject(mono, old);
  DeleteObject(light);
}
