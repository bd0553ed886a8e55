// The library's base classes, window hooks, one-instance rule, application object and
// utility routines.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "host/classes/publish.h"
#include "host/classes/resources.h"
#include "host/graphics/bitmap.h"
#include "host/graphics/canvas.h"
#include "library/foundation/application.h"
#include "library/foundation/messages.h"
#include "library/foundation/objects.h"
#include "library/foundation/timer_pool.h"
#include "library/foundation/utils.h"
#include "platform/win32.h"
#include "support/app.h"

namespace zyr {
namespace {

class LibraryTest : public testing_app::AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    InitLibrary();
  }
  void TearDown() override {
    DoneLibrary();
    AppTest::TearDown();
  }
};

TEST(ZYRObject, EndUpdateReportsOnceOrNotAtAll) {
  TZYRObject o;
  int changes = 0;
  o.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &o);
    ++changes;
  };
  o.BeginUpdate();
  o.Change();
  o.Change();
  o.EndUpdate(false);
  EXPECT_EQ(changes, 0);
  o.BeginUpdate();
  o.Change();
  o.EndUpdate(true);
  EXPECT_EQ(changes, 1);
  o.GetChange(nullptr);
  EXPECT_EQ(changes, 2);
}

TEST(ZYRObject, ContainerPassesChangesToItsObjectsFirst) {
  TZYRBaseContainer box(nullptr);
  TZYRObject a, b;
  std::vector<std::string> order;
  box.AddObject(&a);
  box.AddObject(&b);
  // The container set their OnChange to itself; watch them through Change calls instead.
  struct Probe : TZYRObject {
    std::vector<std::string>* log;
    std::string name;
    void GetChange(TObject*) override { log->push_back(name); }
  };
  Probe p1, p2;
  p1.log = p2.log = &order;
  p1.name = "p1";
  p2.name = "p2";
  TZYRBaseContainer c(nullptr);
  c.AddObject(&p1);
  c.AddObject(&p2);
  c.OnChange = [&](TObject*) { order.push_back("container"); };
  c.Change();
  EXPECT_EQ(order, (std::vector<std::string>{"p1", "p2", "container"}));
  c.RemoveObject(&p1);
  EXPECT_FALSE(p1.OnChange);
  EXPECT_EQ(c.Count(), 1);
  TZYRComponent plain(nullptr);
  plain.SetAbout("a very long text");
  EXPECT_EQ(plain.About(), "a very lon");
}

// A hook that records what its window receives.
class TRecorderHook : public TZYRWndProcComponent {
  HOST_CLASS(TRecorderHook)
  explicit TRecorderHook(TComponent* owner) : TZYRWndProcComponent(owner) {}
  static inline std::vector<std::string> log;
  std::string tag;
  bool swallow = false;
  void StopHook() override { Unhook(); }
  void WndProc(host::TMessage& m) override {
    if (m.Msg == WM_USER + 1) {
      log.push_back(tag);
      if (swallow) return;
    }
    TZYRWndProcComponent::WndProc(m);
  }
};
HOST_DEFINE_CLASS(TRecorderHook, TZYRWndProcComponent)

class TSoloComponent : public TZYRComponent {
  HOST_CLASS(TSoloComponent)
  explicit TSoloComponent(TComponent* owner) : TZYRComponent(owner) { EnforceOneInstance(this, false); }
};
HOST_DEFINE_CLASS(TSoloComponent, TZYRComponent)

class TSoloAllowingModules : public TZYRComponent {
  HOST_CLASS(TSoloAllowingModules)
  explicit TSoloAllowingModules(TComponent* owner) : TZYRComponent(owner) { EnforceOneInstance(this, true); }
};
HOST_DEFINE_CLASS(TSoloAllowingModules, TZYRComponent)

