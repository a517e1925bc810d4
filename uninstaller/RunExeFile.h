#pragma once
// Starting a program with only the parameter text as its command line.

#include <string>

// Starts program (as application name) with parameters as its whole command line, without handle
// inheritance, in the caller's environment and current folder. With wait, waits at most 10 s.
// Failures are logged; nothing is started when the parameter text is too long (4095 characters
// at most) or CreateProcessW fails.
void runExeFile(const std::wstring& program, const std::wstring& parameters, bool wait);
