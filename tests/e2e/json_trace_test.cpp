// What zekflash-cli writes for other programs and for support, from real runs
// against the simulated unit: the JSON events of --json and the --trace file.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "json_value.h"
#include "process.h"
#include "temp_dir.h"
#include "test_image.h"

namespace {

constexpr int blocks = 6;  // the gauge runs from block 0 to block 5

// Every line of `out` as strict JSON, each an object naming its event.
std::vector<JsonValue> Events(const std::string& out) {
  std::vector<JsonValue> events;
  std::size_t from = 0;
  while (from < out.size()) {
    const std::size_t end = out.find('\n', from);
    EXPECT_NE(end, std::string::npos) << "the last line has no line end:\n" << out;
    if (end == std::string::npos) break;
    const std::string line = out.substr(from, end - from);
    std::string error;
    const auto value = ParseJson(line, &error);
    EXPECT_TRUE(value && value->is_obj() && (*value)["event"].v.index() == 3)
        << error << ": " << line;
    if (value && value->is_obj()) events.push_back(*value);
    from = end + 1;
  }
  return events;
}

std::vector<const JsonValue*> OfKind(const std::vector<JsonValue>& events, const char* kind) {
  std::vector<const JsonValue*> found;
  for (const JsonValue& e : events) {
    if (e["event"].str() == kind) found.push_back(&e);
  }
  return found;
}

TEST(JsonEvents, ARealDownloadAndAFailedOneAreJsonLinesEndingInTheirExitStatus) {
  TempDir dir;
  const std::string image = dir.write("3M0100002.fm0", BlockImage(blocks, "3M0100002", "0030"));
  Background sim(ZEK_ECU_SIM_PATH, {"--version", "3M0100001"});
  ASSERT_FALSE(sim.first_line().empty()) << "the simulated unit did not start";
  const Finished good = RunToEnd(
      ZEKFLASH_CLI_PATH, {"--json", "--yes", "--timeout", "30", "--port", sim.first_line(), image},
      {"ZEKFLASH_PORTS="}, 60000);
  sim.Stop();
  // A unit whose serial number holds a byte that is no UTF-8 and a control
  // character, and that refuses to start the download.
  Background refusing(ZEK_ECU_SIM_PATH,
                      {"--version", "3M0100001", "--start-status", "NO", "--serial",
                       "12\xe9\x01"
                       "56"});
  ASSERT_FALSE(refusing.first_line().empty()) << "the simulated unit did not start";
  const Finished bad =
      RunToEnd(ZEKFLASH_CLI_PATH,
               {"--json", "--yes", "--timeout", "30", "--port", refusing.first_line(), image},
               {"ZEKFLASH_PORTS="}, 60000);
  refusing.Stop();

  for (const Finished* run : {&good, &bad}) {
    const auto events = Events(run->out);
    ASSERT_FALSE(events.empty()) << run->err;
    const JsonValue& end = events.back();
    EXPECT_EQ(end["event"].str(), "end") << run->out;
    ASSERT_TRUE(run->status.has_value());
    EXPECT_EQ(end["exit_status"].num(), *run->status) << run->out;
    EXPECT_FALSE(end["reason"].str().empty());
    EXPECT_EQ(OfKind(events, "end").size(), 1u);
  }

  EXPECT_EQ(good.status, 0) << good.out << good.err;
  const auto events = Events(good.out);
  const auto progress = OfKind(events, "progress");
  ASSERT_FALSE(progress.empty()) << good.out;
  EXPECT_EQ((*progress.back())["block"].num(), blocks - 1);
  EXPECT_EQ((*progress.back())["blocks"].num(), blocks - 1);
  ASSERT_FALSE((*progress.back())["rate"].is_null()) << good.out;
  EXPECT_GT((*progress.back())["rate"].num(), 0);
  EXPECT_EQ((*progress.back())["seconds_left"].num(), 0);
  const auto units = OfKind(events, "unit");
  ASSERT_FALSE(units.empty()) << good.out;
  EXPECT_EQ((*units.back())["version"].str(), "3M0100001");
  bool ready_offered_download = false;
  for (const JsonValue* panel : OfKind(events, "panel")) {
    if ((*panel)["name"].str() != "Panel_ready_for_download") continue;
    for (const JsonValue& b : (*panel)["buttons"].arr()) {
      if (b.str() == "Download") ready_offered_download = true;
    }
  }
  EXPECT_TRUE(ready_offered_download) << good.out;

  EXPECT_EQ(bad.status, 1);
  const auto refused = Events(bad.out);
  EXPECT_TRUE(OfKind(refused, "progress").empty()) << bad.out;
  const auto refusing_units = OfKind(refused, "unit");
  ASSERT_FALSE(refusing_units.empty()) << bad.out;
  EXPECT_EQ((*refusing_units.back())["serial"].str(),
            "12\xc3\xa9\x01"
            "56");
}

// `text` holds each of `parts` in this order.
::testing::AssertionResult InOrder(const std::string& text, const std::vector<std::string>& parts) {
  std::size_t at = 0;
  for (const std::string& part : parts) {
    const std::size_t found = text.find(part, at);
    if (found == std::string::npos) {
      return ::testing::AssertionFailure() << "no \"" << part << "\" after offset " << at << " in\n"
                                           << text.substr(0, 4000);
    }
    at = found + part.size();
  }
  return ::testing::AssertionSuccess();
}

// The CRC-32 of zip and PNG, summed here rather than by the program.
std::uint32_t Crc32Of(const std::vector<std::uint8_t>& bytes) {
  std::uint32_t crc = ~0u;
  for (const std::uint8_t b : bytes) {
    crc ^= b;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ ((crc & 1) != 0 ? 0xEDB88320u : 0u);
  }
  return ~crc;
}

// The wall time now, written as a trace's heading writes it.
std::string UtcNow() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  gmtime_r(&now, &parts);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &parts);
  return text;
}

