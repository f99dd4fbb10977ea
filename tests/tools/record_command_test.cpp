// qiru-steno record: command lines it refuses before it touches a machine,
// each with a text that says what to write instead.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tools/qiru_steno/command.h"

namespace qiru::cli {
extern const Command kRecordCommand;
}  // namespace qiru::cli

namespace qiru {
namespace {

TEST(RecordCommand, WrongCommandLinesAreUsageErrors) {
  const struct {
    std::vector<std::string> args;
    std::string saying;
  } cases[] = {
      {{}, "name one report log to write"},
      {{"a.log", "b.log"}, "name one report log to write"},
      {{"--machine", "3", "a.log"}, "--machine takes 1 (the first machine in USB port order) or 2"},
      {{"--machine", "1", "--machine", "2", "a.log"}, "--machine is given twice"},
      {{"--seconds", "0", "a.log"}, "--seconds takes a number of seconds above 0 and up to 86400"},
      {{"--seconds", "-5", "a.log"}, "--seconds takes a number"},
      {{"--seconds", "10s", "a.log"}, "not \"10s\""},
      {{"--seconds", "nan", "a.log"}, "--seconds takes a number"},
      {{"--seconds", "86400.5", "a.log"}, "a day, the most a log may span"},
      {{"--seconds", "5", "--seconds", "6", "a.log"}, "--seconds is given twice"},
      {{"--usb-id", "1a86-5537", "a.log"}, "--usb-id takes a vendor and product ID as lsusb shows them"},
      {{"--usb-id", "1a86:55377", "a.log"}, "not \"1a86:55377\""},
      {{"a.log", "--usb-id"}, "--usb-id needs a value"},
      {{"--device", "1", "a.log"}, "unknown option \"--device\""},
  };
  for (const auto& c : cases) {
    std::ostringstream out, err;
    const int status = cli::kRecordCommand.run(c.args, out, err);
    EXPECT_EQ(status, cli::kUsageError) << err.str();
    EXPECT_NE(err.str().find(c.saying), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("qiru-steno record --help"), std::string::npos) << err.str();
    EXPECT_EQ(out.str(), "");
  }
}

}  // namespace
}  // namespace qiru
