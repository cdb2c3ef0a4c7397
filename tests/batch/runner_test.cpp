#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "batch_bench.h"
#include "config/port_record.h"
#include "firmware/image.h"

namespace {

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(BatchRunner, PlainDownloadFinishesWithTheUnitHoldingTheFile) {
  BatchBench b;
  const std::string image = b.WriteImage("3M0100002.fm0", "3M0100002", 5);
  // Port files beside the program that name another port: --port must win.
  ASSERT_TRUE(config::WritePortFile((b.folder / "com.ini").string(), "COM5"));
  ASSERT_TRUE(config::WritePortFile((b.folder / "com_2.ini").string(), "COM5"));
  EXPECT_EQ(b.Run({"--port", "COM1", "--yes", image}), 0) << b.err.str();
  EXPECT_EQ(b.UnitLetters(), "VSadUBBBBBu");
  const auto file = *firmware::ReadWholeFile(image);
  EXPECT_EQ(b.unit.received, std::vector<std::uint8_t>(file.begin(), file.begin() + 5 * 1024));
  const std::string out = b.out.str();
  for (const char* line : {
           "File info: Version info: 3M0100002",
           "Motormanagement ECU info: Version info: 3M0100002",
           "Motormanagement ECU info: Serial number: 123456",
           "Press the Download button for downloading the new firmware",
           "or press Cancel to abort",
           "> Download",
           "Down-loading firmware",
           "Please wait",
           "Firmware download is ready. Turn the Power off",
           "press the Ok button and close the program",
           "> Ok",
       }) {
    EXPECT_TRUE(HasLine(out, line)) << line << "\n" << out;
  }
  EXPECT_EQ(b.err.str(), "");
  EXPECT_EQ(b.serial.open_log, std::vector<std::string>{"COM1"});
  EXPECT_FALSE(b.serial.line("COM1").open) << "Ok on the finished panel closes the port";
}

TEST(BatchRunner, PortSearchFindsTheUnitOnTheSecondPort) {
  BatchBench b;
  b.serial.add_port("COM7");  // present, but nothing answers there
  b.unit.port = "COM8";
  b.serial.add_port("COM8");
  b.serial.ports_listed = {"COM7", "COM8"};
  const std::string image = b.WriteImage("3M0100002.fm0", "3M0100002", 2);
  EXPECT_EQ(b.Run({"--yes", image}), 0) << b.err.str();
  EXPECT_EQ(b.UnitLetters(), "VVSadUBBu");  // the probe, then the connection on the port found
  EXPECT_FALSE(b.Letters("COM7").empty());
}

TEST(BatchRunner, AFailedPortSearchSaysWhereItLooked) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{}, "there are no serial ports to search"},
      {{"COM7", "COM8"}, "no unit for this file answered on the ports searched (COM7, COM8)"},
  };
  for (const auto& [ports, reason] : cases) {
    SCOPED_TRACE(reason);
    BatchBench b;
    for (const auto& p : ports) b.serial.add_port(p);
    b.serial.ports_listed = ports;
    b.unit.port = "COM1";  // not among those searched
    const std::string image = b.WriteImage("3M0100002.fm0", "3M0100002", 2);
    EXPECT_EQ(b.Run({"--yes", image}), 1);
    EXPECT_TRUE(HasLine(b.out.str(), "No Com port or connection is found")) << b.out.str();
    EXPECT_TRUE(Contains(b.err.str(), reason)) << b.err.str();
    EXPECT_TRUE(b.Letters("COM1").empty());
  }
}

struct StopCase {
  const char* name;
  void (*setup)(PlayedUnit&);
  const char* panel_line;  // printed on stdout
  const char* press;       // the technician's last press
  const char* reason;      // part of the verdict on stderr
  const char* letters;     // what the unit received
};

