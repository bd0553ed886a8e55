// The timer pool on the virtual clock: divisibility, repeat counts, the central event,
// changing the pool from inside a tick, exceptions and modal loops inside a tick.
#include "library/foundation/timer_pool.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/foundation/application.h"
#include "support/app.h"

namespace zyr {
namespace {

class PoolTest : public testing_app::AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    InitLibrary();
  }
  void TearDown() override {
    DoneLibrary();
    AppTest::TearDown();
  }
  // Lets the virtual clock run for ms in steps of 1/10 s, dispatching what falls due.
  static void Run(int ms) {
    for (int t = 0; t < ms; t += 100) {
      kernel::AdvanceClock(100);
      desktop::Pump();
    }
  }
};

TEST_F(PoolTest, ItemsFireOnMultiplesOfTheirDivider) {
  TZYRTimerPool pool(nullptr);
  EXPECT_EQ(pool.MinInterval(), 1000);
  std::vector<int> fired_at;
  int seconds = 0;
  pool.Add(1, 1000, [&](TObject* sender) {
    EXPECT_EQ(sender, &pool);
    ++seconds;
  });
  pool.Add(2, 3000, [&](TObject*) { fired_at.push_back(seconds); });
  for (uint16_t bad : {2500, 500}) {
    try {
      pool.Add(3, bad, nullptr);
      FAIL() << bad;
    } catch (const host::Exception& e) {
      EXPECT_STREQ(e.what(), "Interval does'nt fit to given MinInterval!");
    }
  }
  EXPECT_EQ(pool.Count(), 2);
  try {
    pool.Add(2, 1000, nullptr);
    FAIL();
  } catch (const host::Exception& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (1)");
  }
  Run(9000);
  EXPECT_EQ(seconds, 9);
  EXPECT_EQ(fired_at, (std::vector<int>{3, 6, 9}));
  EXPECT_THROW(pool.Remove(77), host::EListError);
  pool.SetMinInterval(500);  // run time: ignored
  EXPECT_EQ(pool.MinInterval(), 1000);
  pool.Remove(1);
  pool.Remove(2);
  EXPECT_FALSE(pool.Active());
}

TEST_F(PoolTest, RepeatCountsAndTheCentralEvent) {
  TZYRTimerPool pool(nullptr, 100);
  std::vector<std::string> central;
  pool.OnTimer = [&](TObject* sender, uint16_t ident, int32_t counter) {
    EXPECT_EQ(sender, &pool);
    central.push_back(std::to_string(ident) + ":" + std::to_string(counter));
  };
  int own = 0;
  pool.AddExt(7, 200, nullptr, true, 3);
  pool.AddExt(8, 100, [&](TObject*) { ++own; }, true, 5);
  Run(1000);
  EXPECT_EQ(central, (std::vector<std::string>{"7:1", "7:2", "7:3"}));
  EXPECT_EQ(own, 5);
  EXPECT_FALSE(pool.ItemByIdent(8)->Enabled());
  EXPECT_TRUE(pool.Active());  // the pool keeps ticking
  TZYRTimerItem* item = pool.ItemByIdent(7);
  item->SetRepeatCount(0);
  item->SetEnabled(true);  // refused while RepeatCount is 0
  EXPECT_FALSE(item->Enabled());
  item->SetRepeatCount(-9);
  EXPECT_EQ(item->RepeatCount(), -1);
  item->SetInterval(0);
  EXPECT_EQ(item->Interval(), 100);
  item->SetInterval(250);  // not a multiple: ignored
  EXPECT_EQ(item->Interval(), 100);
  EXPECT_THROW(TZYRTimerItem(nullptr, nullptr, 1), host::EInvalidOperation);
}

TEST_F(PoolTest, HandlersMayChangeThePoolAndThrowWithoutStoppingIt) {
  TZYRTimerPool pool(nullptr, 100);
  std::vector<std::string> log;
  int errors = 0;
  host::Application()->OnException = [&](TObject*, const std::exception& e) {
    ++errors;
    log.push_back(std::string("error ") + e.what());
  };
  pool.Add(1, 100, [&](TObject*) {
    log.push_back("one removes two");
    if (pool.IndexOfIdent(2) >= 0) pool.Remove(2);
  });
  pool.Add(2, 100, [&](TObject*) { log.push_back("two"); });
  pool.Add(3, 100, [&](TObject*) {
    log.push_back("three");
    if (pool.IndexOfIdent(4) < 0) pool.Add(4, 100, [&](TObject*) { throw host::Exception("four failed"); });
  });
  Run(200);
  EXPECT_EQ(log, (std::vector<std::string>{"one removes two", "three", "one removes two", "three",
                                           "error four failed"}));
  EXPECT_EQ(errors, 1);
  EXPECT_FALSE(pool.Busy());
  Run(100);
  EXPECT_EQ(errors, 2);  // the pool still ticks after an exception
}

TEST_F(PoolTest, AModalLoopInsideATickGetsNoNestedTicks) {
  TZYRTimerPool pool(nullptr, 100);
  int entered = 0;
  int nested = 0;
  bool inside = false;
  pool.Add(1, 100, [&](TObject*) {
    if (inside) {
      ++nested;
      return;
    }
    inside = true;
    ++entered;
    // A handler that runs its own message loop for a while, as a message box would.
    const DWORD until = GetTickCount() + 1000;
    while (GetTickCount() < until) {
      kernel::AdvanceClock(100);
      desktop::Pump();
    }
    inside = false;
  });
  Run(100);
  EXPECT_EQ(entered, 1);
  EXPECT_EQ(nested, 0);
}

}  // namespace
}  // namespace zyr
