#include "support/text_encoding.h"

#include <algorithm>
#include <cerrno>

#include <iconv.h>

#include "support/gbk_runs.h"

namespace qiru {
namespace {

using SkipLength = std::size_t (*)(std::string_view rest);

// Appends the conversion of `input` to `output`, carrying on past every
// sequence iconv refuses: `replacement` stands for it and `skip` says how
// many bytes it covers.
void convertInto(iconv_t cd, std::string_view input, std::string_view replacement, SkipLength skip,
                 std::string& output) {
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
}

class Converter {
 public:
  Converter(const char* from, const char* to) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

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
  Converter converter("CP936", "UTF-8");
  if (!converter.ok()) return std::string(gbk);
  std::string output;
  output.reserve(gbk.size() * 3 / 2 + 4);
  appendGbkAsUtf8(gbk, output, [&converter](std::string_view run, std::string& into) {
    convertInto(converter.get(), run, "\xEF\xBF\xBD", oneByte, into);
  });
  return output;
}

std::string utf8ToGbk(std::string_view utf8) {
  Converter converter("UTF-8", "CP936");
  if (!converter.ok()) return std::string(utf8);
  std::string output;
  output.reserve(utf8.size() + 4);
  convertInto(converter.get(), utf8, "?", oneUtf8Sequence, output);
  return output;
}

}  // namespace qiru