TEST(BatchRunner, RefusalsStopWithStatusOne) {
  const StopCase cases[] = {
      {"engine", [](PlayedUnit& u) { u.engine_raw = 1; }, "the motor is not running !!!", "> Ok",
       "COM1 refused the download", "VSad"},
      {"battery", [](PlayedUnit& u) { u.battery_raw = 12; },
       "the Battery voltage is higher then 11,0 Volt !!!", "> Ok", "refused the download", "VSad"},
      {"access", [](PlayedUnit& u) { u.access_level = 4; },
       "User access level must be set as above !!!", "> Ok", "user access level", "VSa"},
      {"start", [](PlayedUnit& u) { u.start_status = "NO"; }, "Start firmware download has failed",
       "> Ok", "refused the download", "VSadU"},
      {"older", [](PlayedUnit& u) { u.version = "3M0100003"; },
       "The Version of the Firmware is older", "> Cancel", "--ignore-version", "VS"},
      {"type", [](PlayedUnit& u) { u.version = "3D0100002"; },
       "File type is not compatible to the system", "> Cancel", "--ignore-version", "VS"},
  };
  for (const StopCase& c : cases) {
    SCOPED_TRACE(c.name);
    BatchBench b;
    c.setup(b.unit);
    const std::string image = b.WriteImage("3M0100002.fm0", "3M0100002", 2);
    EXPECT_EQ(b.Run({"--port", "COM1", "--yes", image}), 1);
    EXPECT_TRUE(HasLine(b.out.str(), c.panel_line)) << b.out.str();
    EXPECT_EQ(Lines(b.out.str()).back(), c.press) << b.out.str();
    EXPECT_TRUE(Contains(b.err.str(), c.reason)) << b.err.str();
    EXPECT_TRUE(Contains(b.err.str(), image)) << "the verdict names the file";
    EXPECT_EQ(b.UnitLetters(), c.letters);
  }
}

TEST(BatchRunner, IgnoreVersionPressesIgnoreAndDownloads) {
  for (const char* unit_version : {"3M0100003", "3D0100002"}) {
    SCOPED_TRACE(unit_version);
    BatchBench b;
    b.unit.version = unit_version;
    const std::string image = b.WriteImage("3M0100002.fm0", "3M0100002", 2);
    EXPECT_EQ(b.Run({"--port", "COM1", "--yes", "--ignore-version", image}), 0) << b.err.str();
    EXPECT_TRUE(HasLine(b.out.str(), "> Ignore")) << b.out.str();
    EXPECT_EQ(b.UnitLetters(), "VSadUBBu");
  }
}

TEST(BatchRunner, RetriesPressRetryThenGiveUp) {
  for (int retries : {0, 1, 3}) {
    SCOPED_TRACE(retries);
    BatchBench b;
    b.unit.silent = true;
    const std::string image = b.WriteImage("3M0100002.fm0", "3M0100002", 2);
    EXPECT_EQ(b.Run({"--port", "COM1", "--retries", std::to_string(retries), image}), 1);
    // Each round is the version request and its three repeats.
    EXPECT_EQ(b.Count('V'), 4 * (retries + 1));
    int presses = 0;
    for (const auto& line : Lines(b.out.str())) presses += line.rfind("> Retry (", 0) == 0;
    EXPECT_EQ(presses, retries);
    if (retries > 0) {
      EXPECT_TRUE(HasLine(b.out.str(), "> Retry (" + std::to_string(retries) + " of " +
                                           std::to_string(retries) + ")"));
    }
    EXPECT_EQ(Lines(b.out.str()).back(), "> Cancel");
    EXPECT_TRUE(HasLine(b.out.str(), "Communication is offline"));
    EXPECT_TRUE(Contains(b.err.str(), "no answer from the unit on COM1")) << b.err.str();
    EXPECT_EQ(Contains(b.err.str(), "--retries N"), retries == 0) << b.err.str();
  }
}

TEST(BatchRunner, APortThatCannotBeOpenedIsNamed) {
  BatchBench b;
  const std::string image = b.WriteImage("3M0100002.fm0", "3M0100002", 2);
  EXPECT_EQ(b.Run({"--port", "/dev/ttyUSB9", image}), 1);
  EXPECT_TRUE(Contains(b.err.str(), "no connection on /dev/ttyUSB9")) << b.err.str();
  EXPECT_EQ(b.serial.open_log, std::vector<std::string>{"/dev/ttyUSB9"});
}

