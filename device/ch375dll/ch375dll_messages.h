#pragma once
// What the person at the PC reads when the chip library cannot be used:
// one box, naming the file and what to install.

#include <string>
#include <string_view>

namespace qiru {

inline constexpr std::string_view kCh375DllMessageCaption = "错误信息：";

// CH375DLL.DLL is not there (or cannot be loaded).
std::string ch375DllMissingText();
// CH375DLL.DLL was loaded but has no function of this name.
std::string ch375DllLacksFunctionText(std::string_view function);

}  // namespace qiru
