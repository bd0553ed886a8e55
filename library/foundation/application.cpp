#include "library/foundation/application.h"

#include "host/classes/publish.h"
#include "host/forms/forms.h"
#include "host/graphics/bitmap.h"
#include "host/graphics/brush.h"
#include "host/graphics/canvas.h"
#include "library/foundation/messages.h"
#include "library/foundation/settings.h"
#include "library/foundation/timer_pool.h"
#include "platform/win32.h"

namespace zyr {

TZYRApplication* ZYRApplication = nullptr;

namespace {

// The library's hand cursor (hot spot at the fingertip): '#' black, '.' white, ' ' clear.
constexpr const char* kHandCursor[] = {
    "     ##         ",  //
    "    #..#        ",  //
    "    #..#        ",  //
    "    #..#        ",  //
    "    #..#        ",  //
    "    #..###      ",  //
    "    #..#..###   ",  //
    "    #..#..#..## ",  //
    " ## #..#..#..#.#",  //
    "#..##........#.#",  //
    "#...#..........#",  //
    " #.............#",  //
    "  #............#",  //
    "  #...........# ",  //
    "   #..........# ",  //
    "    #........#  ",  //
    "    #........#  ",  //
    "    ##########  ",  //
};

HCURSOR MakeHandCursor() {
  constexpr int kSize = 32;
  uint8_t and_plane[kSize * kSize / 8];
  uint8_t xor_plane[kSize * kSize / 8];
  std::fill(std::begin(and_plane), std::end(and_plane), 0xFF);
  std::fill(std::begin(xor_plane), std::end(xor_plane), 0x00);
  int y = 0;
  for (const char* row : kHandCursor) {
    for (int x = 0; row[x]; ++x) {
      const int bit = y * kSize + x;
      const uint8_t mask = static_cast<uint8_t>(0x80 >> (bit % 8));
      if (row[x] == ' ') continue;
      and_plane[bit / 8] &= static_cast<uint8_t>(~mask);
      if (row[x] == '.') xor_plane[bit / 8] |= mask;
    }
    ++y;
  }
  return CreateCursor(nullptr, 5, 0, kSize, kSize, and_plane, xor_plane);
}

}  // namespace

HOST_DEFINE_CLASS(TZYRApplication, TObject)

TZYRApplication::TZYRApplication()
    : ini_ctrl_(std::make_unique<TZYRIniCtrl>(nullptr)), timer_pool_(std::make_unique<TZYRTimerPool>(nullptr, 100)) {
  SetLogFile("");
  const std::string name = ExtractFileName(ProgramFileName());
  SetLastError(ERROR_SUCCESS);
  mutex_ = CreateMutex(nullptr, FALSE, name.c_str());
  previous_instance_ = GetLastError() == ERROR_ALREADY_EXISTS;
  if (HCURSOR hand = MakeHandCursor()) host::Screen()->SetCursors(crZYRHand, hand);
}

TZYRApplication::~TZYRApplication() {
  ini_ctrl_.reset();
  timer_pool_.reset();
  pattern_brush_.reset();
  pattern_bitmap_.reset();
  if (mutex_) CloseHandle(mutex_);
}

uint16_t TZYRApplication::AddTimer(uint16_t interval, TNotifyEvent proc) {
  int slot = 0;
  for (int s = 1; s <= kAppTimerSlots; ++s) {
    if (!slots_[static_cast<size_t>(s)]) {
      slot = s;
      break;
    }
  }
  // With every slot taken there is no identifier to give: report failure, never 64768.
  if (slot == 0) return 0;
  const auto ident = static_cast<uint16_t>(kFirstAppTimer + slot);
  timer_pool_->Add(ident, interval, std::move(proc));
  slots_[static_cast<size_t>(slot)] = true;
  return ident;
}

void TZYRApplication::RemoveTimer(uint16_t ident) {
  if (ident <= kFirstAppTimer) return;
  const int slot = ident - kFirstAppTimer;
  if (timer_pool_->IndexOfIdent(ident) >= 0) timer_pool_->Remove(ident);
  if (slot <= kAppTimerSlots) slots_[static_cast<size_t>(slot)] = false;
}

TZYRTimerItem* TZYRApplication::GetTimer(uint16_t ident) const { return timer_pool_->ItemByIdent(ident); }

host::TBitmap* TZYRApplication::GetPatternBitmap(host::TColor color) {
  // The first request always gets a bitmap, whatever colour it names.
  if (pattern_bitmap_ && color == pattern_color_) return pattern_bitmap_.get();
  if (!pattern_bitmap_) {
    pattern_bitmap_ = std::make_unique<host::TBitmap>();
    pattern_bitmap_->SetWidth(8);
    pattern_bitmap_->SetHeight(8);
    RECT all{0, 0, 8, 8};
    pattern_bitmap_->Canvas()->Brush()->SetColor(host::clWhite);
    pattern_bitmap_->Canvas()->FillRect(all);
  }
  host::TCanvas* canvas = pattern_bitmap_->Canvas();
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      if ((x % 2) != (y % 2)) canvas->SetPixels(x, y, color);
    }
  }
  pattern_color_ = color;
  return pattern_bitmap_.get();
}

host::TBitmap* TZYRApplication::GetPatternBrush() {
  if (!pattern_brush_) {
    pattern_brush_ = std::make_unique<host::TBitmap>();
    pattern_brush_->Assign(GetPatternBitmap(host::clBlack));
  }
  return pattern_brush_.get();
}

void TZYRApplication::StartStopwatch() {
  if (stopwatch_running_) StopStopwatch();
  stopwatch_start_ = static_cast<int32_t>(GetTickCount());
  stopwatch_stop_ = 0;
  stopwatch_running_ = true;
}

int32_t TZYRApplication::StopStopwatch() {
  if (!stopwatch_running_) return 0;
  stopwatch_stop_ = static_cast<int32_t>(GetTickCount());
  stopwatch_running_ = false;
  return stopwatch_stop_ - stopwatch_start_;
}

void TZYRApplication::SetLogFile(const std::string& name) {
  std::string file = name;
  if (IsBlank(file)) {
    file = ChangeFileExt(ProgramFileName(), ".LOG");
  } else if (ExtractFileExt(file).empty()) {
    file += ".LOG";
  }
  log_file_ = log_prefix_ == ppFixed ? file : GetPrefixPath(log_prefix_, true) + ExtractFileName(file);
}

std::string TZYRApplication::RegistryPath() const {
  std::string path = "Software\\";
  if (!IsBlank(registry_prefix_)) path += AddBackslash(registry_prefix_);
  std::string title = host::Application()->Title();
  if (IsBlank(title)) title = ProgramFileName();
  path += AddBackslash(title);
  if (!IsBlank(registry_suffix_)) path += AddBackslash(registry_suffix_);
  return path;
}

void InitLibrary() {
  RegisterLibraryStrings();
  RegisterFoundationClasses();
  if (!ZYRApplication) ZYRApplication = new TZYRApplication();
}

void DoneLibrary() {
  delete ZYRApplication;
  ZYRApplication = nullptr;
}

}  // namespace zyr
