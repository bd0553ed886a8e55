// TFont, TPen and TBrush: defaults, change notification, handles made, remade and adopted.
#include <gtest/gtest.h>

#include <cstring>

#include "host/graphics/graphics.h"
#include "platform/win32.h"
#include "support/memdc.h"

using namespace host;
using testsupport::MemDC;

namespace {

// Counts the OnChange calls of a graphics object.
template <class T>
int* CountChanges(T& object) {
  auto count = std::make_shared<int>(0);
  object.OnChange = [count](TObject*) { ++*count; };
  return count.get();
}

LOGFONT LogFontOf(HFONT font) {
  LOGFONT lf{};
  EXPECT_EQ(GetObject(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
  return lf;
}

}  // namespace

TEST(Font, DefaultsAndSizeFollowsHeight) {
  TFont f;
  EXPECT_STREQ(f.ClassName(), "TFont");
  EXPECT_EQ(f.Name(), "MS Sans Serif");
  EXPECT_EQ(f.Size(), 8);
  EXPECT_EQ(f.Height(), -11);
  EXPECT_TRUE(f.Style().Empty());
  EXPECT_EQ(f.Color(), clWindowText);
  EXPECT_EQ(f.Pitch(), fpDefault);
  EXPECT_EQ(f.Charset(), DEFAULT_CHARSET);
  EXPECT_FALSE(f.HandleAllocated());
  f.SetSize(12);
  EXPECT_EQ(f.Height(), -16);
  f.SetSize(11);
  EXPECT_EQ(f.Height(), -15);  // 14.67 rounds to 15
  EXPECT_EQ(f.Size(), 11);
  f.SetHeight(-13);
  EXPECT_EQ(f.Size(), 10);  // 9.75 rounds to 10
  // A positive height is a cell height; the size reads negative, as it always has.
  f.SetHeight(20);
  EXPECT_EQ(f.Size(), -15);
}

TEST(Font, OnChangeFiresOncePerRealChange) {
  TFont f;
  int* changes = CountChanges(f);
  f.SetName("MS Sans Serif");
  f.SetSize(8);
  f.SetHeight(-11);
  f.SetStyle({});
  f.SetColor(clWindowText);
  f.SetPitch(fpDefault);
  f.SetCharset(DEFAULT_CHARSET);
  EXPECT_EQ(*changes, 0);
  f.SetName("Arial");
  f.SetSize(10);
  f.SetStyle({fsBold});
  f.SetColor(clRed);
  f.SetPitch(fpFixed);
  f.SetCharset(ANSI_CHARSET);
  EXPECT_EQ(*changes, 6);
  // Assign: one notification for everything it changes, none when nothing differs.
  TFont other;
  other.SetName("Courier New");
  other.SetStyle({fsItalic, fsUnderline});
  other.SetSize(14);
  f.Assign(&other);
  EXPECT_EQ(*changes, 7);
  f.Assign(&other);
  EXPECT_EQ(*changes, 7);
  EXPECT_EQ(f.Name(), "Courier New");
  EXPECT_EQ(f.Height(), other.Height());
  EXPECT_EQ(f.Style(), (TFontStyles{fsItalic, fsUnderline}));
  EXPECT_EQ(f.Color(), clWindowText);
  TPen pen;
  EXPECT_THROW(f.Assign(&pen), EConvertError);
  EXPECT_THROW(f.Assign(nullptr), EConvertError);
}

TEST(Font, HandleIsMadeFromThePropertiesAndRemadeAfterAChange) {
  TFont f;
  f.SetName("Times New Roman");
  f.SetSize(12);
  f.SetStyle({fsBold, fsItalic, fsStrikeOut});
  f.SetPitch(fpVariable);
  HFONT first = f.Handle();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(f.Handle(), first);
  LOGFONT lf = LogFontOf(first);
  EXPECT_STREQ(lf.lfFaceName, "Times New Roman");
  EXPECT_EQ(lf.lfHeight, -16);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfItalic, 1);
  EXPECT_EQ(lf.lfUnderline, 0);
  EXPECT_EQ(lf.lfStrikeOut, 1);
  EXPECT_EQ(lf.lfEscapement, 0);
  EXPECT_EQ(lf.lfPitchAndFamily & 3, VARIABLE_PITCH);
  EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
  // The colour is not part of the font: the handle stays.
  f.SetColor(clBlue);
  EXPECT_EQ(f.Handle(), first);
  f.SetStyle({});
  EXPECT_EQ(GetObjectType(first), 0u);  // freed
  HFONT second = f.Handle();
  EXPECT_NE(second, first);
  EXPECT_EQ(LogFontOf(second).lfWeight, FW_NORMAL);
  // Names longer than a LOGFONT holds are cut, not overrun.
  f.SetName(std::string(40, 'x'));
  EXPECT_EQ(std::strlen(LogFontOf(f.Handle()).lfFaceName), static_cast<size_t>(LF_FACESIZE - 1));
}

TEST(Font, SetHandleAdoptsAForeignFont) {
  HFONT foreign = CreateFont(-20, 0, 0, 0, FW_BOLD, TRUE, FALSE, TRUE, ANSI_CHARSET, 0, 0, 0, FIXED_PITCH | FF_MODERN,
                             "Courier New");
  ASSERT_NE(foreign, nullptr);
  HFONT before;
  {
    TFont f;
    before = f.Handle();
    int* changes = CountChanges(f);
    f.SetHandle(foreign);
    EXPECT_EQ(*changes, 1);
    EXPECT_EQ(GetObjectType(before), 0u);
    EXPECT_EQ(f.Handle(), foreign);
    EXPECT_EQ(f.Name(), "Courier New");
    EXPECT_EQ(f.Height(), -20);
    EXPECT_EQ(f.Size(), 15);
    EXPECT_EQ(f.Style(), (TFontStyles{fsBold, fsItalic, fsStrikeOut}));
    EXPECT_EQ(f.Pitch(), fpFixed);
    EXPECT_EQ(f.Charset(), ANSI_CHARSET);
    f.SetHandle(foreign);  // the same font again: nothing happens
    EXPECT_EQ(*changes, 1);
    EXPECT_THROW(f.SetHandle(reinterpret_cast<HFONT>(GetStockObject(BLACK_PEN))), EInvalidGraphicOperation);
    EXPECT_EQ(f.Handle(), foreign);
  }
  // The TFont owned it.
  EXPECT_EQ(GetObjectType(foreign), 0u);
}

TEST(Pen, DefaultsHandlesAndAdoption) {
  TPen p;
  EXPECT_EQ(p.Color(), clBlack);
  EXPECT_EQ(p.Width(), 1);
  EXPECT_EQ(p.Style(), psSolid);
  EXPECT_EQ(p.Mode(), pmCopy);
  int* changes = CountChanges(p);
  p.SetColor(clBtnShadow);
  p.SetWidth(3);
  p.SetStyle(psInsideFrame);
  p.SetWidth(3);
  EXPECT_EQ(*changes, 3);
  HPEN h = p.Handle();
  LOGPEN lp{};
  ASSERT_EQ(GetObject(h, sizeof lp, &lp), static_cast<int>(sizeof lp));
  EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_INSIDEFRAME));
  EXPECT_EQ(lp.lopnWidth.x, 3);
  EXPECT_EQ(lp.lopnColor, RGB(128, 128, 128));  // system colours resolved
  p.SetMode(pmXor);  // applied to the DC, not part of the pen
  EXPECT_EQ(p.Handle(), h);
  EXPECT_EQ(*changes, 4);
  p.SetStyle(psClear);
  ASSERT_EQ(GetObject(p.Handle(), sizeof lp, &lp), static_cast<int>(sizeof lp));
  EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_NULL));

  HPEN foreign = CreatePen(PS_DASHDOT, 1, RGB(1, 2, 3));
  p.SetHandle(foreign);
  EXPECT_EQ(p.Style(), psDashDot);
  EXPECT_EQ(p.Color(), static_cast<TColor>(RGB(1, 2, 3)));
  EXPECT_EQ(p.Width(), 1);
  EXPECT_EQ(p.Handle(), foreign);
  const DWORD dashes[] = {2, 1};
  LOGBRUSH lb{BS_SOLID, RGB(9, 8, 7), 0};
  HPEN ext = ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE, 4, &lb, 2, dashes);
  p.SetHandle(ext);
  EXPECT_EQ(p.Width(), 4);
  EXPECT_EQ(p.Color(), static_cast<TColor>(RGB(9, 8, 7)));
  EXPECT_EQ(p.Style(), psSolid);  // a user style has no pen style of its own
  EXPECT_EQ(GetObjectType(foreign), 0u);

  TPen copy;
  copy.Assign(&p);
  EXPECT_EQ(copy.Width(), 4);
  EXPECT_EQ(copy.Mode(), pmXor);
  EXPECT_NE(copy.Handle(), p.Handle());
}

