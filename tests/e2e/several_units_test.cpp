// A production line's bench: four front ends at once, each downloading its own
// image to its own simulated unit over its own pseudo-terminal.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "process.h"
#include "temp_dir.h"
#include "test_image.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Unit {
  std::string version;  // of the image; the unit runs one older
  int blocks;
};

// Each unit's image differs from the others' in length and in every byte behind
// the header, so that an image delivered to the wrong unit, or blocks crossing
// between lines, cannot pass.
std::vector<std::uint8_t> ImageFor(const Unit& unit, int index) {
  auto bytes = BlockImage(unit.blocks, unit.version, "0030");
  constexpr std::size_t header = 16;
  for (std::size_t i = header; i + 2 < bytes.size(); ++i) {
    bytes[i] = static_cast<std::uint8_t>(bytes[i] ^ (0x5b * (index + 1)) ^ (i >> 10));
  }
  SealImage(bytes);
  return bytes;
}

struct TimedRun {
  Finished run;
  Clock::time_point start, end;
};

TEST(SeveralUnits, FourDownloadsAtOnceEachUnitHoldsItsOwnImage) {
  const Unit units[] = {{"3M0100002", 23}, {"6M0100002", 40}, {"3M0100002", 31}, {"8M0100002", 17}};
  TempDir dir;
  std::vector<std::vector<std::uint8_t>> images;
  std::vector<std::unique_ptr<Background>> sims;
  std::vector<std::future<TimedRun>> runs;
  for (int i = 0; i < 4; ++i) {
    const Unit& unit = units[i];
    images.push_back(ImageFor(unit, i));
    std::string unit_version = unit.version;
    unit_version.back() = static_cast<char>(unit_version.back() - 1);
    sims.push_back(std::make_unique<Background>(
        ZEK_ECU_SIM_PATH,
        std::vector<std::string>{"--version", unit_version, "--pace", "--received",
                                 dir / ("received" + std::to_string(i))}));
    ASSERT_FALSE(sims.back()->first_line().empty()) << "simulated unit " << i << " did not start";
  }
  // Started only once every unit is up, so that the four downloads overlap.
  for (int i = 0; i < 4; ++i) {
    const std::string image =
        dir.write("unit" + std::to_string(i) + "/" + units[i].version + ".fm0", images[i]);
    const std::vector<std::string> args{"--yes",  "--timeout",           "60",
                                        "--port", sims[i]->first_line(), image};
    runs.push_back(std::async(std::launch::async, [args] {
      TimedRun timed;
      timed.start = Clock::now();
      timed.run = RunToEnd(ZEKFLASH_CLI_PATH, args, {"ZEKFLASH_PORTS="}, 90000);
      timed.end = Clock::now();
      return timed;
    }));
  }
  Clock::time_point last_start, first_end = Clock::time_point::max();
  for (int i = 0; i < 4; ++i) {
    const TimedRun timed = runs[i].get();
    const Finished& run = timed.run;
    last_start = std::max(last_start, timed.start);
    first_end = std::min(first_end, timed.end);
    EXPECT_EQ(run.status, 0) << "unit " << i << "\n" << run.out << run.err;
    sims[i]->Stop();
    const auto received = FileBytes(dir / ("received" + std::to_string(i)));
    const std::vector<std::uint8_t> blocks(images[i].begin(),
                                           images[i].begin() + units[i].blocks * 1024);
    EXPECT_TRUE(received == blocks) << "unit " << i << " holds " << received.size()
                                    << " bytes, not its file's " << blocks.size();
  }
  // The units take their time over each byte, so this holds only when the four
  // downloads really ran side by side.
  EXPECT_LT(last_start, first_end) << "the downloads did not overlap";
}

}  // namespace
