// A headless desktop with the application and the screen, for scenario tests of controls and
// forms: input is injected as a user would give it and the screen is read back.
#pragma once

#include <gtest/gtest.h>

#include "host/forms/forms.h"
#include "platform/gdi/dc.h"
#include "platform/kernel/clock.h"
#include "platform/user/desktop.h"

namespace testing_app {

class AppTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(desktop::OpenHeadless(640, 480)); }
  void SetUp() override {
    kernel::UseVirtualClock(true);
    host::InitApplication();
    // An unexpected exception fails the test instead of waiting in a message box.
    host::Application()->OnException = [](host::TObject*, const std::exception& e) {
      ADD_FAILURE() << "exception in a handler: " << e.what();
    };
  }
  void TearDown() override {
    host::DoneApplication();
    desktop::Pump();
    kernel::UseVirtualClock(false);
  }
  static COLORREF ScreenPixel(int x, int y) {
    desktop::Pump();
    const gdi::Surface& s = gdi::ScreenSurface();
    return gdi::ToColorRef(s.Row(y)[x] & gdi::kPixelMask);
  }
  // Screen coordinates of a point in a control's client area.
  static POINT At(host::TControl* c, int x, int y) { return c->ClientToScreen({x, y}); }
  static void ClickOn(host::TControl* c, int x, int y) {
    const POINT p = At(c, x, y);
    desktop::Click(p.x, p.y);
  }
};

}  // namespace testing_app
