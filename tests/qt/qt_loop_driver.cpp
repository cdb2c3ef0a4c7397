// The Qt loop in the loop suite, and the hook the window syncs on.
#include <QDeadlineTimer>
#include <QTest>
#include <string>
#include <vector>

#include "loop_conformance.h"
#include "qt/qt_event_loop.h"

namespace {

class QtDriver : public LoopDriver {
 public:
  core::EventLoop& loop() override { return loop_; }
  bool run_until(const std::function<bool()>& done, std::int64_t limit_ms) override {
    return QTest::qWaitFor(done, static_cast<int>(limit_ms));
  }
  std::int64_t own_ms() const override { return QDeadlineTimer::current().deadline(); }
  std::shared_ptr<Readable> readable() override { return MakeSystemReadable(); }
  std::int64_t late_ms() const override { return 50; }

 private:
  qtui::QtEventLoop loop_;
};

const LoopKind qt_loop{"qt", [] { return std::make_unique<QtDriver>(); }};
INSTANTIATE_TEST_SUITE_P(Qt, LoopConformance, testing::Values(qt_loop), LoopName);
INSTANTIATE_TEST_SUITE_P(Qt, ThreadedLoopConformance, testing::Values(qt_loop), LoopName);

TEST(QtEventLoop, HookRunsAfterEveryCall) {
  qtui::QtEventLoop loop;
  std::vector<std::string> log;
  loop.after_event = [&] { log.push_back("sync"); };
  const auto readable = MakeSystemReadable();
  const auto watch = loop.watch_readable(readable->handle(), [&] {
    readable->clear();
    log.push_back("read");
  });
  loop.schedule(5, [&] {
    log.push_back("timer");
    readable->set();
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return log.size() == 4; }, 2000));
  EXPECT_EQ(log, (std::vector<std::string>{"timer", "sync", "read", "sync"}));
  loop.unwatch(watch);
}

}  // namespace
