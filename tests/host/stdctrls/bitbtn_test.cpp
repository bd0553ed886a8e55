// Bitmap buttons on the headless desktop: the stock kinds, closing the form, where glyph and
// caption go for each layout, the disabled glyph, stored forms.
#include "host/stdctrls/bitbtn.h"

#include <gtest/gtest.h>

#include <string>

#include "host/classes/filer.h"
#include "host/graphics/bitmap.h"
#include "host/graphics/brush.h"
#include "support/app.h"

namespace host {
namespace {

using testing_app::AppTest;

constexpr COLORREF kFace = RGB(192, 192, 192);
constexpr COLORREF kShadow = RGB(128, 128, 128);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

class BitBtnTest : public AppTest {
 protected:
  TForm* NewForm(int w = 300, int h = 200) {
    auto* form = New<TForm>(Application());
    form->SetBorderStyle(bsNone);
    form->SetBounds(10, 10, w, h);
    return form;
  }
  static TBitBtn* Make(TForm* form, int x, int y, int w = 100, int h = 40) {
    auto* b = new TBitBtn(form);
    b->SetParent(form);
    b->SetBounds(x, y, w, h);
    return b;
  }
  static COLORREF Pixel(TControl* c, int x, int y) {
    const POINT p = At(c, x, y);
    return ScreenPixel(p.x, p.y);
  }
  static void Show(TForm* form) {
    form->Show();
    desktop::Pump();
  }
  // A 10x10 black square on olive (the transparent colour).
  static void Square(TBitmap& b) {
    b.SetSize(10, 10);
    b.Canvas()->Brush()->SetColor(clOlive);
    b.Canvas()->FillRect(RECT{0, 0, 10, 10});
    b.Canvas()->Brush()->SetColor(clBlack);
    b.Canvas()->FillRect(RECT{2, 2, 8, 8});
  }
  static int DarkPixels(TControl* c, const RECT& r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) n += Pixel(c, x, y) == kBlack;
    }
    return n;
  }
};

TEST_F(BitBtnTest, KindsSetCaptionModalResultDefaultCancelAndAGlyph) {
  TForm* form = NewForm();
  struct Case {
    TBitBtnKind kind;
    const char* caption;
    TModalResult result;
    bool is_default, is_cancel;
  };
  const Case cases[] = {
      {bkOK, "OK", mrOk, true, false},           {bkCancel, "Cancel", mrCancel, false, true},
      {bkHelp, "&Help", mrNone, false, false},   {bkYes, "&Yes", mrYes, false, false},
      {bkNo, "&No", mrNo, false, false},         {bkClose, "&Close", mrNone, false, false},
      {bkAbort, "Abort", mrAbort, false, false}, {bkRetry, "&Retry", mrRetry, false, false},
      {bkIgnore, "&Ignore", mrIgnore, false, false}, {bkAll, "&All", mrAll, false, false},
  };
  for (const Case& c : cases) {
    TBitBtn* b = Make(form, 0, 0);
    b->SetKind(c.kind);
    SCOPED_TRACE(c.caption);
    EXPECT_EQ(b->Kind(), c.kind);
    EXPECT_EQ(b->Caption(), c.caption);
    EXPECT_EQ(b->ModalResult(), c.result);
    EXPECT_EQ(b->Default(), c.is_default);
    EXPECT_EQ(b->Cancel(), c.is_cancel);
    EXPECT_EQ(b->Glyph()->Width(), 18);
    EXPECT_EQ(b->Glyph()->Height(), 18);
  }
  // Changing what the kind gave makes the button custom; custom keeps what it has.
  TBitBtn* b = Make(form, 0, 0);
  b->SetKind(bkYes);
  b->SetCaption("&Sure");
  EXPECT_EQ(b->Kind(), bkCustom);
  b->SetKind(bkNo);
  b->SetModalResult(mrOk);
  EXPECT_EQ(b->Kind(), bkCustom);
  b->SetKind(bkNo);
  TBitmap own;
  Square(own);
  b->SetGlyph(&own);
  EXPECT_EQ(b->Kind(), bkCustom);
  b->SetKind(bkCustom);
  EXPECT_EQ(b->Caption(), "&No");
  EXPECT_EQ(b->Glyph()->Width(), 10);

  try {
    b->SetName("Btn");
    b->SetNumGlyphs(0);
    ADD_FAILURE() << "NumGlyphs 0 was taken";
  } catch (const EInvalidOperation& e) {
    EXPECT_STREQ(e.what(), "Btn.NumGlyphs must be 1 to 4, not 0");
  }
}

