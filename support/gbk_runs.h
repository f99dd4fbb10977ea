#pragma once
// How either platform's GBK conversion walks its input: ASCII reads the
// same in GBK and UTF-8 and is copied; only the runs of characters that
// start with a high byte go to the system's converter, which costs far
// more per byte than a copy. A run steps over whole two-byte characters,
// because a trail byte may have an ASCII value.

#include <algorithm>
#include <string>
#include <string_view>

namespace qiru {

// Appends the UTF-8 of `gbk` to `output`: ASCII as it is, each other run
// through convertRun(run, output).
template <typename ConvertRun>
void appendGbkAsUtf8(std::string_view gbk, std::string& output, ConvertRun convertRun) {
  const auto isAscii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
  std::size_t start = 0;
  while (start < gbk.size()) {
    std::size_t end = start;
    while (end < gbk.size() && isAscii(gbk[end])) ++end;
    output.append(gbk.substr(start, end - start));
    start = end;
    while (end < gbk.size() && !isAscii(gbk[end])) end += 2;
    end = std::min(end, gbk.size());
    if (end > start) convertRun(gbk.substr(start, end - start), output);
    start = end;
  }
}

}  // namespace qiru
