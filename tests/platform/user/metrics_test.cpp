// GetSystemMetrics: the classic 96-DPI values, the screen-derived ones, and how the frame
// metrics relate to each other.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/dc.h"
#include "platform/win32.h"

namespace {

// Attaches a screen of the given size for the life of the object.
class ScopedScreen {
 public:
  ScopedScreen(int w, int h) : pixels_(static_cast<size_t>(w) * h) {
    saved_ = gdi::ScreenSurface();
    gdi::Surface s;
    s.bits = pixels_.data();
    s.width = w;
    s.height = h;
    s.stride = w;
    gdi::SetScreenSurface(s);
  }
  ~ScopedScreen() { gdi::SetScreenSurface(saved_); }

 private:
  std::vector<gdi::Pixel> pixels_;
  gdi::Surface saved_;
};

}  // namespace

TEST(SystemMetrics, ClassicValues) {
  struct Want {
    int index, value;
  };
  const Want table[] = {
      {SM_CXBORDER, 1},     {SM_CYBORDER, 1},       {SM_CXEDGE, 2},        {SM_CYEDGE, 2},
      {SM_CXFRAME, 4},      {SM_CYFRAME, 4},        {SM_CXDLGFRAME, 3},    {SM_CYDLGFRAME, 3},
      {SM_CYCAPTION, 19},   {SM_CYSMCAPTION, 16},   {SM_CXSIZE, 18},       {SM_CYSIZE, 18},
      {SM_CXSMSIZE, 13},    {SM_CYSMSIZE, 15},      {SM_CXICON, 32},       {SM_CYICON, 32},
      {SM_CXSMICON, 16},    {SM_CYSMICON, 16},      {SM_CXCURSOR, 32},     {SM_CYCURSOR, 32},
      {SM_CYMENU, 19},      {SM_CXMENUSIZE, 18},    {SM_CYMENUSIZE, 18},   {SM_CXMENUCHECK, 13},
      {SM_CYMENUCHECK, 13}, {SM_CXVSCROLL, 16},     {SM_CYHSCROLL, 16},    {SM_CYVSCROLL, 16},
      {SM_CXHSCROLL, 16},   {SM_CYVTHUMB, 16},      {SM_CXHTHUMB, 16},     {SM_CXMIN, 112},
      {SM_CYMIN, 27},       {SM_CXMINTRACK, 112},   {SM_CYMINTRACK, 27},   {SM_CXDOUBLECLK, 4},
      {SM_CYDOUBLECLK, 4},  {SM_CXDRAG, 4},         {SM_CYDRAG, 4},        {SM_CXFOCUSBORDER, 1},
      {SM_CYFOCUSBORDER, 1}, {SM_SWAPBUTTON, 0},    {SM_CMONITORS, 1},     {SM_CXMINIMIZED, 160},
      {SM_CYMINIMIZED, 24},
  };
  for (const Want& w : table) EXPECT_EQ(GetSystemMetrics(w.index), w.value) << "index " << w.index;
  // Unknown indexes answer 0.
  EXPECT_EQ(GetSystemMetrics(-1), 0);
  EXPECT_EQ(GetSystemMetrics(18), 0);
  EXPECT_EQ(GetSystemMetrics(100000), 0);
}

TEST(SystemMetrics, FrameMetricsAddUp) {
  // The sizing frame is the dialog frame plus the one-pixel border ring; the minimum tracking
  // height is a caption between two sizing frames.
  EXPECT_EQ(GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CXDLGFRAME) + GetSystemMetrics(SM_CXBORDER));
  EXPECT_EQ(GetSystemMetrics(SM_CYMIN), GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME));
  EXPECT_EQ(GetSystemMetrics(SM_CYMINIMIZED), GetSystemMetrics(SM_CYSIZE) + 6);
}

TEST(SystemMetrics, ScreenSizeFollowsTheAttachedScreen) {
  {
    ScopedScreen screen(800, 600);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 600);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 800);
    EXPECT_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN), 600);
    EXPECT_EQ(GetSystemMetrics(SM_CXFULLSCREEN), 800);
    EXPECT_EQ(GetSystemMetrics(SM_CYFULLSCREEN), 600 - 19);
    // A maximized window puts its sizing frame just off each screen edge.
    EXPECT_EQ(GetSystemMetrics(SM_CXMAXIMIZED), 808);
    EXPECT_EQ(GetSystemMetrics(SM_CYMAXIMIZED), 608);
    EXPECT_EQ(GetSystemMetrics(SM_CXMAXTRACK), 812);
    EXPECT_EQ(GetSystemMetrics(SM_CYMAXTRACK), 612);
  }
  // Without a screen the default desktop is 1024x768.
  ScopedScreen none(0, 0);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
  EXPECT_EQ(GetSystemMetrics(SM_CYFULLSCREEN), 768 - 19);
}

TEST(SystemParameters, ClassicDesktopAnswers) {
  INT timeout = 0;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETSCREENSAVETIMEOUT, 0, &timeout, 0));
  EXPECT_EQ(timeout, 900);
  BOOL gradients = TRUE;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETGRADIENTCAPTIONS, 0, &gradients, 0));
  EXPECT_FALSE(gradients);
  RECT work{};
  ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0));
  EXPECT_EQ(work.right, GetSystemMetrics(SM_CXSCREEN));
  NONCLIENTMETRICS ncm{};
  ncm.cbSize = 12;  // a wrong size is refused
  EXPECT_FALSE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, 0, &ncm, 0));
  ncm.cbSize = sizeof ncm;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, 0, &ncm, 0));
  EXPECT_EQ(ncm.lfCaptionFont.lfWeight, FW_BOLD);
  EXPECT_EQ(ncm.iCaptionHeight, 18);
}
