#pragma once
// The install path a new installation starts from: the registry value "RootPath" of
// root\Software\tenvale\zorvi when it is a string longer than 3 characters, else the Program Files
// folder + "\tenvale\zorvi". root is HKEY_CURRENT_USER in the program.

#include <windows.h>

#include <string>

std::wstring initialSetupPath(HKEY root);
