#include "app/process_guard.h"

#include <signal.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace qiru::app {
namespace {

// The program a process runs: argv[0] as it started, which keeps the
// Windows name of a program run through a compatibility layer; the name of
// its executable file when argv[0] is empty.
std::string programOf(const std::filesystem::path& process) {
  std::ifstream cmdline(process / "cmdline", std::ios::binary);
  std::string first;
  std::getline(cmdline, first, '\0');
  if (!first.empty()) return first;
  std::error_code error;
  return std::filesystem::read_symlink(process / "exe", error).string();
}

constexpr auto kTerminateGrace = std::chrono::seconds(2);
constexpr auto kTerminatePoll = std::chrono::milliseconds(20);

}  // namespace

std::optional<ProcessId> findSiblingProcess() {
  std::error_code error;
  const ProcessId self = ::getpid();
  for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
    const std::string name = entry.path().filename().string();
    if (name.empty() || !std::all_of(name.begin(), name.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) continue;
    const ProcessId id = std::stol(name);
    if (id != self && isSiblingExecutable(programOf(entry.path()))) return id;
  }
  return std::nullopt;
}

bool terminateProcess(ProcessId id) {
  if (::kill(static_cast<pid_t>(id), SIGTERM) != 0) return false;
  const auto until = std::chrono::steady_clock::now() + kTerminateGrace;
  while (std::chrono::steady_clock::now() < until) {
    if (::kill(static_cast<pid_t>(id), 0) != 0) return true;
    std::this_thread::sleep_for(kTerminatePoll);
  }
  ::kill(static_cast<pid_t>(id), SIGKILL);
  return true;
}

}  // namespace qiru::app
