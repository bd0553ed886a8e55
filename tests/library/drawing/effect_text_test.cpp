// Effect text: where each copy of the text lands and in which colour, the disabled look,
// clipping and the state left on the canvas, measuring and placing (also rotated), and the
// caption objects with their stored forms.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "host/classes/filer.h"
#include "host/classes/publish.h"
#include "host/graphics/brush.h"
#include "host/graphics/canvas.h"
#include "host/graphics/font.h"
#include "library/drawing/effect_text.h"
#include "support/app.h"
#include "support/memdc.h"

namespace zyr {
namespace {

using testsupport::InkBox;
using testsupport::MemDC;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kFace = RGB(0, 96, 0);
constexpr COLORREF kLight = RGB(255, 0, 0);
constexpr COLORREF kShadow = RGB(0, 0, 255);
constexpr COLORREF kBrush = RGB(200, 160, 0);

class CanvasOn {
 public:
  explicit CanvasOn(HDC dc) { canvas_.SetHandle(dc); }
  ~CanvasOn() { canvas_.SetHandle(nullptr); }
  host::TCanvas* operator->() { return &canvas_; }
  host::TCanvas* get() { return &canvas_; }

 private:
  host::TCanvas canvas_;
};

using Mask = std::set<std::pair<int, int>>;

Mask MaskOf(const MemDC& dc, COLORREF c) {
  Mask m;
  for (int y = 0; y < dc.height(); ++y) {
    for (int x = 0; x < dc.width(); ++x) {
      if (dc.Px(x, y) == c) m.insert({x, y});
    }
  }
  return m;
}

// Text in the canvas's mono raster font (MS Sans Serif), so every pixel is a pure colour.
void Draw(MemDC& dc, TZYR3DCaption& effect, const std::string& text, const RECT& r, uint16_t format,
          TZYREffectTextOptions options, COLORREF background = kWhite) {
  dc.Fill(background);
  CanvasOn canvas(dc);
  canvas->Font()->SetColor(static_cast<TColor>(kFace));
  canvas->Brush()->SetColor(static_cast<TColor>(kBrush));
  DrawEffectText(canvas.get(), text, &effect, r, format, options);
}

std::unique_ptr<TZYR3DCaption> Effect(TZYRThreeDStyle style, uint8_t light_depth, uint8_t shadow_depth) {
  auto e = std::make_unique<TZYR3DCaption>();
  e->SetStyle(style);
  e->SetLightDepth(light_depth);
  e->SetShadowDepth(shadow_depth);
  e->SetLightColor(static_cast<TColor>(kLight));
  e->SetShadowColor(static_cast<TColor>(kShadow));
  return e;
}

class EffectText : public testing_app::AppTest {};

TEST_F(EffectText, EveryStyleDrawsItsCopiesAtTheirOffsetsInOrder) {
  const RECT rect{4, 4, 150, 40};
  const uint16_t format = DT_SINGLELINE | DT_NOPREFIX;
  const std::string text = "AbW";
  MemDC base(160, 44);
  auto plain = Effect(tdNone, 1, 2);
  Draw(base, *plain, text, rect, format, {etEnabled});
  const Mask glyphs = MaskOf(base, kFace);
  ASSERT_GT(glyphs.size(), 20u);

  struct Copy {
    int offset;
    COLORREF color;
  };
  struct Case {
    TZYRThreeDStyle style;
    std::vector<Copy> copies;  // in drawing order, later ones on top
  } cases[] = {
      {tdNone, {{0, kFace}}},
      {tdSunken, {{1, kLight}, {0, kFace}}},
      {tdRaised, {{0, kLight}, {1, kFace}}},
      {tdSunkenShadow, {{0, kShadow}, {3, kLight}, {2, kFace}}},
      {tdRaisedShadow, {{3, kShadow}, {0, kLight}, {1, kFace}}},
      {tdPColorSunken, {{0, kShadow}, {3, kLight}, {2, kBrush}}},
      {tdPColorRaised, {{3, kShadow}, {0, kLight}, {1, kBrush}}},
      {tdShadow, {{2, kShadow}, {0, kFace}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(EnumTypeOf(c.style).Name(c.style));
    auto effect = Effect(c.style, 1, 2);
    MemDC dc(160, 44);
    Draw(dc, *effect, text, rect, format, {etEnabled});
    std::map<std::pair<int, int>, COLORREF> expected;
    for (const Copy& copy : c.copies) {
      for (auto [x, y] : glyphs) expected[{x + copy.offset, y + copy.offset}] = copy.color;
    }
    int wrong = 0;
    for (int y = 0; y < dc.height(); ++y) {
      for (int x = 0; x < dc.width(); ++x) {
        auto it = expected.find({x, y});
        const COLORREF want = it == expected.end() ? kWhite : it->second;
        if (dc.Px(x, y) != want && ++wrong < 4) ADD_FAILURE() << "pixel " << x << "," << y;
      }
    }
    EXPECT_EQ(wrong, 0);
  }
}

TEST_F(EffectText, ShiftedCopiesStayInsideANarrowerRectangle) {
  // Right-aligned, the face moves left by the depth so that the shadow ends where the plain
  // text would.
  const RECT rect{0, 0, 100, 20};
  const uint16_t format = DT_SINGLELINE | DT_RIGHT;
  MemDC base(100, 20);
  auto plain = Effect(tdNone, 1, 3);
  Draw(base, *plain, "Text", rect, format, {etEnabled});
  const RECT plain_box = InkBox(base);
  MemDC dc(100, 20);
  auto shadow = Effect(tdShadow, 1, 3);
  Draw(dc, *shadow, "Text", rect, format, {etEnabled});
  std::set<int> face_x, shadow_x;
  for (auto [x, y] : MaskOf(dc, kFace)) face_x.insert(x);
  for (auto [x, y] : MaskOf(dc, kShadow)) shadow_x.insert(x);
  ASSERT_FALSE(face_x.empty());
  ASSERT_FALSE(shadow_x.empty());
  EXPECT_EQ(*face_x.rbegin(), plain_box.right - 1 - 3);
  EXPECT_EQ(*shadow_x.rbegin(), plain_box.right - 1);
}

TEST_F(EffectText, DisabledTextIsGreyAndOptionallySunken) {
  const RECT rect{2, 2, 80, 20};
  const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
  MemDC base(80, 20);
  auto plain = Effect(tdNone, 1, 2);
  Draw(base, *plain, "Off", rect, DT_SINGLELINE, {etEnabled});
  const Mask glyphs = MaskOf(base, kFace);

  // Sunken when disabled, whatever the style: light one pixel down-right, grey on top.
  auto shadowed = Effect(tdRaisedShadow, 1, 2);
  MemDC sunken(80, 20);
  Draw(sunken, *shadowed, "Off", rect, DT_SINGLELINE, {etDisabled, etSunkenDisabled});
  EXPECT_EQ(MaskOf(sunken, grey), glyphs);
  EXPECT_TRUE(MaskOf(sunken, kShadow).empty());
  Mask light;
  for (auto [x, y] : glyphs) light.insert({x + 1, y + 1});
  for (auto p : MaskOf(sunken, kLight)) EXPECT_TRUE(light.count(p)) << p.first << "," << p.second;
  EXPECT_FALSE(MaskOf(sunken, kLight).empty());

  // Without that flag the style stays and only the face turns grey.
  MemDC grey_only(80, 20);
  Draw(grey_only, *shadowed, "Off", rect, DT_SINGLELINE, {etDisabled});
  Mask face;
  for (auto [x, y] : glyphs) face.insert({x + 1, y + 1});
  EXPECT_EQ(MaskOf(grey_only, grey), face);
  EXPECT_FALSE(MaskOf(grey_only, kShadow).empty());
}

TEST_F(EffectText, EmbossedFaceTakesTheBackgroundColour) {
  // On a background of the brush colour only the light and shadow copies show.
  auto effect = Effect(tdPColorRaised, 1, 1);
  MemDC dc(80, 20);
  Draw(dc, *effect, "Emboss", RECT{2, 2, 80, 20}, DT_SINGLELINE, {etEnabled}, kBrush);
  EXPECT_TRUE(MaskOf(dc, kFace).empty());
  EXPECT_FALSE(MaskOf(dc, kLight).empty());
  EXPECT_FALSE(MaskOf(dc, kShadow).empty());
}

TEST_F(EffectText, NothingForEmptyTextOrRectangleAndTheCanvasIsLeftAsFound) {
  auto effect = Effect(tdRaised, 1, 1);
  MemDC dc(60, 20);
  Draw(dc, *effect, "", RECT{0, 0, 60, 20}, 0, {etEnabled});
  EXPECT_EQ(InkBox(dc).right, -1);
  Draw(dc, *effect, "Some", RECT{10, 0, 10, 20}, 0, {etEnabled});
  EXPECT_EQ(InkBox(dc).right, -1);
  EXPECT_THROW(DrawEffectText(nullptr, "x", effect.get(), RECT{0, 0, 5, 5}, 0, {etEnabled}), host::Exception);

  // Clipping, tracing and the background mode are undone; a clip region of the caller's stays.
  dc.Fill(kWhite);
  HRGN own = CreateRectRgn(0, 0, 40, 20);
  SelectClipRgn(dc, own);
  DeleteObject(own);
  SetTextCharacterExtra(dc, 1);
  SetBkMode(dc, OPAQUE);
  {
    CanvasOn canvas(dc);
    canvas->Font()->SetColor(static_cast<TColor>(kFace));
    auto traced = Effect(tdNone, 1, 1);
    traced->SetTracing(3);
    const RECT clip{0, 0, 8, 20};
    DrawEffectText(canvas.get(), "WWWW", traced.get(), RECT{0, 0, 60, 20}, DT_SINGLELINE, {etEnabled, etClip}, &clip);
    EXPECT_EQ(canvas->Font()->Color(), static_cast<TColor>(kFace));
  }
  const RECT ink = InkBox(dc);
  EXPECT_LE(ink.right, 8);
  EXPECT_GE(ink.right, 6);
  EXPECT_EQ(GetTextCharacterExtra(dc), 1);
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  HRGN now = CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(GetClipRgn(dc, now), 1);
  RECT box{};
  GetRgnBox(now, &box);
  DeleteObject(now);
  EXPECT_EQ(box.right, 40);
  SelectClipRgn(dc, nullptr);
}

TEST_F(EffectText, TextIsCutTo255Characters) {
  std::string long_text(300, 'l');
  std::string cut(255, 'l');
  TZYR3DCaption effect;
  MemDC a(1400, 16), b(1400, 16);
  Draw(a, effect, long_text, RECT{0, 0, 1400, 16}, DT_SINGLELINE, {etEnabled});
  Draw(b, effect, cut, RECT{0, 0, 1400, 16}, DT_SINGLELINE, {etEnabled});
  EXPECT_EQ(MaskOf(a, kFace), MaskOf(b, kFace));
  EXPECT_LT(InkBox(a).right, 1300);
  host::TFont font;
  RECT ra{0, 0, 0, 0}, rb{0, 0, 0, 0};
  CalcEffectTextRect(long_text, &effect, ra, 0, false, false, &font);
  CalcEffectTextRect(cut, &effect, rb, 0, false, false, &font);
  EXPECT_EQ(ra.right, rb.right);
  // A character of several bytes is never split: 254 letters and a two-byte one are whole.
  std::string utf8 = std::string(254, 'l') + "\xC3\xA9" + "lll";
  RECT rc{0, 0, 0, 0}, rd{0, 0, 0, 0};
  CalcEffectTextRect(utf8, &effect, rc, 0, false, false, &font);
  CalcEffectTextRect(std::string(254, 'l') + "\xC3\xA9", &effect, rd, 0, false, false, &font);
  EXPECT_EQ(rc.right, rd.right);
}

TEST_F(EffectText, MeasuringGivesOneLineForNothingAndAddsDepthAndBorder) {
  host::TFont font;  // MS Sans Serif 8: lines of 13 pixels
  ASSERT_EQ(FontTextHeight(&font), 13);
  auto plain = std::make_unique<TZYR3DCaption>();
  RECT blank{0, 0, 0, 0};
  CalcEffectTextRect("", plain.get(), blank, 0, true, false, &font);
  EXPECT_EQ(blank.bottom, 13 + 2);
  EXPECT_GT(blank.right, 2);
  RECT amp{0, 0, 0, 0};
  CalcEffectTextRect("&", plain.get(), amp, 0, true, false, &font);
  EXPECT_EQ(amp.right, blank.right);
  EXPECT_EQ(amp.bottom, blank.bottom);
  RECT literal{0, 0, 0, 0};
  CalcEffectTextRect("&", plain.get(), literal, 0, false, false, &font);
  EXPECT_NE(literal.right, blank.right);

  auto deep = Effect(tdRaisedShadow, 2, 3);
  RECT word{5, 7, 5, 7};
  RECT plain_word{5, 7, 5, 7};
  CalcEffectTextRect("Word", plain.get(), plain_word, 0, false, false, &font);
  CalcEffectTextRect("Word", deep.get(), word, 4, false, false, &font);
  EXPECT_EQ(word.left, 5);
  EXPECT_EQ(word.top, 7);
  EXPECT_EQ(word.right, plain_word.right + 5 + 8);
  EXPECT_EQ(word.bottom, plain_word.bottom + 5 + 8);

  // The incoming width wraps words.
  RECT wrapped{0, 0, 40, 0};
  CalcEffectTextRect("one two three four", plain.get(), wrapped, 0, false, true, &font);
  EXPECT_GE(wrapped.bottom, 3 * 13 + 2);
}

TEST_F(EffectText, MeasuringUprightTextKeepsTheUsersPosition) {
  host::TFont font;
  TZYRFxCaption fx;
  fx.SetPosX(7);
  fx.SetPosY(9);
  int changes = 0;
  fx.OnChange = [&](host::TObject*) { ++changes; };
  RECT r{0, 0, 0, 0};
  CalcEffectTextRect("Fx", &fx, r, 0, false, false, &font);
  EXPECT_EQ(fx.PosX(), 7);
  EXPECT_EQ(fx.PosY(), 9);
  EXPECT_EQ(changes, 0);
}

TEST_F(EffectText, QuarterTurnBoxIsTallAndTheTextReadsUpwardsInIt) {
  host::TFont font;
  font.SetName("Arial");
  font.SetHeight(-20);
  ASSERT_TRUE(IsTrueTypeFont("Arial"));
  ASSERT_FALSE(IsTrueTypeFont("MS Sans Serif"));
  const std::string text = "Wiiiiiii";
  SIZE upright{};
  {
    MemDC probe(4, 4);
    CanvasOn canvas(probe);
    canvas->Font()->Assign(&font);
    upright = canvas->TextExtent(text);
  }
  TZYRFxCaption fx;
  fx.SetAngle(90);
  int changes = 0;
  fx.OnChange = [&](host::TObject*) { ++changes; };
  RECT box{0, 0, 0, 0};
  CalcEffectTextRect(text, &fx, box, 0, false, false, &font);
  EXPECT_NEAR(box.right - box.left, upright.cy + 2, 1);
  EXPECT_NEAR(box.bottom - box.top, upright.cx + 2, 1);
  EXPECT_NEAR(fx.PosX(), 0, 1);
  EXPECT_NEAR(fx.PosY(), upright.cx, 1);
  EXPECT_GE(changes, 1);

  MemDC dc(box.right, box.bottom);
  {
    CanvasOn canvas(dc);
    canvas->Font()->Assign(&font);
    canvas->Font()->SetColor(host::clBlack);
    DrawEffectText(canvas.get(), text, &fx, RECT{0, 0, box.right - 2, box.bottom - 2}, 0, {etEnabled});
    // The canvas's own font is upright again: later text runs left to right.
    MemDC after(200, 40);
    CanvasOn next(after);
    next->Font()->Assign(canvas->Font());
    LOGFONT lf{};
    GetObject(canvas->Font()->Handle(), sizeof lf, &lf);
    EXPECT_EQ(lf.lfEscapement, 0);
  }
  const RECT ink = InkBox(dc);
  ASSERT_GE(ink.right, ink.left);
  EXPECT_GE(ink.left, 0);
  EXPECT_GE(ink.top, 0);
  EXPECT_LE(ink.right, box.right);
  EXPECT_LE(ink.bottom, box.bottom);
  EXPECT_GT(ink.bottom - ink.top, 2 * (ink.right - ink.left));
  // The glyph tops face left; the dots of the "i"s are there.
  EXPECT_NE(dc.Px(ink.left + 1, ink.top + 1), kWhite);

  // Reading upwards, what comes first is at the bottom: a "W" followed by blanks.
  fx.SetAngle(90);
  RECT blank_box{0, 0, 0, 0};
  CalcEffectTextRect("W      ", &fx, blank_box, 0, false, false, &font);
  MemDC w(blank_box.right, blank_box.bottom);
  {
    CanvasOn canvas(w);
    canvas->Font()->Assign(&font);
    canvas->Font()->SetColor(host::clBlack);
    DrawEffectText(canvas.get(), "W      ", &fx, RECT{0, 0, blank_box.right - 2, blank_box.bottom - 2}, 0,
                   {etEnabled});
  }
  const RECT w_ink = InkBox(w);
  EXPECT_GT(w_ink.top, blank_box.bottom / 2);
  EXPECT_GE(w_ink.bottom, blank_box.bottom - 4);
}

TEST_F(EffectText, RotatedPositionsNeverWrapBelowZero) {
  // Rounding can put the computed start just outside the box; Word positions would wrap to
  // about 65535 there.
  host::TFont font;
  font.SetName("Arial");
  font.SetHeight(-13);
  for (int angle : {1, 45, 89, 90, 135, 180, 225, 270, 315, 359}) {
    for (const char* text : {"", "i", "Wide text"}) {
      TZYRFxCaption fx;
      fx.SetStyle(tdRaisedShadow);
      fx.SetLightDepth(255);
      fx.SetShadowDepth(255);
      fx.SetAngle(static_cast<TZYRAngle>(angle));
      fx.SetPos(500, 500);
      RECT box{0, 0, 0, 0};
      CalcEffectTextRect(text, &fx, box, 0, false, false, &font);
      EXPECT_LE(fx.PosX(), box.right) << angle << " " << text;
      EXPECT_LE(fx.PosY(), box.bottom) << angle << " " << text;
    }
  }
  // Two letters at 275 degrees: the centred start lies one pixel above the box.
  TZYRFxCaption steep;
  steep.SetAngle(275);
  steep.SetPos(500, 500);
  RECT box{0, 0, 0, 0};
  CalcEffectTextRect("ab", &steep, box, 0, false, false, &font);
  EXPECT_EQ(steep.PosY(), 0);
  EXPECT_GT(steep.PosX(), 0);
  EXPECT_LT(steep.PosX(), box.right);
}

TEST_F(EffectText, AlignmentPlacesTheMeasuredBoxInNinePositions) {
  host::TFont font;
  TZYRFxCaption fx;
  RECT measured{10, 20, 109, 80};
  CalcEffectTextRect("Hi", &fx, measured, 0, false, false, &font);
  const int w = measured.right - measured.left;
  const int h = measured.bottom - measured.top;
  const RECT area{10, 20, 110, 80};
  const int cx = 10 + (100 - w) / 2, rx = 110 - w;
  const int cy = 20 + (60 - h) / 2, by = 80 - h;
  const std::pair<int, int> where[9] = {{10, 20}, {cx, 20}, {rx, 20}, {10, cy}, {cx, cy},
                                        {rx, cy}, {10, by}, {cx, by}, {rx, by}};
  for (int a = 0; a < 9; ++a) {
    RECT r{};
    AlignFxTextRect(static_cast<TZYRAlignment>(a), "Hi", &fx, r, false, false, &font, area);
    EXPECT_EQ(r.left, where[a].first) << a;
    EXPECT_EQ(r.top, where[a].second) << a;
    EXPECT_EQ(r.right - r.left, w) << a;
    EXPECT_EQ(r.bottom - r.top, h) << a;
  }
}

TEST(Captions, DefaultsSettersAndAssign) {
  TZYRFxCaption fx;
  EXPECT_EQ(fx.LightDepth(), 1);
  EXPECT_EQ(fx.ShadowDepth(), 1);
  EXPECT_EQ(fx.LightColor(), host::clBtnHighlight);
  EXPECT_EQ(fx.ShadowColor(), host::clBtnShadow);
  EXPECT_EQ(fx.Style(), tdNone);
  EXPECT_EQ(fx.Tracing(), 0);
  EXPECT_EQ(fx.Angle(), 0);
  int changes = 0;
  fx.OnChange = [&](host::TObject*) { ++changes; };
  fx.SetAngle(360);
  EXPECT_EQ(fx.Angle(), 0);
  fx.SetAngle(90);
  fx.SetAngle(360);
  EXPECT_EQ(fx.Angle(), 0);
  EXPECT_EQ(changes, 2);
  fx.SetPos(3, 4);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(fx.PosX(), 3);
  EXPECT_EQ(fx.PosY(), 4);
  EXPECT_FALSE(fx.Updating());
  fx.SetPosIndex(1, 5);
  EXPECT_EQ(changes, 3);

  TZYRFxCaption source;
  source.SetLightDepth(2);
  source.SetShadowDepth(3);
  source.SetLightColor(host::clRed);
  source.SetShadowColor(host::clBlue);
  source.SetStyle(tdShadow);
  source.SetTracing(4);
  source.SetAngle(45);
  source.SetPos(6, 7);
  changes = 0;
  fx.Assign(&source);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(fx.LightDepth(), 2);
  EXPECT_EQ(fx.ShadowDepth(), 3);
  EXPECT_EQ(fx.LightColor(), host::clRed);
  EXPECT_EQ(fx.ShadowColor(), host::clBlue);
  EXPECT_EQ(fx.Style(), tdShadow);
  EXPECT_EQ(fx.Tracing(), 4);
  EXPECT_EQ(fx.Angle(), 45);
  EXPECT_EQ(fx.PosX(), 6);
  EXPECT_EQ(fx.PosY(), 7);
  // From a plain caption only its six properties come over.
  TZYR3DCaption plain;
  changes = 0;
  fx.Assign(&plain);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(fx.Style(), tdNone);
  EXPECT_EQ(fx.Angle(), 45);

  TZYRTransparent t;
  EXPECT_EQ(t.Color(), host::clBtnFace);
  EXPECT_EQ(t.Mode(), tpNone);
  TZYRTransparent other;
  other.SetColor(host::clFuchsia);
  other.SetMode(tpRBTranspColor);
  int t_changes = 0;
  t.OnChange = [&](host::TObject*) { ++t_changes; };
  t.Assign(&other);
  EXPECT_EQ(t_changes, 1);
  EXPECT_EQ(t.Color(), host::clFuchsia);
  EXPECT_EQ(t.Mode(), tpRBTranspColor);
  EXPECT_THROW(t.Assign(&plain), host::Exception);
}

// A small component that owns captions, as controls do.
class TCaptionHolder : public host::TComponent {
  HOST_CLASS(TCaptionHolder)
  explicit TCaptionHolder(host::TComponent* owner) : host::TComponent(owner) {}
  TZYR3DCaption* Font3D() const { return font3d_.get(); }
  void SetFont3D(TZYR3DCaption* value) { font3d_->Assign(value); }
  TZYRFxCaption* FontFx() const { return fontfx_.get(); }
  void SetFontFx(TZYRFxCaption* value) { fontfx_->Assign(value); }

 private:
  std::unique_ptr<TZYR3DCaption> font3d_ = std::make_unique<TZYR3DCaption>();
  std::unique_ptr<TZYRFxCaption> fontfx_ = std::make_unique<TZYRFxCaption>();
};
HOST_PUBLISHED(TCaptionHolder, host::TComponent) {
  HOST_PROP(Font3D);
  HOST_PROP(FontFx);
}

TEST(Captions, OldDepth3DIsReadIntoBothDepthsAndNeverWritten) {
  host::RegisterClasses({TCaptionHolder::StaticClass()});
  TCaptionHolder holder(nullptr);
  host::ReadComponentFromText(&holder,
                              "object Holder: TCaptionHolder\n"
                              "  Font3D.Depth3D = 2\n"
                              "  Font3D.Style = tdRaised\n"
                              "  FontFx.Depth3D = 4\n"
                              "  FontFx.Angle = 90\n"
                              "end\n",
                              "holder.form");
  EXPECT_EQ(holder.Font3D()->LightDepth(), 2);
  EXPECT_EQ(holder.Font3D()->ShadowDepth(), 2);
  EXPECT_EQ(holder.Font3D()->Style(), tdRaised);
  EXPECT_EQ(holder.FontFx()->LightDepth(), 4);
  EXPECT_EQ(holder.FontFx()->ShadowDepth(), 4);
  EXPECT_EQ(holder.FontFx()->Angle(), 90);
  const std::string written = host::WriteComponentToText(&holder);
  EXPECT_EQ(written.find("Depth3D"), std::string::npos) << written;
  EXPECT_NE(written.find("Font3D.LightDepth = 2"), std::string::npos) << written;
  EXPECT_NE(written.find("FontFx.ShadowDepth = 4"), std::string::npos) << written;

  struct Bad {
    const char* line;
    const char* message;
  } bad[] = {
      {"  Font3D.Depth3D = 300\n", "holder.form(2): Error reading Holder.Font3D.Depth3D: Depth3D: 300 is out of range (0..255)"},
      {"  Font3D.Depth3D = 'deep'\n", "holder.form(2): Error reading Holder.Font3D.Depth3D: Expected an integer"},
      {"  FontFx.Angle = 361\n", "holder.form(2): Error reading Holder.FontFx.Angle: 361 is out of range (0..360)"},
  };
  for (const Bad& b : bad) {
    TCaptionHolder fresh(nullptr);
    try {
      host::ReadComponentFromText(&fresh, std::string("object Holder: TCaptionHolder\n") + b.line + "end\n",
                                  "holder.form");
      ADD_FAILURE() << "read " << b.line;
    } catch (const host::EReadError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(b.message, 0), 0u) << e.what();
    }
  }
}

}  // namespace
}  // namespace zyr
