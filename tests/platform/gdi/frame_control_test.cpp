// DrawFrameControl: push buttons, check boxes, radio buttons, caption buttons, scroll arrows,
// the size grip and menu marks; plus a sheet of every control written out for looking at.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "support/memdc.h"

using testsupport::MemDC;

namespace {

const std::map<char, COLORREF> kLegend = {
    {'w', RGB(255, 255, 255)},  // BTNHIGHLIGHT, WINDOW
    {'l', RGB(223, 223, 223)},  // 3DLIGHT
    {'f', RGB(192, 192, 192)},  // BTNFACE
    {'s', RGB(128, 128, 128)},  // BTNSHADOW
    {'k', RGB(0, 0, 0)},        // 3DDKSHADOW, text
    {'r', RGB(255, 0, 0)},      // untouched background
};

BOOL Draw(MemDC& dc, RECT rc, UINT type, UINT state) {
  dc.Fill(RGB(255, 0, 0));
  return DrawFrameControl(dc, &rc, type, state);
}

// Count and first column of the pixels of colour c on each row [y0, y1), frame columns left out.
std::vector<std::pair<int, int>> Rows(const MemDC& dc, COLORREF c, int y0, int y1) {
  std::vector<std::pair<int, int>> out;
  for (int y = y0; y < y1; ++y) {
    int first = -1, n = 0;
    for (int x = 2; x < dc.width() - 2; ++x)
      if (dc.Px(x, y) == c) {
        if (first < 0) first = x;
        ++n;
      }
    out.push_back({n, first});
  }
  return out;
}

}  // namespace

TEST(FrameControl, PushButtonRaisedPushedFlatAndLatched) {
  MemDC dc(6, 6);
  EXPECT_TRUE(Draw(dc, {0, 0, 6, 5}, DFC_BUTTON, DFCS_BUTTONPUSH));
  EXPECT_PICTURE(dc, 0, 0, {"wwwwwk", "wlllsk", "wlffsk", "wssssk", "kkkkkk"}, kLegend);
  Draw(dc, {0, 0, 6, 5}, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
  EXPECT_PICTURE(dc, 0, 0, {"kkkkkw", "kssslw", "ksfflw", "kllllw", "wwwwww"}, kLegend);
  Draw(dc, {0, 0, 6, 5}, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_FLAT);
  EXPECT_PICTURE(dc, 0, 0, {"ssssss", "sffffs", "sffffs", "sffffs", "ssssss"}, kLegend);
  // Latched: sunken, the face a highlight/face checkerboard anchored at the brush origin.
  Draw(dc, {0, 0, 6, 6}, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_CHECKED);
  EXPECT_PICTURE(dc, 0, 0, {"kkkkkw", "kssslw", "kswflw", "ksfwlw", "kllllw", "wwwwww"}, kLegend);
  SetBrushOrgEx(dc, 1, 0, nullptr);
  Draw(dc, {0, 0, 6, 6}, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_CHECKED);
  EXPECT_PICTURE(dc, 2, 2, {"fw", "wf"}, kLegend);
  // Transparent keeps the middle; ADJUSTRECT hands back the face.
  RECT rc{0, 0, 6, 6};
  dc.Fill(RGB(255, 0, 0));
  EXPECT_TRUE(DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_TRANSPARENT | DFCS_ADJUSTRECT));
  EXPECT_EQ(dc.Px(2, 2), RGB(255, 0, 0));
  EXPECT_EQ(rc.left, 2);
  EXPECT_EQ(rc.bottom, 4);
}

TEST(FrameControl, CheckedCheckBoxIsTheClassicThirteenPixelCell) {
  MemDC dc(13, 13);
  EXPECT_TRUE(Draw(dc, {0, 0, 13, 13}, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED));
  EXPECT_PICTURE(dc, 0, 0,
                 {"ssssssssssssw",
                  "skkkkkkkkkklw",
                  "skwwwwwwwwwlw",
                  "skwwwwwwwkwlw",
                  "skwwwwwwkkwlw",
                  "skwkwwwkkkwlw",
                  "skwkkwkkkwwlw",
                  "skwkkkkkwwwlw",
                  "skwwkkkwwwwlw",
                  "skwwwkwwwwwlw",
                  "skwwwwwwwwwlw",
                  "slllllllllllw",
                  "wwwwwwwwwwwww"},
                 kLegend);
}

