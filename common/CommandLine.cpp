#include "CommandLine.h"

#include <cwchar>

namespace {
bool isSeparator(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'=';
}
} // namespace

std::vector<std::wstring> splitCommandLine(const wchar_t* commandLine)
{
    std::vector<std::wstring> tokens;
    if (!commandLine)
        return tokens;
    const wchar_t* p = commandLine;
    while (*p) {
        while (*p && isSeparator(*p))
            ++p;
        if (!*p)
            break;
        if (*p == L'"') {
            if (const wchar_t* close = wcschr(p + 1, L'"')) {
                tokens.emplace_back(p + 1, close);
                p = close + 1;
                continue;
            }
        }
        const wchar_t* start = p;
        while (*p && !isSeparator(*p))
            ++p;
        tokens.emplace_back(start, p);
    }
    return tokens;
}

const std::wstring* findOption(const std::vector<std::wstring>& tokens, const wchar_t* option,
                               bool* present)
{
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i] == option) {
            if (present)
                *present = true;
            return i + 1 < tokens.size() ? &tokens[i + 1] : nullptr;
        }
    }
    if (present)
        *present = false;
    return nullptr;
}
