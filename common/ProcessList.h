#pragma once
// Walking the running processes with Toolhelp snapshots (client checks and terminations by folder).

#include <windows.h>
#include <tlhelp32.h>

#include <functional>
#include <string>

// Calls visit for every process of a process snapshot, until visit returns false. Does nothing when
// no snapshot can be taken.
void forEachProcess(const std::function<bool(const PROCESSENTRY32W& process)>& visit);

// Full path of the first module (the program) of the process; empty when its modules cannot be read
// (higher privilege, already gone).
std::wstring processImagePath(DWORD processId);
