#include "ui/question_pane.h"

#include "ui/text_formats.h"

namespace qiru::ui {

void showTwoLines(ControlModel& model, Control pane, const std::string& headline, const std::string& note) {
  RichText content{{headline + "\r\n", kBannerFormat}};
  if (!note.empty()) content.push_back({note, kSubtitleFormat});
  model.setRichText(pane, std::move(content));
}

}  // namespace qiru::ui