TEST(Pen, EveryModeDrawsItsRasterOperation) {
  const COLORREF dst = RGB(0x3C, 0xA5, 0x0F), pen = RGB(0x55, 0x0F, 0xF0);
  // What each mode does with pen P and screen D, per channel.
  const std::pair<TPenMode, uint8_t (*)(uint8_t, uint8_t)> modes[] = {
      {pmBlack, [](uint8_t, uint8_t) -> uint8_t { return 0; }},
      {pmWhite, [](uint8_t, uint8_t) -> uint8_t { return 0xFF; }},
      {pmNop, [](uint8_t, uint8_t d) -> uint8_t { return d; }},
      {pmNot, [](uint8_t, uint8_t d) -> uint8_t { return static_cast<uint8_t>(~d); }},
      {pmCopy, [](uint8_t p, uint8_t) -> uint8_t { return p; }},
      {pmNotCopy, [](uint8_t p, uint8_t) -> uint8_t { return static_cast<uint8_t>(~p); }},
      {pmMergePenNot, [](uint8_t p, uint8_t d) -> uint8_t { return static_cast<uint8_t>(p | ~d); }},
      {pmMaskPenNot, [](uint8_t p, uint8_t d) -> uint8_t { return static_cast<uint8_t>(p & ~d); }},
      {pmMergeNotPen, [](uint8_t p, uint8_t d) -> uint8_t { return static_cast<uint8_t>(~p | d); }},
      {pmMaskNotPen, [](uint8_t p, uint8_t d) -> uint8_t { return static_cast<uint8_t>(~p & d); }},
      {pmMerge, [](uint8_t p, uint8_t d) -> uint8_t { return static_cast<uint8_t>(p | d); }},
      {pmNotMerge, [](uint8_t p, uint8_t d) -> uint8_t { return static_cast<uint8_t>(~(p | d)); }},
      {pmMask, [](uint8_t p, uint8_t d) -> uint8_t { return static_cast<uint8_t>(p & d); }},
      {pmNotMask, [](uint8_t p, uint8_t d) -> uint8_t { return static_cast<uint8_t>(~(p & d)); }},
      {pmXor, [](uint8_t p, uint8_t d) -> uint8_t { return static_cast<uint8_t>(p ^ d); }},
      {pmNotXor, [](uint8_t p, uint8_t d) -> uint8_t { return static_cast<uint8_t>(~(p ^ d)); }},
  };
  for (const auto& [mode, op] : modes) {
    SCOPED_TRACE(static_cast<int>(mode));
    MemDC dc(3, 1, dst);
    TCanvas c;
    c.SetHandle(dc);
    c.Pen()->SetColor(static_cast<TColor>(pen));
    c.Pen()->SetMode(mode);
    c.MoveTo(0, 0);
    c.LineTo(2, 0);
    const COLORREF want = RGB(op(GetRValue(pen), GetRValue(dst)), op(GetGValue(pen), GetGValue(dst)),
                              op(GetBValue(pen), GetBValue(dst)));
    EXPECT_EQ(dc.Px(0, 0), want);
    EXPECT_EQ(dc.Px(2, 0), dst);  // LineTo leaves out its end
  }
}

