#include "library/foundation/messages.h"

#include <gtest/gtest.h>

#include "host/classes/resources.h"

TEST(LibraryMessages, EveryIdLoadsItsTextExactly) {
  zyr::RegisterLibraryStrings();
  const struct {
    int id;
    const char* text;
  } cases[] = {
      {16501, "unknown"},
      {16502, "One clock style must be activated!"},
      {16504, "Interval does'nt fit to given MinInterval!"},
      {16506, "ON"},
      {16507, "OFF"},
      {16508, "Invalid owner (<>TForm) or second instance on a form"},
      {16800, "Info "},
      {16801, "Available Memory:"},
      {16802, "System Resources:"},
      {16803, "or compatible"},
      {16804, "Platform, CPU:"},
      {16805, "free"},
      {16806, "Select Path..."},
      {16807, "&Drive:"},
      {16808, "No Tips available - Dialog will not be displayed..."},
      {16810, "Show tips at every start"},
      {16811, "&Next Tip"},
      {16812, "&Previous Tip"},
      {16813, "&Help"},
      {16814, "&Path:"},
      {16820, "Windowlist..."},
      {16821, "Available &Windows:"},
  };
  for (const auto& c : cases) EXPECT_EQ(host::LoadStr(c.id), c.text) << c.id;

  // Every other number of both ranges is unused.
  int used = 0;
  for (int id = 16500; id <= 16830; ++id) {
    if (!host::LoadStr(id).empty()) ++used;
  }
  EXPECT_EQ(used, static_cast<int>(std::size(cases)));
  EXPECT_EQ(host::LoadStr(16503), "");
}

TEST(LibraryMessages, NamedIdsMatchTheirNumbers) {
  static_assert(zyr::kMsgUnknown == 16501 && zyr::kMsgClockStyleRequired == 16502 &&
                zyr::kMsgIntervalMismatch == 16504 && zyr::kMsgSwitchOn == 16506 &&
                zyr::kMsgSwitchOff == 16507 && zyr::kMsgOneInstance == 16508 &&
                zyr::kMsgInfo == 16800 && zyr::kMsgNoTips == 16808 &&
                zyr::kMsgShowTipsAtStart == 16810 && zyr::kMsgPath == 16814 &&
                zyr::kMsgWindowList == 16820 && zyr::kMsgAvailableWindows == 16821);
  zyr::RegisterLibraryStrings();
  EXPECT_EQ(host::LoadStr(zyr::kMsgSwitchOn), "ON");
  EXPECT_EQ(host::LoadStr(zyr::kMsgAvailableWindows), "Available &Windows:");
}
