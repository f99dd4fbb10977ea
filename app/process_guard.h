#pragma once
// The sibling guard's view of the system's processes: finding a process by
// its executable's name and ending it. Linux reads /proc; a Windows build
// would walk a Toolhelp snapshot behind the same two functions.

#include <optional>
#include <string>
#include <string_view>

namespace qiru::app {

// The sibling main program of the product: the Windows name, and the name
// it has as a native Linux program.
inline constexpr std::string_view kSiblingExecutable = "QiruStenoMain.exe";
inline constexpr std::string_view kSiblingExecutableLinux = "QiruStenoMain";

using ProcessId = long;

// Whether an executable's file name is the sibling's, compared without
// regard to case. `path` may be a full path with '/' or '\' separators.
bool isSiblingExecutable(std::string_view path);

// The first other process whose executable is the sibling; none when there
// is none or the process list cannot be read.
std::optional<ProcessId> findSiblingProcess();

// Asks the process to end, and waits up to 2 seconds for it to be gone
// before ending it by force. False when it could not be signalled.
bool terminateProcess(ProcessId id);

}  // namespace qiru::app
