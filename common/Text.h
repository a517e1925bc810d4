#pragma once
// Text conversion at file and API boundaries, and small text tests shared by the path helpers.

#include <string>

// WideCharToMultiByte / MultiByteToWideChar. length -1 converts up to the terminator (which is not
// part of the result); null text or another negative length gives an empty result.
std::string wideToMultiByte(const wchar_t* text, int length, unsigned codePage);
std::wstring multiByteToWide(const char* text, int length, unsigned codePage);

// The text without blanks (only U+0020) at its start and end.
std::wstring trimBlanks(const std::wstring& text);
// Whether the text holds one of / : * ? " < > |
bool hasInvalidPathChars(const std::wstring& text);
// Equality that ignores the case of the letters A to Z only.
bool equalsIgnoreAsciiCase(const std::wstring& a, const std::wstring& b);