TEST_F(BitBtnTest, CloseKindClosesItsFormAndOkGivesTheModalResult) {
  TForm* form = NewForm();
  TBitBtn* ok = Make(form, 10, 10);
  ok->SetKind(bkOK);
  TBitBtn* close = Make(form, 10, 60);
  close->SetKind(bkClose);
  int clicks = 0;
  close->OnClick = [&](TObject*) { ++clicks; };
  Show(form);
  ASSERT_TRUE(form->Visible());
  const POINT o = At(ok, 20, 20);
  desktop::Click(o.x, o.y);
  desktop::Pump();
  EXPECT_EQ(form->ModalResult(), mrOk);
  form->SetModalResult(mrNone);
  EXPECT_TRUE(form->Visible());
  const POINT c = At(close, 20, 20);
  desktop::Click(c.x, c.y);
  desktop::Pump();
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(form->Visible());
}

TEST_F(BitBtnTest, GlyphAndCaptionPlacedForEachLayout) {
  TForm* form = NewForm(400, 300);
  TBitmap square;
  Square(square);
  struct Case {
    TButtonLayout layout;
    int margin, spacing;
  };
  const Case cases[] = {{blGlyphLeft, -1, 4}, {blGlyphRight, -1, 4}, {blGlyphTop, -1, 4},
                        {blGlyphBottom, -1, 4}, {blGlyphLeft, 6, 4}, {blGlyphRight, 6, -1}};
  std::vector<TBitBtn*> buttons;
  int y = 0;
  for (const Case& c : cases) {
    TBitBtn* b = Make(form, 10, y, 120, 46);
    y += 48;
    b->SetCaption("Go");
    b->SetGlyph(&square);
    b->SetLayout(c.layout);
    b->SetMargin(c.margin);
    b->SetSpacing(c.spacing);
    buttons.push_back(b);
  }
  Show(form);
  for (size_t i = 0; i < buttons.size(); ++i) {
    TBitBtn* b = buttons[i];
    const Case& c = cases[i];
    SCOPED_TRACE(i);
    POINT g{};
    RECT t{};
    b->ContentPlace(g, t);
    const int tw = t.right - t.left;
    const int th = t.bottom - t.top;
    ASSERT_GT(tw, 0);
    ASSERT_GT(th, 0);
    switch (c.layout) {
      case blGlyphLeft:
        EXPECT_EQ(g.x, c.margin == -1 ? (120 - 10 - 4 - tw) / 2 : c.margin);
        EXPECT_EQ(t.left, g.x + 10 + 4);
        EXPECT_EQ(g.y, (46 - 10) / 2);
        break;
      case blGlyphRight:
        if (c.spacing == -1) {
          EXPECT_EQ(g.x, 120 - 6 - 10);
          EXPECT_EQ(t.right, g.x - (120 - 6 - 10 - tw) / 2);
        } else {
          EXPECT_EQ(t.right + 4, g.x);
          EXPECT_EQ(t.left, (120 - 10 - 4 - tw) / 2);
        }
        break;
      case blGlyphTop:
        EXPECT_EQ(g.y, (46 - 10 - 4 - th) / 2);
        EXPECT_EQ(t.top, g.y + 14);
        EXPECT_EQ(g.x, (120 - 10) / 2);
        break;
      case blGlyphBottom:
        EXPECT_EQ(t.bottom + 4, g.y);
        EXPECT_EQ(46 - g.y - 10, (46 - 10 - 4 - th) / 2);
        break;
    }
    // The square's black middle at its place, the olive border left out, text in its box.
    EXPECT_EQ(Pixel(b, g.x + 2, g.y + 2), kBlack);
    EXPECT_EQ(Pixel(b, g.x + 7, g.y + 7), kBlack);
    EXPECT_EQ(Pixel(b, g.x + 1, g.y + 1), kFace);
    EXPECT_EQ(Pixel(b, g.x + 8, g.y + 8), kFace);
    EXPECT_GT(DarkPixels(b, t), 5);
  }
}