TEST(Trace, ADownloadsTraceHoldsTheFileTheBytesThePanelsAndTheTimersInOrder) {
  EXPECT_EQ(Crc32Of({'1', '2', '3', '4', '5', '6', '7', '8', '9'}), 0xCBF43926u);
  TempDir dir;
  const auto bytes = BlockImage(2, "3M0100002", "0030");
  const std::string image = dir.write("3M0100002.fm0", bytes);
  Background sim(ZEK_ECU_SIM_PATH, {"--version", "3M0100001"});
  ASSERT_FALSE(sim.first_line().empty()) << "the simulated unit did not start";
  const std::string port = sim.first_line();
  const std::string before = UtcNow();
  const Finished run =
      RunToEnd(ZEKFLASH_CLI_PATH, {"--yes", "--timeout", "30", "--port", port, image},
               {"ZEKFLASH_PORTS=", "ZEKFLASH_TRACE=" + (dir / "trace.txt")}, 60000);
  const std::string after = UtcNow();
  sim.Stop();
  EXPECT_EQ(run.status, 0) << run.out << run.err;

  const std::string trace = FileText(dir / "trace.txt");
  // Such times sort as their texts do.
  const std::string started = trace.substr(trace.find("started: ") + 9, before.size());
  EXPECT_TRUE(before <= started && started <= after) << before << " " << started << " " << after;
  char crc[16];
  std::snprintf(crc, sizeof crc, "%08x", Crc32Of(bytes));
  // The version request ('V') and the unit's answer, which starts with its version text.
  EXPECT_TRUE(InOrder(
      trace, {"version: ZEK Firmware downloader " ZEK_VERSION "\nstarted: ",
              "file \"" + image + "\" size " + std::to_string(bytes.size()) + " crc32 " + crc,
              "timer Timer4 enabled, interval", "timer Timer4 fired", "sent \"" + port + "\" 56",
              "received \"" + port + "\"", " 33 4d 30 31 30 30 30 30 31",
              "panel Panel_ready_for_download shown \"Press the Download button"}));

  const Finished refused = RunToEnd(
      ZEKFLASH_CLI_PATH, {"--trace", dir / "no/such/folder/trace.txt", "--port", port, image},
      {"ZEKFLASH_PORTS="}, 30000);
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("trace file " + (dir / "no/such/folder/trace.txt") +
                             " cannot be written: No such file or directory"),
            std::string::npos)
      << refused.err;
}

}  // namespace
