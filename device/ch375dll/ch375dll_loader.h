#pragma once
// Loading the chip library by name and finding each of its functions.

#include <windows.h>

#include <string>

#include "device/ch375dll/ch375dll_functions.h"

namespace qiru {

struct Ch375DllLoad {
  HMODULE module = nullptr;  // none: it could not be loaded or lacks a function
  Ch375DllFunctions functions;
  // Why not, for the person at the PC (ch375dll_messages.h).
  std::string failure;
};

// Loads the library at `file` (a bare name goes through the system's DLL
// search, the program's folder first). A library that lacks a function is
// released again.
Ch375DllLoad loadCh375Dll(const std::wstring& file);

}  // namespace qiru
