#include "DebugMessage.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

namespace {
std::atomic<DebugMessage::Sink> g_sink{nullptr};
}

DebugMessage::~DebugMessage()
{
    if (Sink sink = g_sink.load()) {
        sink(m_text);
        return;
    }
    fwprintf(stdout, L"Debug: %ls\n", m_text.c_str());
    fflush(stdout);
    OutputDebugStringW((m_text + L"\n").c_str());
}

DebugMessage& DebugMessage::operator<<(const wchar_t* text)
{
    m_text += text ? text : L"";
    m_text += L' ';
    return *this;
}

DebugMessage& DebugMessage::operator<<(const std::wstring& text)
{
    return *this << text.c_str();
}

DebugMessage& DebugMessage::operator<<(int value)
{
    return *this << std::to_wstring(value);
}

DebugMessage& DebugMessage::operator<<(unsigned value)
{
    return *this << std::to_wstring(value);
}

DebugMessage& DebugMessage::operator<<(long long value)
{
    return *this << std::to_wstring(value);
}

DebugMessage& DebugMessage::operator<<(double value)
{
    wchar_t text[64];
    _snwprintf(text, 63, L"%g", value);
    text[63] = L'\0';
    return *this << text;
}

void DebugMessage::setSink(Sink sink)
{
    g_sink.store(sink);
}