TEST(FrameControl, CheckBoxStatesAndCentredSquare) {
  MemDC dc(17, 13);
  // Inactive: face inside, grey mark.
  Draw(dc, {0, 0, 13, 13}, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE);
  EXPECT_PICTURE(dc, 2, 2, {"fffffffff", "fffffffsf", "ffffffssf"}, kLegend);
  // Three-state checked: checkerboard inside, grey mark.
  Draw(dc, {0, 0, 13, 13}, DFC_BUTTON, DFCS_BUTTON3STATE | DFCS_CHECKED);
  EXPECT_PICTURE(dc, 2, 2, {"wfwfwfwfw", "fwfwfwfsf"}, kLegend);
  // Flat: a shadow outline and a face ring.
  Draw(dc, {0, 0, 13, 13}, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT);
  EXPECT_PICTURE(dc, 0, 0, {"sssssssssssss", "sfffffffffffs", "sfwwwwwwwwwfs"}, kLegend);
  // A wide rectangle gets its square in the middle.
  Draw(dc, {0, 0, 17, 13}, DFC_BUTTON, DFCS_BUTTONCHECK);
  EXPECT_PICTURE(dc, 0, 0, {"rr" + std::string(12, 's') + "wrr"}, kLegend);
}

TEST(FrameControl, RadioButtonIsARoundSymmetricCell) {
  MemDC dc(13, 13);
  EXPECT_TRUE(Draw(dc, {0, 0, 13, 13}, DFC_BUTTON, DFCS_BUTTONRADIO));
  EXPECT_PICTURE(dc, 0, 0,
                 {"rrrrssssrrrrr",
                  "rrsskkkkssrrr",
                  "rskkwwwwkkwrr",
                  "rskwwwwwwlwrr",
                  "skwwwwwwwwlwr",
                  "skwwwwwwwwlwr",
                  "skwwwwwwwwlwr",
                  "skwwwwwwwwlwr",
                  "rskwwwwwwlwrr",
                  "rsklwwwwllwrr",
                  "rrwwllllwwrrr",
                  "rrrrwwwwrrrrr",
                  "rrrrrrrrrrrrr"},
                 kLegend);
  // The shape mirrors both ways; the colours mirror across the falling diagonal.
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) {
      const bool painted = dc.Px(x, y) != RGB(255, 0, 0);
      EXPECT_EQ(painted, dc.Px(11 - x, y) != RGB(255, 0, 0)) << x << "," << y;
      EXPECT_EQ(painted, dc.Px(x, 11 - y) != RGB(255, 0, 0)) << x << "," << y;
      EXPECT_EQ(dc.Px(x, y), dc.Px(y, x)) << x << "," << y;
    }
  Draw(dc, {0, 0, 13, 13}, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
  EXPECT_PICTURE(dc, 3, 3, {"wwwwww", "wwkkww", "wkkkkw", "wkkkkw", "wwkkww", "wwwwww"}, kLegend);
  Draw(dc, {0, 0, 13, 13}, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED | DFCS_INACTIVE);
  EXPECT_PICTURE(dc, 3, 3, {"ffffff", "ffssff", "fssssf"}, kLegend);
  // Mask: black disc on white; image: the button on black.
  Draw(dc, {0, 0, 13, 13}, DFC_BUTTON, DFCS_BUTTONRADIOMASK);
  EXPECT_PICTURE(dc, 0, 0, {"....#", "..###", ".####", ".####", "#####"});
  EXPECT_EQ(dc.Px(12, 12), RGB(255, 255, 255));
  Draw(dc, {0, 0, 13, 13}, DFC_BUTTON, DFCS_BUTTONRADIOIMAGE);
  EXPECT_PICTURE(dc, 0, 0, {"kkkks", "kkssk", "kskkw"}, kLegend);
  EXPECT_EQ(dc.Px(12, 12), RGB(0, 0, 0));
}

