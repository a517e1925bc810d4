#include <gtest/gtest.h>

#include "CommandLine.h"

namespace {

struct TokenCase {
    const wchar_t* commandLine;
    std::vector<std::wstring> tokens;
};

TEST(CommandLine, SplitsAsTable)
{
    const TokenCase cases[] = {
        {L"", {}},
        {L"   \t\n= ", {}},
        {L"setup.exe", {L"setup.exe"}},
        {L"\"C:\\My Dir\\setup.exe\" -silence", {L"C:\\My Dir\\setup.exe", L"-silence"}},
        {L"setup.exe -silence=D:\\Games", {L"setup.exe", L"-silence", L"D:\\Games"}},
        {L"setup.exe -silence \"D:\\My Games\"", {L"setup.exe", L"-silence", L"D:\\My Games"}},
        {L"a\tb\nc=d", {L"a", L"b", L"c", L"d"}},
        {L"a \"x=y z\" b", {L"a", L"x=y z", L"b"}},
        {L"a \"\" b", {L"a", L"", L"b"}},
        {L"a \"unterminated b", {L"a", L"\"unterminated", L"b"}},
        {L"a \"q\"tail", {L"a", L"q", L"tail"}},
        {L"mid\"quote\" x", {L"mid\"quote\"", L"x"}},
        {L"==a==", {L"a"}},
    };
    for (const TokenCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "command line: " << testing::PrintToString(std::wstring(c.commandLine)));
        EXPECT_EQ(splitCommandLine(c.commandLine), c.tokens);
    }
    EXPECT_TRUE(splitCommandLine(nullptr).empty());
}

TEST(CommandLine, LongCommandLineSplitsWithoutLoss)
{
    std::wstring line = L"setup.exe -silence ";
    line += std::wstring(40000, L'x');
    const auto tokens = splitCommandLine(line.c_str());
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[2].size(), 40000u);
}

TEST(CommandLine, FindOptionIsExactAndReportsPresence)
{
    const auto tokens = splitCommandLine(L"p.exe -Silence -silence -path");
    bool present = false;
    const std::wstring* value = findOption(tokens, L"-silence", &present);
    EXPECT_TRUE(present);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(*value, L"-path");

    EXPECT_EQ(findOption(tokens, L"-path", &present), nullptr);
    EXPECT_TRUE(present);
    EXPECT_EQ(findOption(tokens, L"-delete", &present), nullptr);
    EXPECT_FALSE(present);
}

} // namespace
