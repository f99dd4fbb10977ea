#include <array>
#include <atomic>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "steno/fingering_scheme.h"
#include "support/text_encoding.h"

namespace qiru {
namespace {

enum class Section {
  None,
  Syllable,
  Special,
  Shape,
  English,
  Tone,
  LeftFunction,
  RightFunction,
  Function,
  Player,
  Repeat,
  Forward,
};

struct SectionInfo {
  std::string_view header;
  Section section;
  std::string_view errorName;  // the name the error box shows
  std::int32_t expectedCount;  // sizes the map at reset
};

// The tone section's error names it "[声调码]", as users of the scheme know it.
constexpr SectionInfo kSections[] = {
    {"[音节码]", Section::Syllable, "[音节码]", 413},
    {"[特定码]", Section::Special, "[特定码]", 51},
    {"[内置形码]", Section::Shape, "[内置形码]", 51},
    {"[内置英文]", Section::English, "[内置英文]", 53},
    {"[声调编码]", Section::Tone, "[声调码]", 7},
    {"[左区功能键]", Section::LeftFunction, "[左区功能键]", 51},
    {"[右区功能键]", Section::RightFunction, "[右区功能键]", 51},
    {"[内部功能键]", Section::Function, "[内部功能键]", 51},
    {"[播放器控制]", Section::Player, "[播放器控制]", 51},
    {"[连发功能键]", Section::Repeat, "[连发功能键]", 51},
    {"[转发功能键]", Section::Forward, "[转发功能键]", 51},
};

const SectionInfo* sectionOf(std::string_view header) {
  for (const SectionInfo& info : kSections) {
    if (info.header == header) return &info;
  }
  return nullptr;
}

CodeMap* mapOf(FingeringScheme& scheme, Section section) {
  switch (section) {
    case Section::Syllable: return &scheme.syllableMap;
    case Section::Special: return &scheme.specialMap;
    case Section::Shape: return &scheme.shapeMap;
    case Section::English: return &scheme.englishMap;
    case Section::Tone: return &scheme.toneMap;
    case Section::LeftFunction: return &scheme.leftFunctionMap;
    case Section::RightFunction: return &scheme.rightFunctionMap;
    case Section::Function:
    case Section::Player: return &scheme.functionMap;
    case Section::Repeat: return &scheme.repeatMap;
    case Section::Forward: return &scheme.forwardMap;
    case Section::None: break;
  }
  return nullptr;
}

bool isTwoArea(Section section) {
  return section == Section::Function || section == Section::Player || section == Section::Repeat ||
         section == Section::Forward;
}

// Up to three TAB-separated fields; text after a third TAB is dropped and
// empty fields at the end are not counted.
struct Fields {
  std::array<std::string_view, 3> field;
  std::size_t count = 0;
  std::string_view operator[](std::size_t i) const { return field[i]; }
  std::size_t size() const { return count; }
};

Fields fieldsOf(std::string_view line) {
  Fields fields;
  std::size_t start = 0;
  while (fields.count < 3) {
    const auto tab = line.find('\t', start);
    fields.field[fields.count++] = line.substr(start, tab == std::string_view::npos ? tab : tab - start);
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
  while (fields.count > 0 && fields.field[fields.count - 1].empty()) --fields.count;
  return fields;
}

// The leading decimal digits of a tone field; anything else reads as 0.
std::int32_t integerValueOf(std::string_view text) {
  return static_cast<std::int32_t>(std::strtol(std::string(text).c_str(), nullptr, 10));
}

std::string_view firstCandidate(std::string_view characters) {
  return characters.substr(0, characters.find(' '));
}

class LineLoader {
 public:
  LineLoader(FingeringScheme& scheme, MessageService* messages) : scheme_(scheme), messages_(messages) {}

  void load(std::string_view line) {
    if (line.empty() || line.front() == '\\' || line.front() == '/') return;
    if (line.front() == '[') {
      current_ = sectionOf(line);
      return;
    }
    if (!current_) return;
    const auto fields = fieldsOf(line);
    if (fields.size() < 2) return;
    if (!store(current_->section, fields)) report(line);
  }

 private:
  bool store(Section section, const Fields& fields) {
    const ChordCodec& codec = scheme_.codec;
    const std::int32_t key = isTwoArea(section) ? codec.twoAreaCodeOf(fields[0]) : codec.keySetOf(fields[0]);
    if (key <= 0) return false;
    CodeMap& map = *mapOf(scheme_, section);
    switch (section) {
      case Section::Syllable: {
        const std::int32_t number = syllableNumber(scheme_.dictionary, fields[1]);
        if (number <= 0) return false;
        map.put(key, number);
        return true;
      }
      case Section::Tone:
        map.put(key, integerValueOf(fields[1]));
        return true;
      case Section::Special:
        // A line without a pinyin field keeps an empty pinyin.
        appendAndPut(map, key, firstCandidate(fields[1]));
        scheme_.schemeTextPool.append(fields.size() > 2 ? fields[2] : std::string_view{});
        return true;
      default:
        appendAndPut(map, key, fields[1]);
        return true;
    }
  }

  // The text goes into the pool even when the chord is taken already; the
  // first definition of a chord stays in force.
  void appendAndPut(CodeMap& map, std::int32_t key, std::string_view text) {
    scheme_.schemeTextPool.append(text);
    map.put(key, scheme_.schemeTextPool.count());
  }

  void report(std::string_view line) {
    if (!messages_) return;
    MessageRequest request;
    request.caption = std::string(kSchemeErrorCaption);
    request.text = "错误定义行：\r\n" + std::string(current_->errorName) + "\r\n" + std::string(line);
    request.owner = MessageOwner::None;
    messages_->show(request);
  }

  FingeringScheme& scheme_;
  MessageService* messages_;
  const SectionInfo* current_ = nullptr;
};

}  // namespace

bool loadFingeringScheme(FingeringScheme& scheme, std::string_view schemeGbk,
                         std::string_view dictionaryBlock, MessageService* messages) {
  loadSyllableDictionary(dictionaryBlock, scheme.dictionary);
  for (const SectionInfo& info : kSections) mapOf(scheme, info.section)->reset(info.expectedCount);
  scheme.schemeTextPool.clear();
  scheme.codec.setKeyNames(kKeyNames, kKeyNames, true);

  // CR, LF and TAB never occur inside a GBK character, so the text can be
  // converted first and split afterwards.
  const std::string text = gbkToUtf8(schemeGbk);
  LineLoader loader(scheme, messages);
  std::string_view rest = text;
  while (true) {
    const auto end = rest.find("\r\n");
    loader.load(rest.substr(0, end));
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 2);
  }
  return true;
}

namespace {

std::mutex publishedMutex;
std::vector<std::unique_ptr<FingeringScheme>> publishedSchemes;  // kept until exit
const FingeringScheme emptyScheme{};
std::atomic<const FingeringScheme*> current{&emptyScheme};

}  // namespace

const FingeringScheme& currentScheme() { return *current.load(std::memory_order_acquire); }

void publishScheme(std::unique_ptr<FingeringScheme> scheme) {
  std::lock_guard lock(publishedMutex);
  publishedSchemes.push_back(std::move(scheme));
  current.store(publishedSchemes.back().get(), std::memory_order_release);
}

}  // namespace qiru
