#include "app/command_line.h"

#include <gtest/gtest.h>

namespace qiru::app {
namespace {

TEST(CommandLineTest, DefaultIsTheKeyboardAgainstTheSimulatedMachine2) {
  const ParsedCommandLine parsed = parseCommandLine({});
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.options.machines, MachineSource::Keyboard);
  EXPECT_FALSE(parsed.options.blue);
  EXPECT_FALSE(parsed.options.bank);
}

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

TEST(CommandLineTest, WrongCommandLinesSayWhatIsWrong) {
  const struct {
    std::vector<std::string> args;
    std::string saying;
  } cases[] = {
      {{"--colour"}, "unknown argument \"--colour\""},
      {{"--bank"}, "--bank needs a value"},
      {{"--machines", "usb"}, "--machines takes keyboard"},
      {{"--red", "cpm=100"}, "--red plays machine 1 only with --machines bots"},
      {{"--machines", "bots", "--opponent", "cpm=1"}, "machine 2 is --blue BOT"},
      {{"--opponent", "fast"}, "--opponent takes a bot as cpm=N,errors=P"},
      {{"--bank", "a", "--bank", "b"}, "--bank is given twice"},
  };
  for (const auto& c : cases) {
    const std::string error = parseCommandLine(c.args).error;
    EXPECT_NE(error.find(c.saying), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace qiru::app
