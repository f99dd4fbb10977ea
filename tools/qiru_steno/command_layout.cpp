// qiru-steno layout WIDTH HEIGHT [--state STATE] [--mode MODE]: where the
// main window's controls sit at a given window size, match state and mode.

#include <charconv>
#include <optional>
#include <ostream>
#include <string_view>

#include "support/match_types.h"
#include "tools/qiru_steno/command.h"
#include "ui/control_model.h"
#include "ui/control_table.h"
#include "ui/main_window_layout.h"
#include "ui/window_setup.h"

namespace qiru::cli {
namespace {

constexpr int kMaxWindowSidePx = 100000;

struct LayoutRequest {
  ui::Size size;
  MatchState state = MatchState::Idle;
  MatchMode mode = MatchMode::TimedRace;
};

std::optional<int> wholeNumber(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<int> windowSide(std::string_view what, std::string_view text, int example, std::ostream& err) {
  const std::optional<int> value = wholeNumber(text);
  if (!value || *value < 1 || *value > kMaxWindowSidePx) {
    err << "qiru-steno layout: " << what << " \"" << text << "\" is not a size in pixels;"
        << " give a whole number from 1 to " << kMaxWindowSidePx << ", such as " << example << "\n";
    return std::nullopt;
  }
  return value;
}

bool readState(std::string_view text, LayoutRequest& request, std::ostream& err) {
  const std::optional<MatchState> state = matchStateFromName(text);
  if (!state) {
    err << "qiru-steno layout: there is no match state \"" << text
        << "\"; use Idle, Running, CountingDown, Closing or ResultShown\n";
    return false;
  }
  request.state = *state;
  return true;
}

bool readMode(std::string_view text, LayoutRequest& request, std::ostream& err) {
  const std::optional<int> mode = wholeNumber(text);
  if (!mode || *mode < 0 || *mode >= kMatchModeCount) {
    err << "qiru-steno layout: there is no mode \"" << text
        << "\"; use 0 (双人计时赛), 1 (双人争先赛), 2 (双人抢答赛) or 3 (团队接力赛)\n";
    return false;
  }
  request.mode = static_cast<MatchMode>(*mode);
  return true;
}

std::optional<LayoutRequest> parse(const std::vector<std::string>& args, std::ostream& err) {
  LayoutRequest request;
  std::vector<std::string_view> sides;
  for (std::size_t at = 0; at < args.size(); ++at) {
    const std::string_view arg = args[at];
    if (arg == "--state" || arg == "--mode") {
      if (at + 1 == args.size()) {
        err << "qiru-steno layout: " << arg << " needs a value, such as "
            << (arg == "--state" ? "--state Running" : "--mode 1") << "\n";
        return std::nullopt;
      }
      const std::string_view value = args[++at];
      if (!(arg == "--state" ? readState(value, request, err) : readMode(value, request, err))) {
        return std::nullopt;
      }
    } else if (arg.starts_with("--") || sides.size() == 2) {
      err << "qiru-steno layout: \"" << arg << "\" is not understood; the arguments are"
          << " WIDTH HEIGHT [--state STATE] [--mode MODE]\n";
      return std::nullopt;
    } else {
      sides.push_back(arg);
    }
  }
  if (sides.size() < 2) {
    err << "qiru-steno layout: give the window's WIDTH and HEIGHT in pixels, such as: layout 800 700\n";
    return std::nullopt;
  }
  const std::optional<int> width = windowSide("WIDTH", sides[0], 800, err);
  if (!width) return std::nullopt;
  const std::optional<int> height = windowSide("HEIGHT", sides[1], 700, err);
  if (!height) return std::nullopt;
  request.size = {*width, *height};
  return request;
}

int runLayout(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const std::optional<LayoutRequest> request = parse(args, err);
  if (!request) return kUsageError;

  ui::ControlModel model;
  ui::setUpMainWindow(model);
  model.setHandler(ui::Control::QiruPK, ui::EventKind::SizeChanged, [&](const ui::ControlEvent&) {
    ui::layOutMainWindow(model, request->state, request->mode);
  });
  model.resizeWindow(request->size);

  const ui::Rect window = model.geometry(ui::Control::QiruPK);
  if (window.width != request->size.width || window.height != request->size.height) {
    err << "qiru-steno layout: the window does not go below " << ui::kMainWindowMinimumSize.width
        << " x " << ui::kMainWindowMinimumSize.height << "; laid out at " << window.width << " x "
        << window.height << "\n";
  }
  for (const ui::ControlSpec& spec : ui::controlTable()) {
    const ui::ControlState state = model.state(spec.control);
    const ui::Rect& g = state.geometry;
    out << spec.name << '\t' << g.left << '\t' << g.top << '\t' << g.width << '\t' << g.height << '\t'
        << (state.shown ? 1 : 0) << '\n';
  }
  return 0;
}

}  // namespace

extern const Command kLayoutCommand{
    "layout",
    "layout WIDTH HEIGHT [--state STATE] [--mode MODE]",
    "Lays the main window out at WIDTH x HEIGHT pixels, as the running program\n"
    "does after start-up, and prints one line per control in creation order:\n"
    "name, left, top, width, height and 1 when shown or 0 when hidden, separated\n"
    "by TABs. Positions are relative to the control's parent.\n"
    "STATE is the match state (Idle, Running, CountingDown, Closing, ResultShown;\n"
    "Idle when omitted); MODE the match mode: 0 双人计时赛 (default), 1 双人争先赛,\n"
    "2 双人抢答赛, 3 团队接力赛. A size below 770 x 590 is laid out at the minimum.\n"
    "Exit status 2 when the arguments cannot be read.",
    runLayout,
};

}  // namespace qiru::cli