// A bridge the program cannot use is named with what is wrong with it, on
// the line of its message box and in the verdict, not as a missing bridge.
TEST(BatchRunner, ABridgeThatCannotBeUsedIsNamedWithWhatIsWrong) {
  const struct {
    const char* name;
    std::optional<std::map<std::uint8_t, std::size_t>> outputs;
    platform::HidAccess access;
    std::string reason;
  } cases[] = {
      {"no output report 2", std::map<std::uint8_t, std::size_t>{{1, 65}},
       platform::HidAccess::read_write,
       "but it is no bridge this program can use: it has no "
       "output report 2"},
      {"held by another program", std::map<std::uint8_t, std::size_t>{{2, 65}},
       platform::HidAccess::in_use, "is plugged in, but another program holds it"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    BatchBench b;
    auto bridge = FakeHid::Bridge("b1");
    bridge.output_reports = c.outputs;
    bridge.access = c.access;
    b.hid.plug(bridge);
    const std::string image = b.WriteImage("5M0100002.fm0", "5M0100002", 2);
    EXPECT_EQ(b.Run({"--yes", image}), 1);
    EXPECT_TRUE(Contains(b.out.str() + b.err.str(), c.reason)) << b.out.str() << b.err.str();
    EXPECT_TRUE(Contains(b.err.str(), c.reason)) << "the verdict says it: " << b.err.str();
    EXPECT_FALSE(Contains(b.err.str(), "no USB HID bridge")) << b.err.str();
    EXPECT_TRUE(b.hid.device("b1").writes.empty());
  }
}

TEST(BatchRunner, PortFailuresArePrintedWithTheSystemsReason) {
  struct Case {
    const char* operation;  // fails on every port
    int code;
    const char* text;
    std::string out_line;  // printed with the offline panel; empty: no panel
    std::string err_part;
    std::string panel_line = "";  // the offline panel's third line, where it has one
  };
  const Case cases[] = {
      {"open", 13, "Permission denied",
       "Last port error: open /dev/ttyUSB0: Permission denied (error 13)",
       "no connection on /dev/ttyUSB0: open /dev/ttyUSB0: Permission denied (error 13); check"},
      {"set baud rate", 22, "Invalid argument",
       "Last port error: set baud rate /dev/ttyUSB0: Invalid argument (error 22)",
       "no connection on /dev/ttyUSB0: set baud rate /dev/ttyUSB0: Invalid argument (error 22); "
       "check",
       "/dev/ttyUSB0 cannot run at 115200 baud"},
      {"write", 5, "Input/output error", "",
       "on /dev/ttyUSB0: error: Communicatie Error: write /dev/ttyUSB0: Input/output error (error "
       "5)\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.operation);
    BatchBench b;
    b.unit.port = "/dev/ttyUSB0";
    b.serial.add_port(b.unit.port);
    b.serial.failing[c.operation] = {c.code, c.text};
    const std::string image = b.WriteImage("3M0100002.fm0", "3M0100002", 2);
    EXPECT_EQ(b.Run({"--port", b.unit.port, "--yes", image}), 1);
    EXPECT_TRUE(Contains(b.err.str(), c.err_part)) << b.err.str();
    if (c.out_line.empty()) continue;
    for (const std::string& line : {std::string("Communication is offline"), c.out_line}) {
      EXPECT_TRUE(HasLine(b.out.str(), line)) << line << "\n" << b.out.str();
    }
    if (!c.panel_line.empty()) {
      EXPECT_TRUE(HasLine(b.out.str(), c.panel_line)) << b.out.str();
    }
    EXPECT_EQ(Contains(b.out.str(), "cannot run at"), !c.panel_line.empty()) << b.out.str();
  }
}

TEST(BatchRunner, ProgressLinesEveryTenthWhenNotATerminal) {
  BatchBench b;
  b.unit.delay_ms = 10;
  const std::string image = b.WriteImage("3M0100002.fm0", "3M0100002", 21);
  ASSERT_EQ(b.Run({"--port", "COM1", "--yes", image}), 0) << b.err.str();
  std::vector<std::string> progress;
  for (const auto& line : Lines(b.out.str())) {
    if (line.find(" %") != std::string::npos) progress.push_back(line);
  }
  ASSERT_EQ(progress.size(), 10u) << b.out.str();
  for (std::size_t i = 0; i < progress.size(); ++i) {
    EXPECT_EQ(progress[i].rfind(std::to_string((i + 1) * 10) + " %", 0), 0u) << progress[i];
  }
  // One block per 10 ms of reply time is 100 KiB/s.
  EXPECT_TRUE(Contains(progress[0], "100.0 KiB/s, 0:00 left")) << progress[0];
  EXPECT_EQ(b.out.str().find('\r'), std::string::npos);
}

TEST(BatchRunner, ProgressBarIsRedrawnInPlaceOnATerminal) {
  BatchBench b;
  b.out_is_terminal = true;
  const std::string image = b.WriteImage("3M0100002.fm0", "3M0100002", 5);
  ASSERT_EQ(b.Run({"--port", "COM1", "--yes", image}), 0) << b.err.str();
  const std::string out = b.out.str();
  EXPECT_TRUE(Contains(out, "\r[##############################] 100 %  block 4 of 4")) << out;
  EXPECT_TRUE(Contains(out, "\r[------------------------------]   0 %  block 0 of 4")) << out;
  // The bar's line is ended before the next panel's lines.
  EXPECT_TRUE(Contains(out, "\x1b[K\nPlease wait\n")) << out;
}

TEST(BatchRunner, WithoutYesTheReadyPanelAsksOrStops) {
  struct Case {
    bool terminal;
    const char* typed;
    int status;
    const char* letters;
  } cases[] = {
      {false, "y\n", 1, "VSad"},  // nobody to ask: stop, whatever stdin holds
      {true, "y\n", 0, "VSadUBBu"}, {true, "yes\n", 0, "VSadUBBu"},
      {true, "n\n", 1, "VSad"},     {true, "", 1, "VSad"},  // end of input
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.typed) + (c.terminal ? " at a terminal" : ""));
    BatchBench b;
    b.in_is_terminal = c.terminal;
    b.in.str(c.typed);
    const std::string image = b.WriteImage("3M0100002.fm0", "3M0100002", 2);
    EXPECT_EQ(b.Run({"--port", "COM1", image}), c.status);
    EXPECT_EQ(b.UnitLetters(), c.letters);
    EXPECT_EQ(Contains(b.out.str(), "? [y/n] "), c.terminal);
    if (!c.terminal) {
      EXPECT_TRUE(Contains(b.err.str(), "--yes")) << b.err.str();
    }
  }
}

