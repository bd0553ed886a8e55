// A picture of every bevel style and width, the standard borders, whole bevel objects and every
// text effect, upright and rotated, for looking at: build/default/gallery/drawing.png.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host/graphics/brush.h"
#include "host/graphics/canvas.h"
#include "host/graphics/font.h"
#include "host/graphics/pen.h"
#include "library/drawing/bevel.h"
#include "library/drawing/effect_text.h"
#include "platform/gdi/png.h"
#include "support/app.h"
#include "support/memdc.h"

namespace zyr {
namespace {

class DrawingGallery : public testing_app::AppTest {};

void Label(host::TCanvas* c, int x, int y, const std::string& text) {
  c->Font()->SetName("MS Sans Serif");
  c->Font()->SetHeight(-11);
  c->Font()->SetStyle({});
  c->Font()->SetColor(host::clBlack);
  c->Brush()->SetStyle(host::bsClear);
  c->TextOut(x, y, text);
}

void Background(host::TCanvas* c, const RECT& r) {
  c->Brush()->SetStyle(host::bsSolid);
  c->Brush()->SetColor(host::clBtnFace);
  c->FillRect(r);
}

TEST_F(DrawingGallery, EveryBevelAndTextEffect) {
  testsupport::MemDC dc(760, 560, GetSysColor(COLOR_BTNFACE));
  host::TCanvas canvas;
  canvas.SetHandle(dc);
  host::TCanvas* c = &canvas;

  // Edge styles by width.
  Label(c, 10, 6, "DrawBevel: widths 1, 2, 3, 5");
  const TZYRBevelStyle styles[] = {bvLowered, bvRaised, bvFrameLowered, bvFrameRaised, bvNormal};
  const int widths[] = {1, 2, 3, 5};
  for (int row = 0; row < 5; ++row) {
    const int y = 26 + row * 42;
    Label(c, 10, y + 12, EnumTypeOf(styles[row]).Name(styles[row]));
    for (int col = 0; col < 4; ++col) {
      RECT r{100 + col * 62, y, 100 + col * 62 + 56, y + 36};
      DrawBevel(c, r, styles[row], host::clBtnHighlight, host::clBtnShadow, widths[col]);
      c->Brush()->SetStyle(host::bsSolid);
      c->Brush()->SetColor(host::clWindow);
      c->FillRect(r);  // what the frame leaves inside, in white
    }
  }

  // Standard borders.
  Label(c, 370, 6, "DrawStandardBorder");
  for (int i = 1; i <= lsDoubleLowered; ++i) {
    const auto style = static_cast<TZYRBorderStyle>(i);
    const int col = (i - 1) / 7;
    const int row = (i - 1) % 7;
    const int x = 370 + col * 190;
    const int y = 26 + row * 32;
    RECT r{x, y, x + 44, y + 26};
    DrawStandardBorder(c, r, style, 0);
    Label(c, x + 52, y + 7, EnumTypeOf(style).Name(style));
  }

  // Whole bevel objects, on a hatched ground so that transparent bands show it.
  Label(c, 10, 240, "TZYRBevel.PaintBevel");
  struct Sample {
    const char* name;
    TZYRBevelStyle outer, inner;
    int width_outer, width_inner, border, inner_border;
    bool transparent;
    TZYRBevelMode mode;
    TZYRBorderStyle standard;
  } samples[] = {
      {"raised+band+lowered", bvRaised, bvLowered, 2, 2, 4, 0, false, bmCustom, lsNone},
      {"same, transparent", bvRaised, bvLowered, 2, 2, 4, 0, true, bmCustom, lsNone},
      {"frame+inner band", bvFrameLowered, bvNone, 1, 1, 0, 3, false, bmCustom, lsNone},
      {"shadow 5, frame 1", bvShadow, bvShadow, 5, 1, 0, 0, false, bmCustom, lsNone},
      {"shadow 6, frame 3", bvShadow, bvShadow, 6, 3, 0, 0, true, bmCustom, lsNone},
      {"standard window", bvNone, bvNone, 1, 1, 0, 2, false, bmStandard, lsWindowBorder},
  };
  for (int i = 0; i < 6; ++i) {
    const int x = 10 + i * 122;
    RECT area{x, 258, x + 112, 330};
    c->Brush()->SetStyle(host::bsDiagCross);
    c->Brush()->SetColor(host::clGray);
    c->FillRect(area);
    TZYRBevel bevel;
    bevel.SetStyleOuter(samples[i].outer);
    bevel.SetStyleInner(samples[i].inner);
    bevel.SetWidthOuter(static_cast<TZYRBevelWidth>(samples[i].width_outer));
    bevel.SetWidthInner(static_cast<TZYRBevelWidth>(samples[i].width_inner));
    bevel.SetBorderWidth(static_cast<TZYRBorderWidth>(samples[i].border));
    bevel.SetBorderInnerWidth(static_cast<TZYRBorderWidth>(samples[i].inner_border));
    const bool shadow = samples[i].outer == bvShadow;
    bevel.SetBorderColor(shadow ? host::TColor{0xC0FFFF} : host::clTeal);
    if (shadow) bevel.SetLightColor(host::clNavy);
    bevel.SetMode(samples[i].mode);
    bevel.SetStandardStyle(samples[i].standard);
    const RECT inside = bevel.PaintBevel(c, area, samples[i].transparent);
    c->Brush()->SetStyle(host::bsSolid);
    c->Brush()->SetColor(host::clWindow);
    c->FillRect(inside);
    Label(c, x, 334, samples[i].name);
  }

  // Text effects, upright.
  Label(c, 10, 354, "DrawEffectText");
  const char* names[] = {"tdNone", "tdSunken", "tdRaised", "tdSunkenShadow", "tdRaisedShadow",
                         "tdPColorSunken", "tdPColorRaised", "tdShadow"};
  for (int i = 0; i < 10; ++i) {
    const int x = 10 + (i % 5) * 150;
    const int y = 372 + (i / 5) * 34;
    RECT r{x, y, x + 146, y + 30};
    Background(c, r);
    TZYR3DCaption effect;
    effect.SetLightDepth(1);
    effect.SetShadowDepth(2);
    effect.SetLightColor(host::clWhite);
    effect.SetShadowColor(host::clGray);
    c->Font()->SetName("Arial");
    c->Font()->SetHeight(-17);
    c->Font()->SetStyle({host::fsBold});
    c->Font()->SetColor(host::clNavy);
    c->Brush()->SetColor(host::clBtnFace);
    if (i < 8) {
      effect.SetStyle(static_cast<TZYRThreeDStyle>(i));
      DrawEffectText(c, names[i], &effect, r, DT_SINGLELINE | DT_VCENTER | DT_CENTER, {etEnabled});
    } else {
      effect.SetStyle(tdRaised);
      DrawEffectText(c, i == 8 ? "disabled" : "disabled sunken", &effect, r, DT_SINGLELINE | DT_VCENTER | DT_CENTER,
                     i == 8 ? TZYREffectTextOptions{etDisabled}
                            : TZYREffectTextOptions{etDisabled, etSunkenDisabled});
    }
  }

  // Rotated, each placed in the middle of its cell.
  Label(c, 10, 444, "TZYRFxCaption, rotated (0, 30, 90, 180, 270) and tracing");
  const int angles[] = {0, 30, 90, 180, 270};
  host::TFont font;
  font.SetName("Arial");
  font.SetHeight(-15);
  font.SetStyle({host::fsBold});
  for (int i = 0; i < 6; ++i) {
    const int x = 10 + i * 124;
    RECT cell{x, 460, x + 118, 552};
    Background(c, cell);
    c->Brush()->SetStyle(host::bsClear);
    c->Pen()->SetColor(host::clGray);
    c->Rectangle(cell);
    TZYRFxCaption fx;
    fx.SetStyle(i == 5 ? tdShadow : tdRaisedShadow);
    fx.SetLightColor(host::clWhite);
    fx.SetShadowColor(host::clGray);
    fx.SetShadowDepth(2);
    if (i < 5) fx.SetAngle(static_cast<TZYRAngle>(angles[i]));
    if (i == 5) fx.SetTracing(3);
    const std::string text = i == 5 ? "Tracing" : "Rotated";
    RECT place{};
    AlignFxTextRect(agCenter, text, &fx, place, false, false, &font, cell);
    c->Font()->Assign(&font);
    c->Font()->SetColor(host::clMaroon);
    DrawEffectText(c, text, &fx, place, DT_SINGLELINE, {etEnabled});
  }

  canvas.SetHandle(nullptr);
  // The edges four times as large, to see single pixels.
  testsupport::MemDC zoom(4 * 250, 4 * 215);
  StretchBlt(zoom, 0, 0, zoom.width(), zoom.height(), dc, 95, 22, 250, 215, SRCCOPY);
  zoom.Save("drawing_edges_zoom");
  const auto dir = std::filesystem::path(SHOWRAMA_BINARY_DIR) / "gallery";
  std::filesystem::create_directories(dir);
  std::string error;
  EXPECT_TRUE(gdi::WritePng((dir / "drawing.png").string(), dc.bitmap(), &error)) << error;
  EXPECT_TRUE(std::filesystem::exists(dir / "drawing.png"));
}

}  // namespace
}  // namespace zyr
