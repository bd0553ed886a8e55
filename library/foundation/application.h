// The library's application object: the shared timer pool and settings store, application
// timers for controls, the pattern bitmaps, a stopwatch, the log file name, the registry path
// and the previous-instance flag. One instance, ZYRApplication, lives from InitLibrary to
// DoneLibrary.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "host/classes/classes.h"
#include "host/graphics/color.h"
#include "library/foundation/objects.h"
#include "library/foundation/utils.h"

namespace host {
class TBitmap;
}

namespace zyr {

class TZYRTimerPool;
class TZYRTimerItem;
class TZYRIniCtrl;

// The screen cursor index of the library's hand cursor.
inline constexpr int16_t crZYRHand = -255;
// Application timers get identifiers from 64769 (hexadecimal FD01) upward, one per slot.
inline constexpr uint16_t kFirstAppTimer = 0xFD00;
inline constexpr int kAppTimerSlots = 250;

class TZYRApplication : public TObject {
  HOST_CLASS(TZYRApplication)
  TZYRApplication();
  ~TZYRApplication() override;
  TZYRApplication(const TZYRApplication&) = delete;
  TZYRApplication& operator=(const TZYRApplication&) = delete;

  // Registers proc with the shared pool at the lowest free slot and returns its identifier
  // (64769..65018); 0 when every slot is taken. The pool's exceptions pass through.
  uint16_t AddTimer(uint16_t interval, TNotifyEvent proc);
  void RemoveTimer(uint16_t ident);
  TZYRTimerItem* GetTimer(uint16_t ident) const;

  // 8 x 8: pixels whose x and y differ in parity get color; the others keep theirs (white at
  // first). The same bitmap comes back for the same colour.
  host::TBitmap* GetPatternBitmap(host::TColor color);
  // The pattern in black, made once.
  host::TBitmap* GetPatternBrush();

  void StartStopwatch();
  int32_t StopStopwatch();
  bool StopwatchRunning() const { return stopwatch_running_; }

  void SetLogFile(const std::string& name);
  const std::string& LogFile() const { return log_file_; }
  TZYRPathPrefix LogPrefix() const { return log_prefix_; }
  void SetLogPrefix(TZYRPathPrefix prefix) { log_prefix_ = prefix; }
  // "Software\" + prefix\ + title\ + suffix\ (prefix and suffix when not blank).
  std::string RegistryPath() const;
  const std::string& RegistryPrefix() const { return registry_prefix_; }
  void SetRegistryPrefix(const std::string& s) { registry_prefix_ = s; }
  const std::string& RegistrySuffix() const { return registry_suffix_; }
  void SetRegistrySuffix(const std::string& s) { registry_suffix_ = s; }

  uint8_t Options() const { return options_; }
  void SetOptions(uint8_t options) { options_ = options; }
  uint8_t EffectSpeed() const { return effect_speed_; }
  void SetEffectSpeed(uint8_t speed) { effect_speed_ = speed; }
  TZYRIniCtrl* IniCtrl() const { return ini_ctrl_.get(); }
  TZYRTimerPool* TimerPool() const { return timer_pool_.get(); }
  bool PreviousInstance() const { return previous_instance_; }

 private:
  std::string registry_prefix_;
  std::string registry_suffix_;
  uint8_t options_ = (1 << 1) | (1 << 2) | (1 << 4) | (1 << 5);
  std::unique_ptr<TZYRIniCtrl> ini_ctrl_;
  uint8_t effect_speed_ = 3;
  std::unique_ptr<host::TBitmap> pattern_brush_;
  std::unique_ptr<host::TBitmap> pattern_bitmap_;
  host::TColor pattern_color_ = -1;
  std::unique_ptr<TZYRTimerPool> timer_pool_;
  TZYRPathPrefix log_prefix_ = ppProgram;
  std::string log_file_;
  int32_t stopwatch_start_ = 0;
  int32_t stopwatch_stop_ = 0;
  bool stopwatch_running_ = false;
  HANDLE mutex_ = nullptr;
  bool previous_instance_ = false;
  std::array<bool, kAppTimerSlots + 1> slots_{};
};

// The one application object; null before InitLibrary and after DoneLibrary.
extern TZYRApplication* ZYRApplication;
// Registers the library's strings and classes and creates ZYRApplication (after the host's
// application exists, before any form). DoneLibrary frees it.
void InitLibrary();
void DoneLibrary();

}  // namespace zyr
