#include "qt/qt_event_loop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/timer.h"
#include "qt_app.h"

namespace audiodsp {
namespace {

class QtEventLoopTest : public ::testing::Test {
 protected:
  void SetUp() override { test::qtApp(); }
};

TEST_F(QtEventLoopTest, TimerFiresEveryIntervalWhileTheWaitRuns) {
  QtEventLoop loop;
  Timer timer(loop, "t", 20, true);
  std::vector<Tick> fired;
  timer.onTimer = [&] { fired.push_back(loop.tick()); };
  const Tick start = loop.tick();
  loop.wait(110);
  EXPECT_GE(loop.tick() - start, 110u);
  // A busy machine delays single ticks; the rhythm stays the interval.
  ASSERT_GE(fired.size(), 3u);
  EXPECT_LE(fired.size(), 6u);
  EXPECT_GE(fired.front() - start, 19u);
  EXPECT_GE((fired.back() - fired.front()) / (fired.size() - 1), 17u);
}

TEST_F(QtEventLoopTest, HandlerThatDisablesItsTimerMakesItOneShotAndReenablingRestarts) {
  QtEventLoop loop;
  Timer timer(loop, "once", 15, true);
  int fires = 0;
  timer.onTimer = [&] {
    ++fires;
    timer.stop();
  };
  loop.wait(80);
  EXPECT_EQ(fires, 1);
  timer.start();
  loop.wait(5);
  EXPECT_EQ(fires, 1);  // the interval starts again on enabling
  loop.wait(40);
  EXPECT_EQ(fires, 2);
}

TEST_F(QtEventLoopTest, NestedWaitKeepsTimersRunningAndDoesNotReenterTheWaitingHandler) {
  QtEventLoop loop;
  Timer outer(loop, "outer", 10, true);
  Timer other(loop, "other", 10, true);
  int outerFires = 0;
  int otherFires = 0;
  int maxDepth = 0;
  outer.onTimer = [&] {
    ++outerFires;
    outer.stop();
    outer.start();
    loop.wait(60);  // its own ticks fall due meanwhile and are dropped
  };
  other.onTimer = [&] {
    ++otherFires;
    maxDepth = std::max(maxDepth, loop.waitDepth());
  };
  const Tick start = loop.tick();
  loop.wait(30);
  // The outer wait lasts until the nested one inside the handler has ended.
  EXPECT_GE(loop.tick() - start, 70u);
  EXPECT_EQ(outerFires, 1);
  EXPECT_EQ(maxDepth, 2);
  EXPECT_GE(otherFires, 5);
}

TEST_F(QtEventLoopTest, PostFromOtherThreadsRunsInOrderOnTheLoopThread) {
  QtEventLoop loop;
  std::vector<int> order;
  std::atomic<bool> offThread{false};
  const auto loopThread = std::this_thread::get_id();
  std::thread poster([&] {
    for (int i = 0; i < 50; ++i)
      loop.post([&, i] {
        if (std::this_thread::get_id() != loopThread) offThread = true;
        order.push_back(i);
      });
  });
  poster.join();
  loop.wait(20);
  ASSERT_EQ(order.size(), 50u);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(order[size_t(i)], i);
  EXPECT_FALSE(offThread);
}

TEST_F(QtEventLoopTest, SleepHandlesNothingAndProcessEventsRunsWhatIsPending) {
  QtEventLoop loop;
  bool ran = false;
  loop.post([&] { ran = true; });
  const Tick start = loop.tick();
  loop.sleep(25);
  EXPECT_GE(loop.tick() - start, 25u);
  EXPECT_FALSE(ran);
  loop.processEvents();
  EXPECT_TRUE(ran);
}

TEST_F(QtEventLoopTest, TickWrapsAtTwoToThe32AndEndsTheWaitEarly) {
  QtEventLoop loop(0xFFFFFFFFu - 30);
  const Tick start = loop.tick();
  const auto before = std::chrono::steady_clock::now();
  loop.wait(1000);
  const auto took = std::chrono::steady_clock::now() - before;
  EXPECT_LT(loop.tick(), start);  // wrapped
  EXPECT_LT(loop.tick(), 100u);
  EXPECT_GE(took, std::chrono::milliseconds(25));
  EXPECT_LT(took, std::chrono::milliseconds(500));
}

}  // namespace
}  // namespace audiodsp