TEST(Brush, DefaultsStylesAndAdoption) {
  TBrush b;
  EXPECT_EQ(b.Color(), clWhite);
  EXPECT_EQ(b.Style(), bsSolid);
  EXPECT_EQ(b.Bitmap(), nullptr);
  int* changes = CountChanges(b);
  LOGBRUSH lb{};
  const std::pair<TBrushStyle, std::pair<UINT, ULONG_PTR>> styles[] = {
      {bsClear, {BS_NULL, 0}},         {bsHorizontal, {BS_HATCHED, HS_HORIZONTAL}},
      {bsVertical, {BS_HATCHED, HS_VERTICAL}}, {bsFDiagonal, {BS_HATCHED, HS_FDIAGONAL}},
      {bsBDiagonal, {BS_HATCHED, HS_BDIAGONAL}}, {bsCross, {BS_HATCHED, HS_CROSS}},
      {bsDiagCross, {BS_HATCHED, HS_DIAGCROSS}}, {bsSolid, {BS_SOLID, 0}},
  };
  b.SetColor(clInfoBk);
  for (const auto& [style, want] : styles) {
    b.SetStyle(style);
    ASSERT_EQ(GetObject(b.Handle(), sizeof lb, &lb), static_cast<int>(sizeof lb));
    EXPECT_EQ(lb.lbStyle, want.first);
    EXPECT_EQ(lb.lbHatch, want.second);
    if (style != bsClear) {
      EXPECT_EQ(lb.lbColor, RGB(255, 255, 225));
    }
  }
  EXPECT_EQ(*changes, 9);

  HBRUSH hatch = CreateHatchBrush(HS_CROSS, RGB(4, 5, 6));
  b.SetHandle(hatch);
  EXPECT_EQ(b.Style(), bsCross);
  EXPECT_EQ(b.Color(), static_cast<TColor>(RGB(4, 5, 6)));
  EXPECT_EQ(b.Handle(), hatch);
  b.SetHandle(reinterpret_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
  EXPECT_EQ(b.Style(), bsClear);
  EXPECT_EQ(GetObjectType(hatch), 0u);
  EXPECT_THROW(b.SetHandle(nullptr), EInvalidGraphicOperation);
}

TEST(Brush, ABitmapMakesAPatternBrush) {
  TBitmap pattern;
  pattern.SetSize(2, 2);
  pattern.Canvas()->SetPixels(0, 0, clRed);
  pattern.Canvas()->SetPixels(1, 1, clBlue);
  MemDC dc(5, 3);
  TCanvas c;
  c.SetHandle(dc);
  c.Brush()->SetColor(clLime);
  c.Brush()->SetBitmap(&pattern);
  c.FillRect(RECT{0, 0, 4, 3});
  EXPECT_PICTURE(dc, 0, 0, {"r.r..", ".b.b.", "r.r.."}, {{'r', RGB(255, 0, 0)}, {'b', RGB(0, 0, 255)}});
  // Without the bitmap the brush is its colour again.
  c.Brush()->SetBitmap(nullptr);
  c.FillRect(RECT{0, 0, 1, 1});
  EXPECT_EQ(dc.Px(0, 0), RGB(0, 255, 0));
}