TEST_F(BitBtnTest, DisabledGlyphIsEmbossedAndPushedContentShifts) {
  TForm* form = NewForm();
  TBitBtn* b = Make(form, 10, 10, 60, 40);
  TBitmap square;
  Square(square);
  b->SetGlyph(&square);
  Show(form);
  POINT g{};
  RECT t{};
  b->ContentPlace(g, t);
  EXPECT_EQ(g.x, 25);
  EXPECT_EQ(g.y, 15);
  EXPECT_EQ(Pixel(b, g.x + 7, g.y + 7), kBlack);
  EXPECT_EQ(Pixel(b, g.x + 8, g.y + 8), kFace);

  const POINT in = At(b, 5, 5);
  desktop::MouseDown(in.x, in.y);
  desktop::Pump();
  EXPECT_EQ(Pixel(b, g.x + 8, g.y + 8), kBlack);
  EXPECT_EQ(Pixel(b, g.x + 2, g.y + 2), kFace);
  desktop::MouseUp(in.x, in.y);
  desktop::Pump();

  b->SetEnabled(false);
  desktop::Pump();
  EXPECT_EQ(Pixel(b, g.x + 2, g.y + 2), kShadow);
  EXPECT_EQ(Pixel(b, g.x + 8, g.y + 8), kWhite);
  EXPECT_EQ(Pixel(b, g.x + 1, g.y + 1), kFace);

  // A stock glyph goes grey too: no green is left.
  b->SetKind(bkOK);
  desktop::Pump();
  b->ContentPlace(g, t);
  int green = 0, shadow = 0;
  for (int y = 0; y < 18; ++y) {
    for (int x = 0; x < 18; ++x) {
      const COLORREF p = Pixel(b, g.x + x, g.y + y);
      green += p == RGB(0, 128, 0);
      shadow += p == kShadow;
    }
  }
  EXPECT_EQ(green, 0);
  EXPECT_GT(shadow, 20);
}

TEST_F(BitBtnTest, OldStyleHasACutCornerOutlineAndADoubleBevel) {
  TForm* form = NewForm();
  TBitBtn* b = Make(form, 10, 10, 80, 30);
  b->SetStyle(bsWin31);
  b->SetCaption("Old");
  b->SetTabStop(false);  // unfocused: no default frame
  Show(form);
  EXPECT_EQ(Pixel(b, 0, 0), kFace);  // the form's face shows through the corner
  EXPECT_EQ(Pixel(b, 1, 0), kBlack);
  EXPECT_EQ(Pixel(b, 0, 1), kBlack);
  EXPECT_EQ(Pixel(b, 1, 1), kWhite);
  EXPECT_EQ(Pixel(b, 2, 2), kWhite);
  EXPECT_EQ(Pixel(b, 78, 28), kShadow);
  EXPECT_EQ(Pixel(b, 77, 27), kShadow);
  EXPECT_EQ(Pixel(b, 79, 29), kFace);
}

TEST_F(BitBtnTest, StoredFormsKeepTheKindAloneOrTheCustomParts) {
  RegisterBitBtn();
  TForm* form = NewForm();
  ReadComponentFromText(form,
                        "object Form1: TForm\n"
                        "  object BitBtn1: TBitBtn\n"
                        "    Left = 4\n    Top = 4\n    Kind = bkCancel\n    Layout = blGlyphTop\n"
                        "  end\n"
                        "  object BitBtn2: TBitBtn\n"
                        "    Left = 4\n    Top = 40\n    Caption = 'Go on'\n    ModalResult = 6\n"
                        "    Style = bsWin31\n"
                        "  end\n"
                        "end\n",
                        "bitbtn.form");
  auto* b1 = dynamic_cast<TBitBtn*>(form->FindComponent("BitBtn1"));
  auto* b2 = dynamic_cast<TBitBtn*>(form->FindComponent("BitBtn2"));
  ASSERT_TRUE(b1 && b2);
  EXPECT_EQ(b1->Kind(), bkCancel);
  EXPECT_EQ(b1->Caption(), "Cancel");
  EXPECT_EQ(b1->Layout(), blGlyphTop);
  EXPECT_FALSE(b1->Cancel());  // the form says nothing of Cancel: not set while reading
  EXPECT_EQ(b2->Kind(), bkCustom);
  EXPECT_EQ(b2->ModalResult(), mrYes);
  EXPECT_EQ(b2->Style(), bsWin31);
  const std::string text = WriteComponentToText(form);
  EXPECT_NE(text.find("Kind = bkCancel"), std::string::npos) << text;
  EXPECT_EQ(text.find("'Cancel'"), std::string::npos) << text;
  EXPECT_NE(text.find("'Go on'"), std::string::npos) << text;
  EXPECT_NE(text.find("Style = bsWin31"), std::string::npos) << text;
  EXPECT_EQ(text.find("Glyph."), std::string::npos) << text;
}

}  // namespace
}  // namespace host