TEST(FrameControl, DownScrollArrowRowsOfSixteenPixelButton) {
  MemDC dc(16, 16);
  EXPECT_TRUE(Draw(dc, {0, 0, 16, 16}, DFC_SCROLL, DFCS_SCROLLDOWN));
  // Hard raised frame (not soft) and the arrow: widths 7, 5, 3, 1 on rows 6-9 from x 4.
  EXPECT_EQ(dc.Px(0, 0), RGB(223, 223, 223));
  EXPECT_EQ(dc.Px(1, 1), RGB(255, 255, 255));
  EXPECT_EQ(dc.Px(15, 15), RGB(0, 0, 0));
  const std::vector<std::pair<int, int>> down = {{0, -1}, {7, 4}, {5, 5}, {3, 6}, {1, 7}, {0, -1}};
  EXPECT_EQ(Rows(dc, RGB(0, 0, 0), 5, 11), down);
  // The combo box button is the same arrow.
  Draw(dc, {0, 0, 16, 16}, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
  EXPECT_EQ(Rows(dc, RGB(0, 0, 0), 5, 11), down);
  // Pressed the scroll-bar way: flat frame, arrow one pixel down and right.
  Draw(dc, {0, 0, 16, 16}, DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_PUSHED | DFCS_FLAT);
  EXPECT_EQ(dc.Px(0, 0), RGB(128, 128, 128));
  EXPECT_EQ(dc.Px(15, 15), RGB(128, 128, 128));
  EXPECT_EQ(Rows(dc, RGB(0, 0, 0), 6, 12), (std::vector<std::pair<int, int>>{{0, -1}, {7, 5}, {5, 6}, {3, 7}, {1, 8}, {0, -1}}));
  // Up mirrors it; left and right turn it.
  Draw(dc, {0, 0, 16, 16}, DFC_SCROLL, DFCS_SCROLLUP);
  EXPECT_EQ(Rows(dc, RGB(0, 0, 0), 4, 10), (std::vector<std::pair<int, int>>{{0, -1}, {1, 7}, {3, 6}, {5, 5}, {7, 4}, {0, -1}}));
  Draw(dc, {0, 0, 16, 16}, DFC_SCROLL, DFCS_SCROLLRIGHT);
  EXPECT_PICTURE(dc, 5, 4, {"fkfff", "fkkff", "fkkkf", "fkkkk", "fkkkf", "fkkff", "fkfff"}, kLegend);
  Draw(dc, {0, 0, 16, 16}, DFC_SCROLL, DFCS_SCROLLLEFT);
  EXPECT_PICTURE(dc, 4, 4, {"ffffk", "fffkk", "ffkkk", "fkkkk", "ffkkk", "fffkk", "ffffk"}, kLegend);
  // Inactive: an embossed arrow.
  Draw(dc, {0, 0, 16, 16}, DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_INACTIVE);
  EXPECT_PICTURE(dc, 4, 6, {"sssssssf", "fsssssww", "ffssswwf", "fffswwff", "ffffwfff"}, kLegend);
}

TEST(FrameControl, SizeGripStripesAndMirror) {
  MemDC dc(16, 16);
  EXPECT_TRUE(Draw(dc, {0, 0, 16, 16}, DFC_SCROLL, DFCS_SCROLLSIZEGRIP));
  EXPECT_PICTURE(dc, 0, 15, {"ffffwssfwssfwssf"}, kLegend);
  EXPECT_PICTURE(dc, 0, 12, {"fffffffwssfwssfw"}, kLegend);
  EXPECT_PICTURE(dc, 0, 0, {"ffffffffffffffff"}, kLegend);
  Draw(dc, {0, 0, 16, 16}, DFC_SCROLL, DFCS_SCROLLSIZEGRIPRIGHT);
  EXPECT_PICTURE(dc, 0, 15, {"fsswfsswfsswffff"}, kLegend);
}

TEST(FrameControl, CaptionCloseGlyphIsASymmetricCrossInsideTheFace) {
  MemDC dc(16, 14);
  EXPECT_TRUE(Draw(dc, {0, 0, 16, 14}, DFC_CAPTION, DFCS_CAPTIONCLOSE));
  EXPECT_PICTURE(dc, 0, 0,
                 {"wwwwwwwwwwwwwwwk",
                  "wlllllllllllllsk",
                  "wlffffffffffffsk",
                  "wlffkkffffkkffsk",
                  "wlfffkkffkkfffsk",
                  "wlffffkkkkffffsk",
                  "wlfffffkkfffffsk",
                  "wlffffkkkkffffsk",
                  "wlfffkkffkkfffsk",
                  "wlffkkffffkkffsk",
                  "wlffffffffffffsk",
                  "wlffffffffffffsk",
                  "w" + std::string(14, 's') + "k",
                  "kkkkkkkkkkkkkkkk"},
                 kLegend);
  // Pressed: sunken and the glyph one pixel down and right.
  Draw(dc, {0, 0, 16, 14}, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_PUSHED);
  EXPECT_PICTURE(dc, 4, 3, {"ffffffff", "fkkffffk"}, kLegend);
  // Inactive: shadow glyph over a highlight copy one pixel down and right.
  Draw(dc, {0, 0, 16, 14}, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_INACTIVE);
  EXPECT_PICTURE(dc, 4, 3, {"ssffffss", "fssffssw", "ffssssww"}, kLegend);
}

TEST(FrameControl, OtherCaptionGlyphsAtStandardAndOtherSizes) {
  MemDC dc(26, 26);
  Draw(dc, {0, 0, 16, 14}, DFC_CAPTION, DFCS_CAPTIONMAX);
  EXPECT_PICTURE(dc, 2, 2,
                 {"fkkkkkkkkkff", "fkkkkkkkkkff", "fkfffffffkff", "fkfffffffkff", "fkfffffffkff", "fkfffffffkff",
                  "fkfffffffkff", "fkfffffffkff", "fkkkkkkkkkff", "ffffffffffff"},
                 kLegend);
  Draw(dc, {0, 0, 16, 14}, DFC_CAPTION, DFCS_CAPTIONMIN);
  EXPECT_PICTURE(dc, 2, 8, {"ffffffffffff", "ffkkkkkkffff", "ffkkkkkkffff", "ffffffffffff"}, kLegend);
  Draw(dc, {0, 0, 16, 14}, DFC_CAPTION, DFCS_CAPTIONRESTORE);
  EXPECT_PICTURE(dc, 3, 2,
                 {"..kkkkkk.", "..kkkkkk.", "..kffffk.", "kkkkkkfk.", "kkkkkkfk.", "kffffkkk.", "kffffk...",
                  "kffffk...", "kkkkkk..."},
                 {{'k', RGB(0, 0, 0)}, {'f', RGB(192, 192, 192)}, {'.', RGB(192, 192, 192)}});
  Draw(dc, {0, 0, 16, 14}, DFC_CAPTION, DFCS_CAPTIONHELP);
  EXPECT_PICTURE(dc, 5, 2, {"fkkkkf", "kkffkk", "ffffkk", "fffkkf", "ffkkff", "ffkkff", "ffffff", "ffkkff", "ffkkff"},
                 kLegend);
  // Every glyph at every size stays on the face and keeps its left-right balance.
  for (int size : {11, 14, 16, 18, 22, 26}) {
    for (UINT glyph : {DFCS_CAPTIONCLOSE, DFCS_CAPTIONMIN, DFCS_CAPTIONMAX, DFCS_CAPTIONRESTORE, DFCS_CAPTIONHELP}) {
      Draw(dc, {0, 0, size, size}, DFC_CAPTION, glyph);
      int black = 0, minx = size, maxx = -1;
      for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
          if (dc.Px(x, y) == RGB(0, 0, 0) && x < size - 1 && y < size - 1) {
            EXPECT_TRUE(x >= 2 && y >= 2 && x < size - 2 && y < size - 2) << size << " glyph " << glyph;
            ++black;
            minx = std::min(minx, x);
            maxx = std::max(maxx, x);
          }
      EXPECT_GT(black, 0) << size << " glyph " << glyph;
      if (glyph != DFCS_CAPTIONMIN) {
        EXPECT_LE(std::abs((minx + maxx + 1) - size), 2) << size << " glyph " << glyph;
      }
    }
  }
}

TEST(FrameControl, MenuMarksAreBlackOnWhiteMasks) {
  MemDC dc(13, 13);
  SetTextColor(dc, RGB(0, 0, 255));  // the DC's colours play no part
  EXPECT_TRUE(Draw(dc, {0, 0, 13, 13}, DFC_MENU, DFCS_MENUARROW));
  EXPECT_PICTURE(dc, 0, 3,
                 {".............", ".....#.......", ".....##......", ".....###.....", ".....####....", ".....###.....",
                  ".....##......", ".....#.......", "............."});
  Draw(dc, {0, 0, 13, 13}, DFC_MENU, DFCS_MENUARROWRIGHT);
  EXPECT_PICTURE(dc, 4, 7, {"####"});
  EXPECT_EQ(dc.Px(7, 4), RGB(0, 0, 0));
  Draw(dc, {0, 0, 13, 13}, DFC_MENU, DFCS_MENUCHECK);
  EXPECT_PICTURE(dc, 0, 2,
                 {".............", ".........#...", "........##...", "...#...###...", "...##.###....", "...#####.....",
                  "....###......", ".....#.......", "............."});
  Draw(dc, {0, 0, 13, 13}, DFC_MENU, DFCS_MENUBULLET);
  EXPECT_PICTURE(dc, 3, 3, {".......", "..###..", ".#####.", ".#####.", ".#####.", "..###..", "......."});
  // Transparent leaves the background.
  Draw(dc, {0, 0, 13, 13}, DFC_MENU, DFCS_MENUBULLET | DFCS_TRANSPARENT);
  EXPECT_EQ(dc.Px(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(dc.Px(6, 6), RGB(0, 0, 0));
  EXPECT_TRUE(Draw(dc, {0, 0, 13, 13}, DFC_POPUPMENU, DFCS_MENUCHECK));
}

TEST(FrameControl, OriginsClipAndBadArguments) {
  MemDC dc(20, 20);
  dc.Fill(RGB(255, 0, 0));
  SetViewportOrgEx(dc, 5, 4, nullptr);
  IntersectClipRect(dc, 0, 0, 8, 20);  // logical x < 8
  RECT rc{0, 0, 13, 13};
  EXPECT_TRUE(DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED));
  EXPECT_EQ(dc.Px(5, 4), RGB(128, 128, 128));
  EXPECT_EQ(dc.Px(4, 4), RGB(255, 0, 0));
  EXPECT_EQ(dc.Px(5 + 3, 4 + 5), RGB(0, 0, 0));  // the first column of the mark
  EXPECT_EQ(dc.Px(5 + 8, 4 + 4), RGB(255, 0, 0));  // clipped
  SetROP2(dc, R2_NOT);                           // frame controls paint, whatever the mode
  SetViewportOrgEx(dc, 0, 0, nullptr);
  RECT grip{-8, -8, 8, 8};
  EXPECT_TRUE(DrawFrameControl(dc, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP));
  EXPECT_EQ(dc.Px(7, 7), RGB(192, 192, 192));
  EXPECT_EQ(dc.Px(6, 7), RGB(128, 128, 128));

  SetLastError(0);
  EXPECT_FALSE(DrawFrameControl(dc, &rc, 9, 0));
  EXPECT_FALSE(DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_BUTTON3STATE));
  EXPECT_FALSE(DrawFrameControl(dc, &rc, DFC_CAPTION, 7));
  EXPECT_FALSE(DrawFrameControl(dc, &rc, DFC_SCROLL, 4));
  EXPECT_FALSE(DrawFrameControl(dc, &rc, DFC_MENU, 3));
  EXPECT_FALSE(DrawFrameControl(dc, nullptr, DFC_BUTTON, DFCS_BUTTONPUSH));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(DrawFrameControl(reinterpret_cast<HDC>(0x4321), &rc, DFC_BUTTON, DFCS_BUTTONPUSH));
  // Empty, inverted and enormous rectangles draw what fits and never crash.
  for (RECT odd : {RECT{3, 3, 3, 3}, RECT{9, 9, 2, 2}, RECT{-2000000000, -5, 2000000000, 30}, RECT{0, 0, 1, 1}})
    for (UINT type : {DFC_BUTTON, DFC_CAPTION, DFC_SCROLL, DFC_MENU})
      for (UINT state : {0u, 1u, 2u, 4u, 8u, 16u, 0x4600u})
        DrawFrameControl(dc, &odd, type, state);
}

// Every frame control in every state on one sheet, written at 1:1 and 4:1 for looking at.
TEST(FrameControl, SheetOfEveryControlForLooking) {
  struct Item {
    UINT type, state;
    int w, h;
  };
  const UINT states[] = {0, DFCS_PUSHED, DFCS_CHECKED, DFCS_INACTIVE, DFCS_CHECKED | DFCS_INACTIVE, DFCS_FLAT,
                         DFCS_MONO, DFCS_CHECKED | DFCS_PUSHED};
  std::vector<std::vector<Item>> rows;
  rows.push_back({});
  for (UINT s : states) rows.back().push_back({DFC_BUTTON, DFCS_BUTTONPUSH | s, 30, 18});
  for (UINT kind : {DFCS_BUTTONCHECK, DFCS_BUTTON3STATE, DFCS_BUTTONRADIO}) {
    rows.push_back({});
    for (UINT s : states) rows.back().push_back({DFC_BUTTON, kind | s, 13, 13});
  }
  for (UINT glyph : {DFCS_CAPTIONCLOSE, DFCS_CAPTIONMIN, DFCS_CAPTIONMAX, DFCS_CAPTIONRESTORE, DFCS_CAPTIONHELP}) {
    rows.push_back({});
    for (UINT s : {0u, DFCS_PUSHED, DFCS_INACTIVE}) rows.back().push_back({DFC_CAPTION, glyph | s, 16, 14});
    rows.back().push_back({DFC_CAPTION, glyph, 11, 11});  // tool window
    rows.back().push_back({DFC_CAPTION, glyph, 24, 22});
    rows.back().push_back({DFC_CAPTION, glyph | DFCS_PUSHED, 24, 22});
  }
  for (UINT arrow : {DFCS_SCROLLUP, DFCS_SCROLLDOWN, DFCS_SCROLLLEFT, DFCS_SCROLLRIGHT, DFCS_SCROLLCOMBOBOX}) {
    rows.push_back({});
    for (UINT s : {0u, DFCS_PUSHED | DFCS_FLAT, DFCS_PUSHED, DFCS_INACTIVE}) rows.back().push_back({DFC_SCROLL, arrow | s, 16, 16});
    rows.back().push_back({DFC_SCROLL, arrow, 12, 12});
    rows.back().push_back({DFC_SCROLL, arrow, 24, 24});
  }
  rows.push_back({{DFC_SCROLL, DFCS_SCROLLSIZEGRIP, 16, 16},
                  {DFC_SCROLL, DFCS_SCROLLSIZEGRIPRIGHT, 16, 16},
                  {DFC_SCROLL, DFCS_SCROLLSIZEGRIP | DFCS_MONO, 16, 16},
                  {DFC_SCROLL, DFCS_SCROLLSIZEGRIP, 32, 32}});
  rows.push_back({{DFC_MENU, DFCS_MENUARROW, 13, 13},
                  {DFC_MENU, DFCS_MENUARROWRIGHT, 13, 13},
                  {DFC_MENU, DFCS_MENUCHECK, 13, 13},
                  {DFC_MENU, DFCS_MENUBULLET, 13, 13},
                  {DFC_MENU, DFCS_MENUCHECK, 26, 26},
                  {DFC_BUTTON, DFCS_BUTTONRADIOMASK, 13, 13},
                  {DFC_BUTTON, DFCS_BUTTONRADIOIMAGE | DFCS_CHECKED, 13, 13},
                  {DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED, 26, 26},
                  {DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED, 26, 26}});

  const int pitch = 36;
  int height = 4;
  for (const auto& row : rows) {
    int h = 0;
    for (const Item& it : row) h = std::max(h, it.h);
    height += h + 6;
  }
  MemDC sheet(4 + pitch * 9, height, RGB(192, 192, 192));
  int y = 4;
  for (const auto& row : rows) {
    int h = 0, x = 4;
    for (const Item& it : row) {
      RECT rc{x, y, x + it.w, y + it.h};
      EXPECT_TRUE(DrawFrameControl(sheet, &rc, it.type, it.state)) << it.type << " " << it.state;
      x += pitch;
      h = std::max(h, it.h);
    }
    y += h + 6;
  }
  sheet.Save("frame_controls");
  MemDC big(sheet.width() * 4, sheet.height() * 4);
  for (int sy = 0; sy < sheet.height(); ++sy)
    for (int sx = 0; sx < sheet.width(); ++sx) {
      RECT px{sx * 4, sy * 4, sx * 4 + 4, sy * 4 + 4};
      HBRUSH b = CreateSolidBrush(sheet.Px(sx, sy));
      FillRect(big, &px, b);
      DeleteObject(b);
    }
  big.Save("frame_controls_x4");
}
