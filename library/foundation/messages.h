// The library's numbered message texts, loaded with host::LoadStr once registered.
#pragma once

namespace zyr {

// Adds the table below to the host strings; a program calls it once at start-up (calling it
// again only re-adds the same texts).
void RegisterLibraryStrings();

constexpr int kMsgUnknown = 16501;
constexpr int kMsgClockStyleRequired = 16502;
constexpr int kMsgIntervalMismatch = 16504;
constexpr int kMsgSwitchOn = 16506;
constexpr int kMsgSwitchOff = 16507;
constexpr int kMsgOneInstance = 16508;

constexpr int kMsgInfo = 16800;
constexpr int kMsgAvailableMemory = 16801;
constexpr int kMsgSystemResources = 16802;
constexpr int kMsgOrCompatible = 16803;
constexpr int kMsgPlatformCpu = 16804;
constexpr int kMsgFree = 16805;
constexpr int kMsgSelectPath = 16806;
constexpr int kMsgDrive = 16807;
constexpr int kMsgNoTips = 16808;
constexpr int kMsgShowTipsAtStart = 16810;
constexpr int kMsgNextTip = 16811;
constexpr int kMsgPreviousTip = 16812;
constexpr int kMsgHelp = 16813;
constexpr int kMsgPath = 16814;
constexpr int kMsgWindowList = 16820;
constexpr int kMsgAvailableWindows = 16821;

}  // namespace zyr
