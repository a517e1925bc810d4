#pragma once
// The command-line tokeniser both programs use. Separators are blank, tab, newline and "=". A token
// that begins with a double quote and has a closing one is the text between them, separators
// included; any other token runs to the next separator or the end (so an unterminated quote stays
// part of its token).

#include <string>
#include <vector>

std::vector<std::wstring> splitCommandLine(const wchar_t* commandLine);

// The token after the first exact match of option; null when the option is absent or last.
// present tells whether the option was found at all.
const std::wstring* findOption(const std::vector<std::wstring>& tokens, const wchar_t* option,
                               bool* present = nullptr);
