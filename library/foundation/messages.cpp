#include "library/foundation/messages.h"

#include "host/classes/resources.h"

namespace zyr {

namespace {

// The texts stand as the users of the components have always seen them, quirks included.
constexpr host::StringResource kStrings[] = {
    {kMsgUnknown, "unknown"},
    {kMsgClockStyleRequired, "One clock style must be activated!"},
    {kMsgIntervalMismatch, "Interval does'nt fit to given MinInterval!"},
    {kMsgSwitchOn, "ON"},
    {kMsgSwitchOff, "OFF"},
    {kMsgOneInstance, "Invalid owner (<>TForm) or second instance on a form"},
    {kMsgInfo, "Info "},
    {kMsgAvailableMemory, "Available Memory:"},
    {kMsgSystemResources, "System Resources:"},
    {kMsgOrCompatible, "or compatible"},
    {kMsgPlatformCpu, "Platform, CPU:"},
    {kMsgFree, "free"},
    {kMsgSelectPath, "Select Path..."},
    {kMsgDrive, "&Drive:"},
    {kMsgNoTips, "No Tips available - Dialog will not be displayed..."},
    {kMsgShowTipsAtStart, "Show tips at every start"},
    {kMsgNextTip, "&Next Tip"},
    {kMsgPreviousTip, "&Previous Tip"},
    {kMsgHelp, "&Help"},
    {kMsgPath, "&Path:"},
    {kMsgWindowList, "Windowlist..."},
    {kMsgAvailableWindows, "Available &Windows:"},
};

}  // namespace

void RegisterLibraryStrings() { host::RegisterStrings(kStrings); }

}  // namespace zyr