TEST_F(LibraryTest, HookChainsSeeMessagesNewestFirstWhateverTheUnhookOrder) {
  for (bool reverse : {true, false}) {
    auto* form = host::New<host::TForm>(host::Application());
    form->HandleNeeded();
    int form_saw = 0;
    form->OnClick = nullptr;
    WNDPROC base = GetWindowProc(form->Handle());
    SetWindowProc(form->Handle(), [&, base](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
      if (m == WM_USER + 1) ++form_saw;
      return CallWindowProc(base, h, m, w, l);
    });
    std::vector<TRecorderHook*> hooks;
    for (const char* tag : {"a", "b", "c"}) {
      auto* h = new TRecorderHook(form);
      h->tag = tag;
      h->Loaded();  // as after reading the form: hooks now
      hooks.push_back(h);
    }
    TRecorderHook::log.clear();
    SendMessage(form->Handle(), WM_USER + 1, 0, 0);
    EXPECT_EQ(TRecorderHook::log, (std::vector<std::string>{"c", "b", "a"}));
    EXPECT_EQ(form_saw, 1);
    // Unhook the middle one (the chain must stay whole), then the rest in the chosen order.
    hooks[1]->SetEnabled(false);
    TRecorderHook::log.clear();
    SendMessage(form->Handle(), WM_USER + 1, 0, 0);
    EXPECT_EQ(TRecorderHook::log, (std::vector<std::string>{"c", "a"}));
    EXPECT_EQ(form_saw, 2);
    if (reverse) {
      hooks[2]->Free();
      hooks[1]->Free();
      hooks[0]->Free();
    } else {
      hooks[0]->Free();
      hooks[1]->Free();
      TRecorderHook::log.clear();
      SendMessage(form->Handle(), WM_USER + 1, 0, 0);
      EXPECT_EQ(TRecorderHook::log, (std::vector<std::string>{"c"}));
      hooks[2]->Free();
    }
    TRecorderHook::log.clear();
    SendMessage(form->Handle(), WM_USER + 1, 0, 0);
    EXPECT_TRUE(TRecorderHook::log.empty());
    EXPECT_EQ(form_saw, reverse ? 3 : 4);
    // The base class does not unhook on disable; a destroyed window still reaches the framework.
    auto* plain = new TZYRWndProcComponent(form);
    plain->Loaded();
    EXPECT_TRUE(plain->Hooked());
    plain->SetEnabled(false);
    EXPECT_TRUE(plain->Hooked());
    HWND handle = form->Handle();
    form->Free();
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(host::FindControl(handle), nullptr);
  }
}

TEST_F(LibraryTest, OneInstanceRuleAppliesOnlyWhileDesigning) {
  auto* form = host::New<host::TForm>(host::Application());
  new TSoloComponent(form);
  EXPECT_NO_THROW(new TSoloComponent(form));  // at run time two are fine
  auto* design = host::New<host::TForm>(host::Application());
  design->SetDesigning(true);
  new TSoloComponent(design);
  try {
    new TSoloComponent(design);
    FAIL();
  } catch (const ZYREOneInstError& e) {
    EXPECT_STREQ(e.what(), "TSoloComponent:\rInvalid owner (<>TForm) or second instance on a form");
  }
  EXPECT_EQ(design->ComponentCount(), 1);
  host::TDataModule module(nullptr);
  module.SetDesigning(true);
  EXPECT_NO_THROW(new TSoloAllowingModules(&module));
  EXPECT_THROW(new TSoloComponent(&module), ZYREOneInstError);
  EXPECT_TRUE(CheckOneInstance(nullptr, TSoloComponent::StaticClass(), true));
  EXPECT_FALSE(CheckOneInstance(form, nullptr, false));
}

TEST_F(LibraryTest, ApplicationTimersTakeTheLowestFreeSlot) {
  int fired = 0;
  auto proc = [&](TObject*) { ++fired; };
  const uint16_t a = ZYRApplication->AddTimer(100, proc);
  const uint16_t b = ZYRApplication->AddTimer(200, proc);
  EXPECT_EQ(a, 64769);
  EXPECT_EQ(b, 64770);
  ZYRApplication->RemoveTimer(a);
  EXPECT_EQ(ZYRApplication->GetTimer(a), nullptr);
  EXPECT_EQ(ZYRApplication->AddTimer(300, proc), 64769);
  EXPECT_EQ(ZYRApplication->GetTimer(64769)->Interval(), 300);
  ZYRApplication->RemoveTimer(12);  // not an application timer: ignored
  for (int i = 3; i <= kAppTimerSlots; ++i) ASSERT_EQ(ZYRApplication->AddTimer(100, proc), 64768 + i);
  EXPECT_EQ(ZYRApplication->AddTimer(100, proc), 0);  // all 250 in use
  EXPECT_EQ(ZYRApplication->TimerPool()->Count(), kAppTimerSlots);
  try {
    ZYRApplication->RemoveTimer(65000);
    ZYRApplication->AddTimer(150, proc);
    FAIL();
  } catch (const host::Exception& e) {
    EXPECT_STREQ(e.what(), "Interval does'nt fit to given MinInterval!");
  }
}

