#include "app/command_line.h"

#include <gtest/gtest.h>

namespace qiru::app {
namespace {

// Without options the start decides: USB machines when one is plugged in,
// else the keyboard, against the simulated machine 2 either way.
TEST(CommandLineTest, DefaultIsAutoAgainstTheSimulatedMachine2) {
  const ParsedCommandLine parsed = parseCommandLine({});
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.options.machines, MachineSource::Auto);
  EXPECT_TRUE(parsed.options.usbIds.empty());
  EXPECT_FALSE(parsed.options.blue);
  EXPECT_FALSE(parsed.options.bank);
}

TEST(CommandLineTest, MachineSources) {
  const struct {
    std::vector<std::string> args;
    MachineSource machines;
  } cases[] = {
      {{"--machines", "auto"}, MachineSource::Auto},
      {{"--machines", "usb"}, MachineSource::Usb},
      {{"--machines", "keyboard"}, MachineSource::Keyboard},
      {{"--machines", "bots"}, MachineSource::Bots},
      // A bot opponent plays beside the keyboard machine, never beside USB machines.
      {{"--opponent", "cpm=100"}, MachineSource::Keyboard},
      {{"--machines", "keyboard", "--opponent", "cpm=100"}, MachineSource::Keyboard},
      {{"--autoplay"}, MachineSource::Bots},
  };
  for (const auto& c : cases) {
    const ParsedCommandLine parsed = parseCommandLine(c.args);
    ASSERT_EQ(parsed.error, "") << c.args.back();
    EXPECT_EQ(parsed.options.machines, c.machines) << c.args.back();
  }
}

#ifdef QIRU_HAS_USB
TEST(CommandLineTest, UsbIdsAddUpInTheirOrder) {
  const ParsedCommandLine parsed =
      parseCommandLine({"--usb-id", "1A86:E010", "--machines", "usb", "--usb-id", "04d8:000a"});
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.options.machines, MachineSource::Usb);
  EXPECT_EQ(parsed.options.usbIds, (std::vector<UsbId>{{0x1A86, 0xE010}, {0x04D8, 0x000A}}));
  EXPECT_EQ(parseCommandLine({"--usb-id", "1a86:e010"}).options.machines, MachineSource::Auto);
}
#endif

TEST(CommandLineTest, OpponentBotPlaysMachine2) {
  const ParsedCommandLine parsed = parseCommandLine({"--opponent", "cpm=120,errors=0.1", "--bank", "/tmp/b"});
  ASSERT_EQ(parsed.error, "");
  ASSERT_TRUE(parsed.options.blue);
  EXPECT_EQ(parsed.options.blue->chordsPerMinute, 120);
  EXPECT_DOUBLE_EQ(parsed.options.blue->wrongChordShare, 0.1);
  EXPECT_EQ(*parsed.options.bank, "/tmp/b");
}

TEST(CommandLineTest, TwoBotsTakeTheirDefaults) {
  const ParsedCommandLine parsed = parseCommandLine({"--machines", "bots", "--red", "cpm=200"});
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.options.red->chordsPerMinute, 200);
  EXPECT_EQ(*parsed.options.blue, BotStyle{});
}

TEST(CommandLineTest, BoxValuesAtTheirLimitsAreTaken) {
  const ParsedCommandLine parsed = parseCommandLine(
      {"--mode", "3", "--minutes", "30", "--entries", "10", "--members", "10", "--flash", "0.3"});
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.options.minutes, "30");
  EXPECT_EQ(parsed.options.flashSeconds, "0.3");
}

TEST(CommandLineTest, WrongCommandLinesSayWhatIsWrong) {
  const struct {
    std::vector<std::string> args;
    std::string saying;
  } cases[] = {
      {{"--colour"}, "unknown argument \"--colour\""},
      {{"--bank"}, "--bank needs a value"},
      {{"--machines", "serial"}, "--machines takes auto (USB machines when one is plugged in, else the keyboard), usb,"},
      {{"--machines", "usb", "--opponent", "cpm=100"}, "--opponent BOT plays against the keyboard machine"},
      {{"--machines", "auto", "--opponent", "cpm=100"}, "with USB machines machine 2 is the second machine"},
      {{"--usb-id"}, "--usb-id needs a value"},
#ifdef QIRU_HAS_USB
      {{"--machines", "keyboard", "--usb-id", "1a86:e010"}, "--usb-id names USB machines"},
      {{"--opponent", "cpm=100", "--usb-id", "1a86:e010"}, "--usb-id names USB machines"},
      {{"--autoplay", "--usb-id", "1a86:e010"}, "--usb-id names USB machines"},
      {{"--usb-id", "1a86"}, "--usb-id takes a vendor and product ID as lsusb shows them"},
      {{"--usb-id", "1a86:5537x"}, "not \"1a86:5537x\""},
#else
      {{"--usb-id", "1a86:e010"}, "this build has no USB support"},
#endif
      {{"--red", "cpm=100"}, "--red plays machine 1 only with --machines bots"},
      {{"--machines", "bots", "--opponent", "cpm=1"}, "machine 2 is --blue BOT"},
      {{"--opponent", "fast"}, "--opponent takes a bot as cpm=N,errors=P"},
      {{"--bank", "a", "--bank", "b"}, "--bank is given twice"},
      // Counts and times outside their box's limits, before anything counts
      // with them (35,792 minutes once overflowed the round's milliseconds).
      {{"--minutes", "35792"}, "--minutes takes a whole number from 1 to 30, not \"35792\""},
      {{"--minutes", "0"}, "--minutes takes a whole number from 1 to 30"},
      {{"--mode", "1", "--entries", "7158279"}, "--entries takes a whole number from 1 to 200"},
      {{"--mode", "3", "--entries", "60"}, "--entries takes a whole number from 1 to 50"},
      {{"--mode", "3", "--members", "0"}, "--members takes a whole number from 1 to 10"},
      {{"--flash", "9"}, "--flash takes a number of seconds above 0 and up to 5, not \"9\""},
      {{"--flash", "0"}, "--flash takes a number of seconds above 0 and up to 5"},
      {{"--entries", "2x"}, "not \"2x\""},
      {{"--minutes", ""}, "--minutes takes a whole number"},
  };
  for (const auto& c : cases) {
    const std::string error = parseCommandLine(c.args).error;
    EXPECT_NE(error.find(c.saying), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace qiru::app