TEST(BatchRunner, TimeOutGivesUpOnTheVirtualClock) {
  BatchBench b;
  b.unit.silent = true;
  const std::string image = b.WriteImage("3M0100002.fm0", "3M0100002", 2);
  const std::int64_t start = b.loop.now();
  EXPECT_EQ(b.Run({"--port", "COM1", "--retries", "1000", "--timeout", "7", image}), 1);
  EXPECT_EQ(b.loop.now() - start, 7000);
  EXPECT_TRUE(Contains(b.err.str(), "gave up after 7 s")) << b.err.str();
}

TEST(BatchRunner, RefusedFilesStopBeforeAnyRequest) {
  BatchBench b;
  std::vector<std::uint8_t> damaged(3 * 1024 + 2, 0x11);
  const std::string bad = b.WriteFile("3M0100002.fm0", damaged);
  EXPECT_EQ(b.Run({"--port", "COM1", "--yes", bad}), 1);
  EXPECT_TRUE(HasLine(b.out.str(), "Content of file is demaged")) << b.out.str();
  EXPECT_TRUE(Contains(b.err.str(), "was not accepted")) << b.err.str();

  BatchBench missing;
  const std::string nowhere = (missing.folder / "absent.fm0").string();
  EXPECT_EQ(missing.Run({"--port", "COM1", "--yes", nowhere}), 1);
  EXPECT_TRUE(
      HasLine(missing.err.str(), "zekflash-cli: " + nowhere + ": message: Error on reading file"))
      << missing.err.str();
  EXPECT_TRUE(Contains(missing.err.str(), "was not opened")) << missing.err.str();
  EXPECT_TRUE(missing.serial.all_writes.empty());

  // Not a script of ours: the window says nothing and arms nothing.
  BatchBench foreign;
  const std::string script = foreign.WriteFile("3M0_x.fm1", {'x', '\r', '\n'});
  EXPECT_EQ(foreign.Run({"--port", "COM1", "--yes", script}), 1);
  EXPECT_EQ(foreign.err.str(), "zekflash-cli: " + script +
                                   ": the file was not opened; see what --info says about it, or "
                                   "choose another file\n");
  EXPECT_TRUE(foreign.serial.all_writes.empty());
}

TEST(BatchRunner, AFailureBoxEndsTheRunOnOneLine) {
  BatchBench b;
  b.unit.finish_status = "NO";
  const std::string image = b.WriteImage("3M0100002.fm0", "3M0100002", 2);
  EXPECT_EQ(b.Run({"--port", "COM1", "--yes", image}), 1);
  const auto err = Lines(b.err.str());
  ASSERT_EQ(err.size(), 2u) << b.err.str();
  EXPECT_EQ(err[0], "zekflash-cli: " + image +
                        " on COM1: warning: firmware download has failed !!! Please try again");
  EXPECT_TRUE(Contains(err[1], "the download stopped on COM1")) << err[1];
}

TEST(BatchRunner, TextsFromTheUnitAreMadePrintable) {
  BatchBench b;
  b.unit.version = "3M\x1b[2J\x07\xE9X";
  const std::string image = b.WriteImage("3M0100002.fm0", "3M0100002", 2);
  EXPECT_EQ(b.Run({"--port", "COM1", "--yes", "--ignore-version", image}), 0);
  EXPECT_EQ(b.out.str().find('\x1b'), std::string::npos);
  EXPECT_TRUE(HasLine(b.out.str(), "Motormanagement ECU info: Version info: 3M\\x1B[2J\\x07\\xE9X"))
      << b.out.str();
}

}  // namespace