TEST_F(LibraryTest, PatternBitmapRedrawsOnlyTheOddParityPixels) {
  host::TBitmap* first = ZYRApplication->GetPatternBitmap(-1);
  ASSERT_NE(first, nullptr);  // even the first request for colour -1
  host::TBitmap* red = ZYRApplication->GetPatternBitmap(host::clRed);
  EXPECT_EQ(red, first);
  host::TCanvas* c = red->Canvas();
  EXPECT_EQ(c->Pixels(1, 0), host::clRed);
  EXPECT_EQ(c->Pixels(0, 0), host::clWhite);
  EXPECT_EQ(c->Pixels(7, 7), host::clWhite);
  EXPECT_EQ(c->Pixels(6, 7), host::clRed);
  c->SetPixels(0, 0, host::clBlue);  // even parity pixels keep what they have
  ZYRApplication->GetPatternBitmap(host::clLime);
  EXPECT_EQ(c->Pixels(0, 0), host::clBlue);
  EXPECT_EQ(c->Pixels(1, 0), host::clLime);
  c->SetPixels(1, 0, host::clBlack);
  EXPECT_EQ(ZYRApplication->GetPatternBitmap(host::clLime)->Canvas()->Pixels(1, 0), host::clBlack);  // cached
  host::TBitmap* brush = ZYRApplication->GetPatternBrush();
  EXPECT_EQ(brush->Canvas()->Pixels(3, 2), host::clBlack);
  EXPECT_EQ(ZYRApplication->GetPatternBrush(), brush);
}

TEST_F(LibraryTest, StopwatchAndLogFileAndRegistryPath) {
  ZYRApplication->StartStopwatch();
  kernel::AdvanceClock(250);
  EXPECT_EQ(ZYRApplication->StopStopwatch(), 250);
  EXPECT_EQ(ZYRApplication->StopStopwatch(), 0);
  SetProgramFileName("C:\\APP\\DEMO.EXE");
  ZYRApplication->SetLogFile("");
  EXPECT_EQ(ZYRApplication->LogFile(), "C:\\APP\\DEMO.LOG");
  ZYRApplication->SetLogFile("D:\\elsewhere\\trace");
  EXPECT_EQ(ZYRApplication->LogFile(), "C:\\APP\\trace.LOG");
  ZYRApplication->SetLogPrefix(ppFixed);
  ZYRApplication->SetLogFile("D:\\elsewhere\\trace.txt");
  EXPECT_EQ(ZYRApplication->LogFile(), "D:\\elsewhere\\trace.txt");
  host::Application()->SetTitle("Showrama");
  EXPECT_EQ(ZYRApplication->RegistryPath(), "Software\\Showrama\\");
  ZYRApplication->SetRegistryPrefix("ZYR");
  ZYRApplication->SetRegistrySuffix("Forms\\");
  EXPECT_EQ(ZYRApplication->RegistryPath(), "Software\\ZYR\\Showrama\\Forms\\");
  host::Application()->SetTitle("  ");
  ZYRApplication->SetRegistryPrefix(" ");
  ZYRApplication->SetRegistrySuffix("");
  EXPECT_EQ(ZYRApplication->RegistryPath(), "Software\\C:\\APP\\DEMO.EXE\\");
  SetProgramFileName("");
  EXPECT_EQ(host::Screen()->Cursors(crZYRHand) != host::Screen()->Cursors(host::crArrow), true);
}

TEST(Utils, StringsPathsAndNumbers) {
  EXPECT_TRUE(IsBlank(""));
  EXPECT_TRUE(IsBlank("   "));
  EXPECT_FALSE(IsBlank(" \t"));
  EXPECT_EQ(AddBackslash(""), "\\");
  EXPECT_EQ(AddBackslash("  "), "\\");
  EXPECT_EQ(AddBackslash("C:\\A"), "C:\\A\\");
  EXPECT_EQ(AddBackslash("C:\\A\\"), "C:\\A\\");
  EXPECT_EQ(RemoveBackslash("C:\\A\\\\"), "C:\\A\\");
  EXPECT_EQ(RemoveBackslash("\\"), "");
  EXPECT_EQ(RemoveBackslash(" "), " ");
  EXPECT_EQ(GetPrefixPath(ppWindows, false), "C:\\WINDOWS");
  EXPECT_EQ(GetPrefixPath(ppSystem, true), "C:\\WINDOWS\\SYSTEM\\");
  EXPECT_EQ(GetPrefixPath(ppFixed, true), "");
  SetProgramFileName("C:\\APP\\DEMO.EXE");
  EXPECT_EQ(GetPrefixPath(ppProgram, false), "C:\\APP");
  SetProgramFileName("");
  EXPECT_EQ(ReplaceChar("a.b.c", '.', '/'), "a/b/c");
  EXPECT_EQ(FillString(3, '*'), "***");
  EXPECT_EQ(FillString(0, '*'), "");
  EXPECT_EQ(JoinStrings(std::vector<std::string>{"a", "b", "c"}, 2, ';'), "a;b");
  EXPECT_EQ(JoinStrings(std::vector<int32_t>{1, -2, 3}, 3, ','), "1,-2,3");
  EXPECT_EQ(MaxOf({3, 9, -1}), 9);
  EXPECT_EQ(MinOf({3, 9, -1}), -1);
  EXPECT_EQ(MaxOfFloat({0.5, 2.25}), 2.25);
  EXPECT_EQ(Midpoint(3, 6), 4);
  EXPECT_EQ(Midpoint(-3, -6), -4);  // toward zero
  EXPECT_EQ(Midpoint(2147483647, 2147483647), 2147483647);
}

