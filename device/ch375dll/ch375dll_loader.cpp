#include "device/ch375dll/ch375dll_loader.h"

#include <cstring>

#include "device/ch375dll/ch375dll_messages.h"

namespace qiru {

Ch375DllLoad loadCh375Dll(const std::wstring& file) {
  Ch375DllLoad load;
  // No box of the system's own when the file is missing: the program says
  // what to do in its own words.
  const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadLibraryW(file.c_str());
  SetErrorMode(previousMode);
  if (!module) {
    load.failure = ch375DllMissingText();
    return load;
  }
  FARPROC found[kCh375DllFunctionNames.size()] = {};
  for (std::size_t i = 0; i < kCh375DllFunctionNames.size(); ++i) {
    found[i] = GetProcAddress(module, kCh375DllFunctionNames[i]);
    if (!found[i]) {
      FreeLibrary(module);
      load.failure = ch375DllLacksFunctionText(kCh375DllFunctionNames[i]);
      return load;
    }
  }
  Ch375DllFunctions& functions = load.functions;
  // Function pointers of different types, converted the one way Windows
  // hands them out.
  const auto as = [](FARPROC proc, auto& target) {
    static_assert(sizeof proc == sizeof target);
    std::memcpy(&target, &proc, sizeof target);
  };
  as(found[0], functions.setDeviceNotify);
  as(found[1], functions.openDevice);
  as(found[2], functions.setTimeout);
  as(found[3], functions.writeData);
  as(found[4], functions.readData);
  as(found[5], functions.resetDevice);
  as(found[6], functions.setIntRoutine);
  as(found[7], functions.closeDevice);
  load.module = module;
  return load;
}

}  // namespace qiru
