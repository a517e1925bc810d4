#pragma once
// The toolkit's debug channel for programming diagnostics (misused anchors, conflicting
// positioners, missing resources). It never writes to the setup log: a completed message goes to
// standard output as "Debug: <text>" and to OutputDebugStringW as "<text>\n".
//
//     DebugMessage() << L"LxAnchors: refused anchor for" << item->objectName();
//
// Every piece is appended followed by one blank; the message is sent when the object dies.

#include <string>

class DebugMessage {
public:
    DebugMessage() = default;
    ~DebugMessage();
    DebugMessage(const DebugMessage&) = delete;
    DebugMessage& operator=(const DebugMessage&) = delete;

    DebugMessage& operator<<(const wchar_t* text);
    DebugMessage& operator<<(const std::wstring& text);
    DebugMessage& operator<<(int value);
    DebugMessage& operator<<(unsigned value);
    DebugMessage& operator<<(long long value);
    DebugMessage& operator<<(double value);

    const std::wstring& text() const { return m_text; }

    // Replaces where completed messages go (tests); null restores stdout and OutputDebugStringW.
    using Sink = void (*)(const std::wstring& text);
    static void setSink(Sink sink);

private:
    std::wstring m_text;
};
