#include <windows.h>

#include <gtest/gtest.h>

#include "Text.h"

namespace {

TEST(Text, ConvertsUtf8BothWays)
{
    const std::wstring wide = L"Zorvi\u7cbe\u5f69\u4e16\u754c";
    const std::string utf8 = wideToMultiByte(wide.c_str(), -1, CP_UTF8);
    EXPECT_EQ(utf8, "Zorvi\xe7\xb2\xbe\xe5\xbd\xa9\xe4\xb8\x96\xe7\x95\x8c");
    EXPECT_EQ(multiByteToWide(utf8.c_str(), -1, CP_UTF8), wide);
    EXPECT_EQ(multiByteToWide(utf8.c_str(), 5, CP_UTF8), L"Zorvi");
    EXPECT_EQ(wideToMultiByte(wide.c_str(), 3, CP_UTF8), "Zor");
}

TEST(Text, RejectsNullAndNegativeLengths)
{
    EXPECT_EQ(wideToMultiByte(nullptr, -1, CP_UTF8), "");
    EXPECT_EQ(wideToMultiByte(L"abc", -2, CP_UTF8), "");
    EXPECT_EQ(multiByteToWide(nullptr, 3, CP_UTF8), L"");
    EXPECT_EQ(multiByteToWide("abc", -5, CP_UTF8), L"");
    EXPECT_EQ(multiByteToWide("", -1, CP_UTF8), L"");
}

TEST(Text, TrimsBlanksAndFindsInvalidPathCharacters)
{
    const std::pair<const wchar_t*, const wchar_t*> trims[] = {
        {L"", L""}, {L"   ", L""}, {L"  a b  ", L"a b"}, {L"\ta\t", L"\ta\t"}, {L"x", L"x"}};
    for (const auto& [in, out] : trims)
        EXPECT_EQ(trimBlanks(in), out) << testing::PrintToString(std::wstring(in));

    for (const wchar_t* bad : {L"a/b", L"a:b", L"a*", L"?", L"\"", L"<", L">", L"|"})
        EXPECT_TRUE(hasInvalidPathChars(bad)) << testing::PrintToString(std::wstring(bad));
    for (const wchar_t* good : {L"", L"Games\\Zorvi", L"My Games (x86)", L"\u7cbe\u5f69"})
        EXPECT_FALSE(hasInvalidPathChars(good)) << testing::PrintToString(std::wstring(good));
}

TEST(Text, EqualityIgnoringOnlyAsciiCaseAsTable)
{
    struct Case {
        const wchar_t* a;
        const wchar_t* b;
        bool equal;
    };
    const Case cases[] = {
        {L"C:\\Games\\Zorvi.exe", L"c:\\GAMES\\zorvi.EXE", true},
        {L"", L"", true},
        {L"Zorvi", L"Zorvi ", false},
        {L"\u00c9t\u00e9", L"\u00e9t\u00e9", false},  // only A to Z
        {L"[", L"{", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(equalsIgnoreAsciiCase(c.a, c.b), c.equal) << testing::PrintToString(std::wstring(c.a));
}

} // namespace
