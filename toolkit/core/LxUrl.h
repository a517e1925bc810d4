#pragma once
// LxUrl: a resource name split into scheme, user, host, port, path, fragment and query after its
// path assigns are resolved (LxAssignLib). A text without a scheme, or with a one-letter drive
// "scheme", is a "file" URL whose path is the whole text. toString() is the key under which
// resource mappings and the image cache store data.

#include "LxContainers.h"

class LxUrl {
public:
    LxUrl() = default;
    LxUrl(const LxString& text) { parse(text); }
    LxUrl(const wchar_t* text) { parse(LxString(text)); }

    // False when a scheme is not followed by "//" (only the scheme is then kept).
    bool parse(const LxString& text);
    LxString toString() const;

    const LxString& scheme() const { return m_scheme; }
    const LxString& user() const { return m_user; }
    const LxString& host() const { return m_host; }
    const LxString& port() const { return m_port; }
    const LxString& path() const { return m_path; }
    const LxString& fragment() const { return m_fragment; }
    const LxString& query() const { return m_query; }

private:
    LxString m_scheme;
    LxString m_user;
    LxString m_host;
    LxString m_port;
    LxString m_path;
    LxString m_fragment;
    LxString m_query;
};
