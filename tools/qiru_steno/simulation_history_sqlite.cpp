// simulate --history where the match history is built in: the history's
// own writer, its problems printed as the command's messages.

#include <optional>

#include "history/history_location.h"
#include "history/history_writer.h"
#include "support/headless_messages.h"
#include "tools/qiru_steno/simulation_history.h"

namespace qiru::cli {
namespace {

class WrittenHistory final : public SimulationHistory {
 public:
  WrittenHistory(const std::filesystem::path& file, std::ostream& err) : messages_(&err), writer_(file, &messages_) {}
  MatchObserver& observer() override { return writer_.observer(); }
  void flush() override { writer_.flush(); }

 private:
  HeadlessMessages messages_;  // outlives the writer, which reports through it
  HistoryWriter writer_;
};

}  // namespace

std::unique_ptr<SimulationHistory> openSimulationHistory(std::string_view option, std::ostream& err,
                                                         std::string& /*refusal*/) {
  const std::filesystem::path file = chooseHistoryFile(option, {});
  if (file.empty()) return nullptr;
  return std::make_unique<WrittenHistory>(file, err);
}

}  // namespace qiru::cli
