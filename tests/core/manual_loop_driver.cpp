// The manual loop in the loop suite, and what it promises beyond it: the
// count of calls left and the time to the next, on which other tests rely.
#include <vector>

#include "core/manual_loop.h"
#include "loop_conformance.h"

namespace {

// Virtual time moves a millisecond a round, and each round every readable
// handle is signalled, as a real loop serves one while it stays readable.
class ManualDriver : public LoopDriver {
 public:
  core::EventLoop& loop() override { return loop_; }

  bool run_until(const std::function<bool()>& done, std::int64_t limit_ms) override {
    for (const std::int64_t end = advanced_ + limit_ms;; ++advanced_) {
      for (const auto& handle : handles_) {
        if (const auto h = handle.lock(); h && h->on) loop_.signal(h->handle());
      }
      if (done()) return true;
      if (advanced_ == end) return false;
      loop_.advance(1);
    }
  }
  std::int64_t own_ms() const override { return advanced_; }

  std::shared_ptr<Readable> readable() override {
    auto handle = std::make_shared<Handle>(static_cast<core::Waitable>(100 + handles_.size()));
    handles_.push_back(handle);
    return handle;
  }

  std::int64_t late_ms() const override { return 0; }

 private:
  struct Handle : Readable {
    explicit Handle(core::Waitable h) : h(h) {}
    core::Waitable handle() const override { return h; }
    void set() override { on = true; }
    void clear() override { on = false; }
    const core::Waitable h;
    bool on = false;
  };

  core::ManualLoop loop_;
  std::int64_t advanced_ = 0;  // the milliseconds it moved the clock
  std::vector<std::weak_ptr<Handle>> handles_;
};

INSTANTIATE_TEST_SUITE_P(Manual, LoopConformance,
                         testing::Values(LoopKind{"manual",
                                                  [] { return std::make_unique<ManualDriver>(); }}),
                         LoopName);

TEST(ManualLoop, CountsTheCallsLeftAndTheTimeToTheNext) {
  core::ManualLoop loop;
  EXPECT_EQ(loop.next_due_in(), -1);
  const auto first = loop.schedule(10, [] {});
  loop.schedule(25, [] {});
  EXPECT_EQ(loop.pending(), 2u);
  EXPECT_EQ(loop.next_due_in(), 10);
  loop.cancel(first);
  loop.advance(5);
  EXPECT_EQ(loop.pending(), 1u);
  EXPECT_EQ(loop.next_due_in(), 20);
  loop.advance(20);
  EXPECT_EQ(loop.pending(), 0u);
  EXPECT_EQ(loop.next_due_in(), -1);
}

}  // namespace
