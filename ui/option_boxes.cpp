#include "ui/option_boxes.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace qiru::ui {

namespace {

constexpr int kTenthsPerUnit = 10;

constexpr std::array<OptionBox, 6> kOptionBoxes{{
    {Control::编辑框_限时, 1, 30, false},       // minutes per round
    {Control::编辑框_争先, 20, 200, false},     // entries per round
    {Control::编辑框_抢答, 20, 200, false},     // entries per round
    {Control::编辑框_团队人数, 2, 10, false},   // members per team
    {Control::编辑框_团队条数, 10, 50, false},  // entries per member's round
    {Control::编辑框_闪灭, 3, 50, true},        // flash time, tenths of a second
}};

// The leading part of the text that reads as a number: an optional sign,
// digits, and for decimals one point with more digits.
std::string_view leadingNumber(std::string_view text, bool decimal) {
  std::size_t end = 0;
  if (end < text.size() && (text[end] == '-' || text[end] == '+')) ++end;
  bool point = false;
  for (; end < text.size(); ++end) {
    const char c = text[end];
    if (c == '.' && decimal && !point) {
      point = true;
    } else if (c < '0' || c > '9') {
      break;
    }
  }
  return text.substr(0, end);
}

int steps(const OptionBox& option, std::string_view text) {
  if (!option.tenths) return integerValue(text);
  const double tenths = std::floor(decimalValue(text) * kTenthsPerUnit);
  return static_cast<int>(std::clamp<double>(tenths, std::numeric_limits<int>::min(),
                                             std::numeric_limits<int>::max()));
}

// Limits compare with this much slack, as the flash time's tenths are not
// exact in binary (0.3 × 10 is just below 3).
constexpr double kLimitTolerance = 1e-7;

// The text's value in steps of the box (tenths for the flash time), as
// typed: not rounded, and beyond what an int holds when the text is.
double valueInSteps(const OptionBox& option, std::string_view text) {
  return decimalValue(leadingNumber(text, option.tenths)) * (option.tenths ? kTenthsPerUnit : 1);
}

std::string textOf(const OptionBox& option, int value) {
  if (!option.tenths || value % kTenthsPerUnit == 0) {
    return std::to_string(option.tenths ? value / kTenthsPerUnit : value);
  }
  return std::to_string(value / kTenthsPerUnit) + "." + std::to_string(value % kTenthsPerUnit);
}

// Steps the box by direction; fit() brings the new value back into range.
template <typename Fit>
void step(ControlModel& model, Control box, int direction, Fit fit) {
  const std::optional<OptionBox> option = findOptionBox(box);
  if (!option) return;
  const std::int64_t value = static_cast<std::int64_t>(steps(*option, model.text(box))) + direction;
  model.setText(box, textOf(*option, fit(*option, value)));
}

}  // namespace

std::optional<OptionBox> findOptionBox(Control control) {
  for (const OptionBox& option : kOptionBoxes) {
    if (option.box == control) return option;
  }
  return std::nullopt;
}

bool acceptsText(const OptionBox& option, std::string_view text) {
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  const auto points = std::count(text.begin(), text.end(), '.');
  const auto digits = std::count_if(text.begin(), text.end(), isDigit);
  return static_cast<std::size_t>(digits + points) == text.size() && points <= (option.tenths ? 1 : 0) &&
         valueInSteps(option, text) <= option.upper + kLimitTolerance;
}

std::optional<std::string> refusalOf(Control box, std::string_view text) {
  const std::optional<OptionBox> option = findOptionBox(box);
  if (!option || (!text.empty() && acceptsText(*option, text) && valueInSteps(*option, text) > 0)) return std::nullopt;
  const std::string upper = textOf(*option, option->upper);
  const std::string limits =
      option->tenths ? "a number of seconds above 0 and up to " + upper : "a whole number from 1 to " + upper;
  return "takes " + limits + ", not \"" + std::string(text) + "\"";
}

bool enterText(ControlModel& model, Control control, std::string text) {
  const std::optional<OptionBox> option = findOptionBox(control);
  if (option && !acceptsText(*option, text)) return false;
  model.setText(control, std::move(text));
  return true;
}

int integerValue(std::string_view text) {
  const std::string_view number = leadingNumber(text, false);
  std::int64_t value = 0;
  const char* first = number.data() + (number.starts_with('+') ? 1 : 0);
  const auto [end, error] = std::from_chars(first, number.data() + number.size(), value);
  if (error == std::errc::result_out_of_range) {
    value = number.starts_with('-') ? std::numeric_limits<std::int64_t>::min()
                                    : std::numeric_limits<std::int64_t>::max();
  }
  return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

double decimalValue(std::string_view text) {
  const std::string_view number = leadingNumber(text, true);
  double value = 0;
  const char* first = number.data() + (number.starts_with('+') ? 1 : 0);
  std::from_chars(first, number.data() + number.size(), value);
  return value;
}

void adjustSetting(ControlModel& model, Control box, int direction) {
  step(model, box, direction, [](const OptionBox& option, std::int64_t value) {
    if (value > option.upper) return option.lower;
    if (value < option.lower) return option.upper;
    return static_cast<int>(value);
  });
}

void spinSetting(ControlModel& model, Control box, int direction) {
  step(model, box, direction, [](const OptionBox& option, std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, option.lower, option.upper));
  });
}

void installOptionStepping(ControlModel& model) {
  for (const OptionBox& option : kOptionBoxes) {
    model.setHandler(option.box, EventKind::MouseWheel, [&model](const ControlEvent& event) {
      adjustSetting(model, event.control, event.argument);
    });
    model.setHandler(option.box, EventKind::SpinButton, [&model, option](const ControlEvent& event) {
      if (option.tenths) {
        adjustSetting(model, event.control, event.argument);
      } else {
        spinSetting(model, event.control, event.argument);
      }
    });
  }
}

Control entryBoxOf(MatchMode mode) {
  switch (mode) {
    case MatchMode::RaceToFinish:
      return Control::编辑框_争先;
    case MatchMode::QuickAnswer:
      return Control::编辑框_抢答;
    case MatchMode::TeamRelay:
    case MatchMode::TimedRace:
      break;
  }
  return Control::编辑框_团队条数;
}

}  // namespace qiru::ui
