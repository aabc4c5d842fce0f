#include <gtest/gtest.h>
#include <time.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/real_time_loop.h"
#include "platform/timer.h"
#include "platform/virtual_loop.h"

namespace audiodsp {
namespace {

constexpr Tick kTop = 0xFFFFFFFFu;

struct WaitCase {
  Tick start;
  uint32_t ms;
  uint32_t elapsed;  // virtual milliseconds the wait takes
};

class WaitEnd : public ::testing::TestWithParam<WaitCase> {};

TEST_P(WaitEnd, EndsAtTheDeadlineOrAtTheWrap) {
  const WaitCase& c = GetParam();
  VirtualLoop loop(c.start);
  int ticks = 0;
  Timer timer(loop, "t", 1, true);
  timer.onTimer = [&] { ++ticks; };
  loop.wait(c.ms);
  EXPECT_EQ(loop.micros(), uint64_t{c.elapsed} * 1000);
  EXPECT_EQ(loop.tick(), static_cast<Tick>(c.start + c.elapsed));
  // The timers kept running during the wait, once per millisecond.
  EXPECT_EQ(ticks, static_cast<int>(c.elapsed));
}

INSTANTIATE_TEST_SUITE_P(Waits, WaitEnd,
                         ::testing::Values(WaitCase{0, 100, 100}, WaitCase{5000, 0, 0},
                                           WaitCase{kTop - 9, 1000, 10}, WaitCase{kTop - 9, 10, 10},
                                           WaitCase{kTop - 9, 5, 5}, WaitCase{kTop, 50, 1},
                                           WaitCase{kTop - 99, 100, 100}));

TEST(VirtualWait, StartsAtWholeTicksLikeTheTickCounter) {
  VirtualLoop loop;
  loop.sleepMicros(10'500);  // tick 10, half way to 11
  loop.wait(50);
  EXPECT_EQ(loop.tick(), 60u);
  EXPECT_EQ(loop.micros(), 60'000u);
}

TEST(VirtualWait, JumpsToTheNextDueTimeInsteadOfSpinning) {
  VirtualLoop loop;
  int fired = 0;
  Timer timer(loop, "t", 3'600'000, true);  // once an hour
  timer.onTimer = [&] { ++fired; };
  const auto before = std::chrono::steady_clock::now();
  loop.wait(24u * 3'600'000);  // a day of virtual time
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(200));
  EXPECT_EQ(fired, 24);
  EXPECT_EQ(loop.tick(), 24u * 3'600'000);
}

TEST(VirtualWait, NestedWaitsEndByTheirOwnStarts) {
  VirtualLoop loop;
  std::vector<std::string> log;
  Timer inner(loop, "inner", 90, true);
  inner.onTimer = [&] {
    inner.stop();
    log.push_back("inner-start@" + std::to_string(loop.tick()));
    loop.wait(50);  // runs past the outer deadline
    log.push_back("inner-end@" + std::to_string(loop.tick()));
  };
  Timer other(loop, "other", 25, true);
  other.onTimer = [&] { log.push_back("other@" + std::to_string(loop.tick())); };
  loop.wait(100);
  log.push_back("outer-end@" + std::to_string(loop.tick()));
  EXPECT_EQ(log, (std::vector<std::string>{"other@25", "other@50", "other@75", "inner-start@90", "other@100",
                                           "other@125", "inner-end@140", "outer-end@140"}));
}

TEST(VirtualWait, HandlesPostedEventsAndEventsTheyPost) {
  VirtualLoop loop;
  std::vector<std::string> log;
  loop.post([&] {
    log.push_back("a@" + std::to_string(loop.tick()));
    loop.post([&] { log.push_back("c@" + std::to_string(loop.tick())); });
  });
  loop.post([&] { log.push_back("b@" + std::to_string(loop.tick())); });
  loop.postAtMicros(30'500, [&] { log.push_back("late@" + std::to_string(loop.micros())); });
  loop.wait(40);
  EXPECT_EQ(log, (std::vector<std::string>{"a@0", "b@0", "c@0", "late@30500"}));
  EXPECT_EQ(loop.tick(), 40u);
}

TEST(VirtualSleep, HandlesNothingAndMovesTheClock) {
  VirtualLoop loop(1000);
  int events = 0;
  int ticks = 0;
  Timer timer(loop, "t", 10, true);
  timer.onTimer = [&] { ++ticks; };
  loop.post([&] { ++events; });
  loop.sleep(100);
  EXPECT_EQ(loop.tick(), 1100u);
  EXPECT_EQ(events, 0);
  EXPECT_EQ(ticks, 0);
  loop.runPending();
  EXPECT_EQ(events, 1);
  EXPECT_EQ(ticks, 1);  // one late tick, not ten
  EXPECT_EQ(loop.tick(), 1100u);
}

TEST(VirtualAdvance, RunsEverythingDueUpToTheTargetAndStops) {
  VirtualLoop loop;
  std::vector<uint64_t> at;
  loop.postAtMicros(999, [&] { at.push_back(loop.micros()); });
  loop.postAtMicros(1000, [&] { at.push_back(loop.micros()); });
  loop.postAtMicros(1001, [&] { at.push_back(loop.micros()); });
  loop.advance(1);
  EXPECT_EQ(at, (std::vector<uint64_t>{999, 1000}));
  loop.advanceMicros(1);
  EXPECT_EQ(at, (std::vector<uint64_t>{999, 1000, 1001}));
}

TEST(VirtualPost, FromOtherThreadsInOrderPerThread) {
  VirtualLoop loop;
  std::vector<int> got;
  std::thread::id ranOn;
  std::thread poster([&] {
    for (int i = 0; i < 1000; ++i) {
      loop.post([&, i] {
        got.push_back(i);
        ranOn = std::this_thread::get_id();
      });
    }
  });
  poster.join();
  loop.runPending();
  ASSERT_EQ(got.size(), 1000u);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(got[static_cast<size_t>(i)], i);
  EXPECT_EQ(ranOn, std::this_thread::get_id());
}

double processCpuMs() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

TEST(RealTimeLoop, IdleWaitBlocksInsteadOfSpinning) {
  RealTimeLoop loop;
  const double cpuBefore = processCpuMs();
  const auto before = std::chrono::steady_clock::now();
  const Tick start = loop.tick();
  loop.wait(300);
  const auto elapsed = std::chrono::steady_clock::now() - before;
  const double cpu = processCpuMs() - cpuBefore;
  EXPECT_GE(loop.tick() - start, 300u);
  EXPECT_GE(elapsed, std::chrono::milliseconds(299));
  EXPECT_LT(elapsed, std::chrono::milliseconds(600));
  EXPECT_LT(cpu, 30.0) << "the wait used " << cpu << " ms of CPU in 300 ms";
}

TEST(RealTimeLoop, TimersAndPostsFromAnotherThreadRunDuringAWait) {
  RealTimeLoop loop;
  int ticks = 0;
  Timer timer(loop, "t", 50, true);
  timer.onTimer = [&] { ++ticks; };
  std::atomic<int> events{0};
  std::thread::id ranOn;
  std::thread poster([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    loop.post([&] {
      ++events;
      ranOn = std::this_thread::get_id();
    });
  });
  loop.wait(230);
  poster.join();
  EXPECT_GE(ticks, 2);  // a loaded machine may drop a late tick
  EXPECT_LE(ticks, 4);
  EXPECT_EQ(events.load(), 1);
  EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST(RealTimeLoop, WaitEndsAtTheWrapOfTheTick) {
  RealTimeLoop loop(kTop - 29);
  const auto before = std::chrono::steady_clock::now();
  loop.wait(5000);
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(1000));
  EXPECT_LT(loop.tick(), 1000u);  // wrapped
}

TEST(RealTimeLoop, SleepHandlesNothing) {
  RealTimeLoop loop;
  int events = 0;
  loop.post([&] { ++events; });
  const Tick start = loop.tick();
  loop.sleep(40);
  EXPECT_GE(loop.tick() - start, 40u);
  EXPECT_EQ(events, 0);
  loop.processEvents();
  EXPECT_EQ(events, 1);
}

TEST(RealTimeLoop, RunEndsWhenAnotherThreadQuits) {
  RealTimeLoop loop;
  std::atomic<int> events{0};
  std::thread poster([&] {
    for (int i = 0; i < 100; ++i) loop.post([&] { ++events; });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    loop.quit();
  });
  const double cpuBefore = processCpuMs();
  loop.run();
  const double cpu = processCpuMs() - cpuBefore;
  poster.join();
  EXPECT_EQ(events.load(), 100);
  EXPECT_LT(cpu, 30.0);
}

}  // namespace
}  // namespace audiodsp
