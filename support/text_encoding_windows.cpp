// GBK through the system's code page 936 conversions. The results match the
// iconv conversion of other platforms: a byte that does not start a valid
// GBK character becomes one U+FFFD and the next byte gets its chance; a
// character GBK cannot hold, or a broken UTF-8 sequence, becomes one "?".
#include <windows.h>

#include <algorithm>
#include <string>

#include "support/gbk_runs.h"
#include "support/text_encoding.h"
#include "support/wide_text.h"

namespace qiru {
namespace {

constexpr UINT kGbkCodePage = 936;
constexpr char kUtf8Replacement[] = "\xEF\xBF\xBD";
constexpr wchar_t kGbkUnmappable = L'?';

bool isAscii(char c) { return static_cast<unsigned char>(c) < 0x80; }

// The UTF-16 of `gbk`, or empty when the system refuses any of it.
std::wstring strictGbkToWide(std::string_view gbk) {
  const int size = static_cast<int>(gbk.size());
  const int length = MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, gbk.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, gbk.data(), size, wide.data(), length);
  return wide;
}

// Converts a run of bytes that starts with a high byte: whole when the
// system takes it, else one character (two bytes, or one) at a time.
void appendGbkRun(std::string_view run, std::string& output) {
  if (const std::wstring wide = strictGbkToWide(run); !wide.empty()) {
    output += utf8OfWide(wide);
    return;
  }
  std::size_t at = 0;
  while (at < run.size()) {
    if (isAscii(run[at])) {
      output += run[at++];
      continue;
    }
    bool converted = false;
    for (std::size_t width : {std::size_t{2}, std::size_t{1}}) {
      if (at + width > run.size()) continue;
      if (const std::wstring wide = strictGbkToWide(run.substr(at, width)); !wide.empty()) {
        output += utf8OfWide(wide);
        at += width;
        converted = true;
        break;
      }
    }
    if (!converted) {
      output += kUtf8Replacement;
      ++at;
    }
  }
}

// The length of the UTF-8 sequence at the start of `rest` and its code
// point; 0 as the code point when the sequence is broken, its length then
// covering the bytes that belong to it.
std::size_t decodeUtf8(std::string_view rest, char32_t& codePoint) {
  const auto lead = static_cast<unsigned char>(rest.front());
  codePoint = 0;
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  }
  const std::size_t length = lead >= 0xF8 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  if (length == 1) return 1;
  char32_t value = lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    if (i >= rest.size() || (static_cast<unsigned char>(rest[i]) & 0xC0) != 0x80) return i;
    value = (value << 6) | (static_cast<unsigned char>(rest[i]) & 0x3F);
  }
  static constexpr char32_t kSmallestOfLength[] = {0, 0, 0x80, 0x800, 0x10000};
  const bool overlong = value < kSmallestOfLength[length];
  const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
  if (!overlong && !surrogate && value <= 0x10FFFF) codePoint = value;
  return length;
}

}  // namespace

std::string gbkToUtf8(std::string_view gbk) {
  std::string output;
  output.reserve(gbk.size() * 3 / 2 + 4);
  appendGbkAsUtf8(gbk, output, appendGbkRun);
  return output;
}

std::string utf8ToGbk(std::string_view utf8) {
  // Every character outside the basic plane, and every broken sequence,
  // is one "?" already in the UTF-16 handed to the system.
  std::wstring wide;
  wide.reserve(utf8.size());
  while (!utf8.empty()) {
    char32_t codePoint = 0;
    const std::size_t length = decodeUtf8(utf8, codePoint);
    wide += codePoint == 0 && utf8.front() != '\0' ? kGbkUnmappable
            : codePoint > 0xFFFF                   ? kGbkUnmappable
                                                   : static_cast<wchar_t>(codePoint);
    utf8.remove_prefix(length);
  }
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, "?", nullptr);
  if (length <= 0) return {};
  std::string output(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, output.data(), length, "?", nullptr);
  return output;
}

}  // namespace qiru
