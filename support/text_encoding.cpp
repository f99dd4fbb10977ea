#include "support/text_encoding.h"

#include <algorithm>
#include <cerrno>

#if defined(_WIN32)
#error "text_encoding.cpp: the Windows conversion (MultiByteToWideChar, code page 936) is not written yet"
#else
#include <iconv.h>
#endif

namespace qiru {
namespace {

using SkipLength = std::size_t (*)(std::string_view rest);

// One conversion that carries on past every sequence iconv refuses:
// `replacement` stands for it and `skip` says how many bytes it covers.
std::string convert(const char* from, const char* to, std::string_view input,
                    std::string_view replacement, SkipLength skip) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(input);
  std::string output;
  output.reserve(input.size() * 3 / 2 + 4);
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  char buffer[4096];
  while (inLeft > 0) {
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
    output.append(buffer, static_cast<std::size_t>(out - buffer));
    if (result != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
    // EILSEQ, or EINVAL for a sequence cut off at the end of the input.
    const std::size_t length = std::min(inLeft, skip(std::string_view(in, inLeft)));
    output.append(replacement);
    in += length;
    inLeft -= length;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  iconv_close(cd);
  return output;
}

// A broken GBK lead byte is dropped alone, so the next byte gets its chance.
std::size_t oneByte(std::string_view) { return 1; }

// A character GBK cannot hold is skipped whole, so it becomes one "?".
std::size_t oneUtf8Sequence(std::string_view rest) {
  const auto lead = static_cast<unsigned char>(rest.front());
  std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  for (std::size_t i = 1; i < length; ++i) {
    if (i >= rest.size() || (static_cast<unsigned char>(rest[i]) & 0xC0) != 0x80) return i;
  }
  return length;
}

}  // namespace

std::string gbkToUtf8(std::string_view gbk) {
  return convert("CP936", "UTF-8", gbk, "\xEF\xBF\xBD", oneByte);
}

std::string utf8ToGbk(std::string_view utf8) {
  return convert("UTF-8", "CP936", utf8, "?", oneUtf8Sequence);
}

}  // namespace qiru
