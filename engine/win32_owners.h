#pragma once
// Owners of the kernel's handles and of memory the system hands out with LocalAlloc. Windows
// only: included by the _win32.cpp files and the windows, never by a portable header.

#include <windows.h>

#include "owned.h"

namespace quilvane {

inline void CloseKernelHandle(HANDLE handle) { CloseHandle(handle); }
inline void FreeLocalMemory(void* memory) { LocalFree(memory); }

// A process, event, token or file handle. Functions that report failure with
// INVALID_HANDLE_VALUE are checked before their handle is given to an owner.
using UniqueHandle = Owned<HANDLE, CloseKernelHandle>;

// What FormatMessage, CommandLineToArgvW, CryptProtectData and the certificate decoder
// allocate for their caller.
template <class Object>
using LocalMemory = Owned<Object*, FreeLocalMemory>;

}  // namespace quilvane
