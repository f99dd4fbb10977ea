#pragma once
// What a control looks like now: the properties the program reads and
// writes at run time. One record serves every kind; each kind uses the
// fields that make sense for it.

#include <string>
#include <vector>

#include "ui/control_table.h"
#include "ui/rich_text.h"

namespace qiru::ui {

struct ComboItem {
  std::string text;
  int value = 0;  // the item value (a material's position in the bank's list)
  friend bool operator==(const ComboItem&, const ComboItem&) = default;
};

struct StatusPane {
  std::string text;
  int width = 0;
  friend bool operator==(const StatusPane&, const StatusPane&) = default;
};

inline constexpr int kNoCurrentItem = -1;

struct ControlState {
  // Every kind.
  Rect geometry;
  bool shown = true;    // its own flag: a child of a hidden box keeps it
  bool enabled = true;
  std::string text;     // caption, window title or edit box text
  Colour textColour = kSystemColour;
  Colour background = kSystemColour;
  Font font;
  Alignment alignment = Alignment::Left;

  // Edit boxes.
  EditStyle editStyle;
  Margins margins;
  // Lines (0-based) of a multi-line box drawn as warnings: a key log's
  // wrong chords. A new text clears them.
  std::vector<int> markedLines;
  // CR LF pairs in text, kept as it grows: a key log's next line number
  // without a pass over the whole log at every chord.
  std::size_t lineBreaks = 0;

  // Rich edit boxes.
  RichText richText;
  CharFormat charFormat;  // the format of text written next
  ParagraphFormat paragraphFormat;
  Insets formatInsets;    // the formatting rectangle, inward from the box's edges

  // Combo box: items and the current item's index (kNoCurrentItem: none).
  std::vector<ComboItem> comboItems;
  int currentItem = kNoCurrentItem;

  // Tab controls: page captions and the current page's index.
  std::vector<std::string> pages;
  int currentPage = 0;

  // Status bar: one pane per side.
  std::vector<StatusPane> panes;

  int timerPeriodMs = 0;  // timer: 0 = stopped
  bool checked = false;   // check box
  bool framed = true;     // shape box: draws its frame line
  Size minimumSize;       // window: the size it refuses to go below
};

// The state of a control as the table creates it.
ControlState initialState(const ControlSpec& spec);

}  // namespace qiru::ui
