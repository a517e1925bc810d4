#pragma once
// DLL loading restricted to the system folder, so that a DLL planted beside a downloaded program
// is never picked up.

#include <windows.h>

#include "UniqueResource.h"

// First thing in every program entry: limits the DLL search of the process to the system folder and
// preloads the system DLLs that the loader would otherwise look up beside the program.
void restrictDllSearchToSystemFolder();

// Loads a platform DLL ("sxs.dll", "oleacc.dll", "Ws2_32.dll") from the system folder only.
UniqueLibrary loadSystemLibrary(const wchar_t* name);
