#include "LxUrl.h"

#include "LxAssignLib.h"

namespace {

LxString str(const LxPoolWString& text)
{
    return LxString(text.c_str(), text.size());
}

bool isAsciiLetter(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

}  // namespace

bool LxUrl::parse(const LxString& input)
{
    *this = LxUrl();
    const LxPoolWString text = LxAssignLib::instance()->resolve(input).data();
    const auto colon = text.find(L':');
    if (colon == LxPoolWString::npos || (colon == 1 && isAsciiLetter(text[0]))) {
        m_scheme = L"file";
        m_path = str(text);
        return true;
    }
    m_scheme = str(text.substr(0, colon));
    if (text.compare(colon + 1, 2, L"//") != 0)
        return false;
    const auto authorityStart = colon + 3;
    const auto slash = text.find(L'/', authorityStart);
    LxPoolWString authority = text.substr(authorityStart, slash == LxPoolWString::npos ? LxPoolWString::npos
                                                                                          : slash - authorityStart);
    LxPoolWString rest = slash == LxPoolWString::npos ? LxPoolWString() : text.substr(slash + 1);

    const auto at = authority.find(L'@');
    if (at != LxPoolWString::npos) {
        // A port is split off only behind a user part: "user@host:port".
        const auto lastColon = authority.rfind(L':');
        if (lastColon != LxPoolWString::npos && lastColon > at) {
            m_port = str(authority.substr(lastColon + 1));
            authority.erase(lastColon);
        }
        m_user = str(authority.substr(0, at));
        m_host = str(authority.substr(at + 1));
    } else {
        m_host = str(authority);
    }

    const auto question = rest.find(L'?');
    if (question != LxPoolWString::npos) {
        m_query = str(rest.substr(question + 1));
        rest.erase(question);
    }
    const auto hash = rest.find(L'#');
    if (hash != LxPoolWString::npos) {
        m_fragment = str(rest.substr(hash + 1));
        rest.erase(hash);
    }
    m_path = str(rest);
    return true;
}

LxString LxUrl::toString() const
{
    LxString text;
    if (!m_scheme.isEmpty()) {
        text += m_scheme;
        text += L"://";
    }
    if (!m_user.isEmpty()) {
        text += m_user;
        text += L"@";
    }
    text += m_host;
    if (!m_port.isEmpty()) {
        text += L":";
        text += m_port;
    }
    if (!m_path.isEmpty()) {
        text += L"/";
        text += m_path;
    }
    if (!m_fragment.isEmpty()) {
        text += L"#";
        text += m_fragment;
    }
    if (!m_query.isEmpty()) {
        text += L"?";
        text += m_query;
    }
    return text;
}