TEST(Utils, RectangleRoutines) {
  auto same = [](RECT a, RECT b) { return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom; };
  EXPECT_TRUE(same(GrowRect({10, 10, 20, 20}, 2), {8, 8, 22, 22}));
  EXPECT_TRUE(same(GrowRectExt({10, 10, 20, 20}, 1, 2, 3, 4), {9, 8, 23, 24}));
  EXPECT_TRUE(same(RotatedBounds({0, 0, 40, 10}, 90), {0, 0, 10, 40}));
  EXPECT_TRUE(same(RotatedBounds({5, 5, 45, 15}, 0), {5, 5, 45, 15}));
  RECT r45 = RotatedBounds({0, 0, 10, 10}, 45);
  EXPECT_EQ(r45.right, 14);
  EXPECT_EQ(r45.bottom, 14);
  // FitRect keeps proportions, truncates, and sits at the destination's corner.
  EXPECT_TRUE(same(FitRect({0, 0, 40, 20}, {10, 10, 110, 110}), {10, 10, 110, 60}));
  EXPECT_TRUE(same(FitRect({0, 0, 30, 90}, {0, 0, 100, 100}), {0, 0, 33, 100}));
  POINT pts[2] = {{1, 2}, {3, 4}};
  MovePoints(pts, 2, 10, -1);
  EXPECT_EQ(pts[1].x, 13);
  EXPECT_EQ(pts[1].y, 3);
  int32_t a = 1, b = 2;
  SwapInt(a, b);
  EXPECT_EQ(a, 2);
}

TEST_F(LibraryTest, DelayWaitsPastTheDeadlineAndKeepsTimersRunning) {
  int ticks = 0;
  UINT_PTR t = SetTimer(nullptr, 0, 10, [&](HWND, UINT, UINT_PTR, DWORD) { ++ticks; });
  const DWORD start = GetTickCount();
  Delay(100);
  EXPECT_GT(GetTickCount(), start + 100);
  EXPECT_GE(ticks, 5);
  KillTimer(nullptr, t);
  const DWORD now = GetTickCount();
  Delay(0);
  Delay(-5);
  EXPECT_EQ(GetTickCount(), now);
}

}  // namespace
}  // namespace zyr

namespace zyr {
namespace {

// The application object's named mutex: a second process of the same program sees it.
TEST_F(LibraryTest, ASecondProcessFindsTheInstanceMutex) {
  // A program name of this test's own: other test programs running at the same time hold
  // the mutex of theirs.
  DoneLibrary();
  SetProgramFileName("C:\\APP\\MUTEX" + std::to_string(getpid()) + ".EXE");
  InitLibrary();
  EXPECT_FALSE(ZYRApplication->PreviousInstance());
  const std::string name = ExtractFileName(ProgramFileName());
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    SetLastError(ERROR_SUCCESS);
    HANDLE h = CreateMutex(nullptr, FALSE, name.c_str());
    _exit(h && GetLastError() == ERROR_ALREADY_EXISTS ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  // And once we let go, a newcomer is the first again.
  DoneLibrary();
  const pid_t second = fork();
  ASSERT_GE(second, 0);
  if (second == 0) {
    SetLastError(ERROR_SUCCESS);
    HANDLE h = CreateMutex(nullptr, FALSE, name.c_str());
    _exit(h && GetLastError() != ERROR_ALREADY_EXISTS ? 0 : 1);
  }
  ASSERT_EQ(waitpid(second, &status, 0), second);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  SetProgramFileName("");
  InitLibrary();
}

}  // namespace
}  // namespace zyr
