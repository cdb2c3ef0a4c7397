#include "core/manual_loop.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ManualLoop, RunsWhatFallsDueInTimeOrderAndCancels) {
  core::ManualLoop loop;
  std::string order;
  loop.schedule(20, [&] { order += 'b'; });
  auto cancelled = loop.schedule(15, [&] { order += 'x'; });
  loop.schedule(10, [&] { order += 'a'; });
  loop.schedule(20, [&] { order += 'c'; });  // same time: scheduling order
  loop.schedule(0, [&] {
    order += '0';
    loop.schedule(5, [&] { order += 'n'; });  // scheduled from a handler, at 5
  });
  loop.cancel(cancelled);
  loop.cancel(9999);
  loop.advance(19);
  EXPECT_EQ(order, "0na");
  loop.advance(1);
  EXPECT_EQ(order, "0nabc");
  EXPECT_EQ(loop.now(), 20);
  EXPECT_EQ(loop.pending(), 0u);
}

}  // namespace
