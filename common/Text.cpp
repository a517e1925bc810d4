#include "Text.h"

#include <windows.h>

std::string wideToMultiByte(const wchar_t* text, int length, unsigned codePage)
{
    if (!text || length < -1 || length == 0)
        return {};
    const int bytes = WideCharToMultiByte(codePage, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return {};
    std::string result(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(codePage, 0, text, length, result.data(), bytes, nullptr, nullptr);
    if (length == -1 && !result.empty() && result.back() == '\0')
        result.pop_back();
    return result;
}

std::wstring multiByteToWide(const char* text, int length, unsigned codePage)
{
    if (!text || length < -1 || length == 0)
        return {};
    const int chars = MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
    if (chars <= 0)
        return {};
    std::wstring result(static_cast<size_t>(chars), L'\0');
    MultiByteToWideChar(codePage, 0, text, length, result.data(), chars);
    if (length == -1 && !result.empty() && result.back() == L'\0')
        result.pop_back();
    return result;
}

std::wstring trimBlanks(const std::wstring& text)
{
    const size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos)
        return {};
    const size_t last = text.find_last_not_of(L' ');
    return text.substr(first, last - first + 1);
}

bool hasInvalidPathChars(const std::wstring& text)
{
    return text.find_first_of(L"/:*?\"<>|") != std::wstring::npos;
}

bool equalsIgnoreAsciiCase(const std::wstring& a, const std::wstring& b)
{
    if (a.size() != b.size())
        return false;
    const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}
