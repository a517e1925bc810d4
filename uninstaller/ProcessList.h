#pragma once
// Walking the running processes with Toolhelp snapshots, for the client check and the cleaner.

#include <windows.h>

#include <functional>
#include <string>

// Calls visit(processId, executable name) for every process of a process snapshot, until visit
// returns false. Does nothing when no snapshot can be taken.
void forEachProcess(const std::function<bool(DWORD processId, const wchar_t* exeName)>& visit);

// Full path of the first module of the process; empty when its modules cannot be read (other
// bitness, higher privilege, already gone).
std::wstring processImagePath(DWORD processId);

// Equality that ignores the case of the letters A to Z only.
bool equalsIgnoreAsciiCase(const std::wstring& a, const std::wstring& b);
