#include <gtest/gtest.h>

#include "DebugMessage.h"

namespace {

std::vector<std::wstring> g_sent;
void capture(const std::wstring& text)
{
    g_sent.push_back(text);
}

TEST(DebugMessage, JoinsPiecesWithBlanksAndSendsOnce)
{
    g_sent.clear();
    DebugMessage::setSink(capture);
    {
        DebugMessage message;
        message << L"LxAnchors: refused anchor for" << std::wstring(L"button") << 3 << 2.5;
        EXPECT_EQ(message.text(), L"LxAnchors: refused anchor for button 3 2.5 ");
        EXPECT_TRUE(g_sent.empty());
    }
    DebugMessage::setSink(nullptr);
    ASSERT_EQ(g_sent.size(), 1u);
    EXPECT_EQ(g_sent[0], L"LxAnchors: refused anchor for button 3 2.5 ");
}

TEST(DebugMessage, WritesDebugLineWithoutSink)
{
    testing::internal::CaptureStdout();
    { DebugMessage() << L"hello" << 7; }
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Debug: hello 7"), std::string::npos) << out;
}

} // namespace
