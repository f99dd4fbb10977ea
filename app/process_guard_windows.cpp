// The sibling guard on Windows: a Toolhelp snapshot of the processes, and
// TerminateProcess.
#include <windows.h>
// tlhelp32.h needs the types of windows.h.
#include <tlhelp32.h>

#include <string>

#include "app/process_guard.h"
#include "support/wide_text.h"

namespace qiru::app {
namespace {

constexpr DWORD kTerminateWaitMs = 2000;

}  // namespace

std::optional<ProcessId> findSiblingProcess() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  // A snapshot that cannot be taken or walked finds nothing.
  if (snapshot == INVALID_HANDLE_VALUE) return std::nullopt;
  const DWORD self = GetCurrentProcessId();
  std::optional<ProcessId> found;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry)) {
    if (entry.th32ProcessID != self && isSiblingExecutable(qiru::utf8OfWide(entry.szExeFile))) {
      found = static_cast<ProcessId>(entry.th32ProcessID);
    }
  }
  CloseHandle(snapshot);
  return found;
}

bool terminateProcess(ProcessId id) {
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, static_cast<DWORD>(id));
  if (!process) return false;
  const bool terminated = TerminateProcess(process, 0) != 0;
  // Gone once the system has ended it, so that the sibling's files are free.
  if (terminated) WaitForSingleObject(process, kTerminateWaitMs);
  CloseHandle(process);
  return terminated;
}

}  // namespace qiru::app
