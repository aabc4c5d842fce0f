#include "platform/timer.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/virtual_loop.h"

namespace audiodsp {
namespace {

// One timer of 100 ms started at tick 0; `at50` runs at tick 50; the loop then runs to tick 350.
struct TimerCase {
  const char* name;
  bool enabledAtCreation;
  std::function<void(Timer&)> at50;
  bool stopsItself;
  std::vector<Tick> fires;
};

class TimerSemantics : public ::testing::TestWithParam<TimerCase> {};

TEST_P(TimerSemantics, FiresAtTheExpectedTicks) {
  const TimerCase& c = GetParam();
  VirtualLoop loop;
  Timer timer(loop, "Timer1", 100, c.enabledAtCreation);
  std::vector<Tick> fires;
  timer.onTimer = [&] {
    fires.push_back(loop.tick());
    if (c.stopsItself) timer.stop();
  };
  Timer at50(loop, "at50", 50, true);
  at50.onTimer = [&] {
    at50.stop();
    if (c.at50) c.at50(timer);
  };
  loop.advance(350);
  EXPECT_EQ(fires, c.fires);
  EXPECT_EQ(loop.tick(), 350u);
}

INSTANTIATE_TEST_SUITE_P(
    Timers, TimerSemantics,
    ::testing::Values(
        TimerCase{"FiresEveryInterval", true, nullptr, false, {100, 200, 300}},
        TimerCase{"CreatedDisabledNeverFires", false, nullptr, false, {}},
        TimerCase{
            "StartedLaterCountsFromTheStart", false, [](Timer& t) { t.start(); }, false, {150, 250, 350}},
        TimerCase{"EnablingAnEnabledTimerDoesNotRestart",
                  true,
                  [](Timer& t) { t.setEnabled(true); },
                  false,
                  {100, 200, 300}},
        TimerCase{"DisableThenEnableRestarts",
                  true,
                  [](Timer& t) {
                    t.stop();
                    t.start();
                  },
                  false,
                  {150, 250, 350}},
        TimerCase{"StoppedTimerStaysQuiet", true, [](Timer& t) { t.stop(); }, false, {}},
        TimerCase{"HandlerStoppingItselfIsOneShot", true, nullptr, true, {100}},
        TimerCase{"NewIntervalRestarts",
                  true,
                  [](Timer& t) { t.setInterval(60); },
                  false,
                  {110, 170, 230, 290, 350}},
        TimerCase{
            "SameIntervalDoesNotRestart", true, [](Timer& t) { t.setInterval(100); }, false, {100, 200, 300}},
        TimerCase{"IntervalZeroNeverFires", true, [](Timer& t) { t.setInterval(0); }, false, {}},
        TimerCase{"IntervalSetWhileDisabledAppliesOnStart",
                  false,
                  [](Timer& t) {
                    t.setInterval(120);
                    t.start();
                  },
                  false,
                  {170, 290}}),
    [](const ::testing::TestParamInfo<TimerCase>& info) { return std::string(info.param.name); });

TEST(TimerOrder, DueTimeThenEventsThenCreationOrder) {
  VirtualLoop loop;
  std::vector<std::string> log;
  auto record = [&](const std::string& what) { log.push_back(what + "@" + std::to_string(loop.tick())); };
  Timer a(loop, "A", 100);
  Timer b(loop, "B", 100);
  Timer c(loop, "C", 100);
  Timer d(loop, "D", 40);
  for (Timer* t : {&a, &b, &c, &d}) t->onTimer = [&record, t] { record(t->name()); };
  // Started in reverse order at the same tick: creation order still decides.
  c.start();
  b.start();
  a.start();
  d.start();
  loop.postAtMicros(100'000, [&] { record("event1"); });
  loop.postAtMicros(100'000, [&] { record("event2"); });
  loop.advance(120);
  EXPECT_EQ(log, (std::vector<std::string>{"D@40", "D@80", "event1@100", "event2@100", "A@100", "B@100",
                                           "C@100", "D@120"}));
}

TEST(TimerReentry, HandlerWaitingInsideIsNotEnteredAgainAndKeepsItsRhythm) {
  VirtualLoop loop;
  std::vector<std::string> log;
  Timer t(loop, "T", 100, true);
  Timer u(loop, "U", 100, true);
  bool first = true;
  t.onTimer = [&] {
    log.push_back("T@" + std::to_string(loop.tick()));
    if (first) {
      first = false;
      EXPECT_TRUE(t.running());
      loop.wait(250);
      log.push_back("T-back@" + std::to_string(loop.tick()));
    }
  };
  u.onTimer = [&] { log.push_back("U@" + std::to_string(loop.tick())); };
  loop.advance(450);
  EXPECT_EQ(log,
            (std::vector<std::string>{"T@100", "U@100", "U@200", "U@300", "T-back@350", "T@400", "U@400"}));
  EXPECT_FALSE(t.running());
}

TEST(TimerReentry, HandlerMayStartStopOtherTimersAndWait) {
  VirtualLoop loop;
  std::vector<std::string> log;
  Timer send(loop, "sendTimer", 10, true);
  Timer write(loop, "Timer7", 200);
  Timer pause(loop, "Timer4", 300);
  send.onTimer = [&] {
    log.push_back("take@" + std::to_string(loop.tick()));
    send.stop();
    write.start();
  };
  write.onTimer = [&] {
    write.stop();
    loop.wait(50);
    log.push_back("write@" + std::to_string(loop.tick()));
    pause.start();
  };
  pause.onTimer = [&] {
    pause.stop();
    log.push_back("resume@" + std::to_string(loop.tick()));
    send.start();
  };
  loop.advance(1200);
  EXPECT_EQ(log, (std::vector<std::string>{"take@10", "write@260", "resume@560", "take@570", "write@820",
                                           "resume@1120", "take@1130"}));
}

TEST(TimerLifetime, HandlerMayDestroyItsOwnTimer) {
  VirtualLoop loop;
  auto timer = std::make_unique<Timer>(loop, "once", 10, true);
  int fired = 0;
  timer->onTimer = [&] {
    ++fired;
    timer.reset();
  };
  loop.advance(100);
  EXPECT_EQ(fired, 1);
  EXPECT_EQ(timer, nullptr);
}

TEST(TimerLifetime, DestroyedTimerNeverFires) {
  VirtualLoop loop;
  int fired = 0;
  {
    Timer timer(loop, "gone", 10, true);
    timer.onTimer = [&] { ++fired; };
  }
  loop.advance(100);
  EXPECT_EQ(fired, 0);
}

TEST(TimerLateTicks, TicksMissedDuringSleepAreDroppedNotBurst) {
  VirtualLoop loop;
  std::vector<Tick> fires;
  Timer timer(loop, "t", 30, true);
  timer.onTimer = [&] { fires.push_back(loop.tick()); };
  loop.sleep(100);
  EXPECT_TRUE(fires.empty());
  loop.advance(50);
  EXPECT_EQ(fires, (std::vector<Tick>{100, 120, 150}));
}

}  // namespace
}  // namespace audiodsp
