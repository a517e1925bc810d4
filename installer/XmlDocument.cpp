#include "XmlDocument.h"

#include <windows.h>

#include <cwchar>

#include "UniqueResource.h"

namespace {

bool isBlank(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

bool isNameStart(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L':' || c == L'_' || c >= 0x7B;
}

bool endsName(wchar_t c)
{
    return isBlank(c) || c == L'/' || c == L'>' || c == L'=' || c == L'<';
}

void appendCodePoint(std::wstring* out, unsigned long cp)
{
    if (cp >= 0x10000) {
        cp -= 0x10000;
        *out += static_cast<wchar_t>(0xD800 + (cp >> 10));
        *out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
    } else {
        *out += static_cast<wchar_t>(cp);
    }
}

// Entity and character references of an attribute value; an unknown "&" stays as it is.
std::wstring decodeValue(const std::wstring& raw)
{
    static const struct {
        const wchar_t* entity;
        wchar_t ch;
    } named[] = {{L"&lt;", L'<'}, {L"&amp;", L'&'}, {L"&gt;", L'>'}, {L"&apos;", L'\''}, {L"&quot;", L'"'}};
    std::wstring out;
    for (size_t i = 0; i < raw.size();) {
        if (raw[i] != L'&') {
            out += raw[i++];
            continue;
        }
        bool done = false;
        for (const auto& n : named) {
            if (raw.compare(i, wcslen(n.entity), n.entity) == 0) {
                out += n.ch;
                i += wcslen(n.entity);
                done = true;
                break;
            }
        }
        if (!done && i + 1 < raw.size() && raw[i + 1] == L'#') {
            const size_t semicolon = raw.find(L';', i);
            if (semicolon != std::wstring::npos && semicolon - i <= 9) {
                const bool hex = i + 2 < raw.size() && raw[i + 2] == L'x';
                const std::wstring digits = raw.substr(i + (hex ? 3 : 2), semicolon - i - (hex ? 3 : 2));
                if (!digits.empty() && digits.size() <= 7 &&
                    digits.find_first_not_of(hex ? L"0123456789abcdefABCDEF" : L"0123456789") == std::wstring::npos) {
                    const unsigned long cp = wcstoul(digits.c_str(), nullptr, hex ? 16 : 10);
                    if (cp > 0 && cp <= 0x10FFFF) {
                        appendCodePoint(&out, cp);
                        i = semicolon + 1;
                        done = true;
                    }
                }
            }
        }
        if (!done)
            out += raw[i++];
    }
    return out;
}

} // namespace

XmlDocument::XmlDocument()
{
    reset();
}

void XmlDocument::reset()
{
    m_text.clear();
    m_result.clear();
    m_elements.assign(1, Element());
    m_unended = false;
    m_rootSibling = false;
    m_parent = 0;
    m_current = 0;
}

std::wstring XmlDocument::decodeUtf8(const std::string& bytes)
{
    std::wstring out;
    out.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    for (size_t i = 0; i < n;) {
        const unsigned char lead = p[i];
        int extra = 0;
        unsigned long cp = 0;
        unsigned long minimum = 0;
        if (lead < 0x80) {
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1, cp = lead & 0x1F, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2, cp = lead & 0x0F, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3, cp = lead & 0x07, minimum = 0x10000;
        } else {
            out += L'?';
            ++i;
            continue;
        }
        int taken = 0;
        while (taken < extra && i + 1 + taken < n && (p[i + 1 + taken] & 0xC0) == 0x80) {
            cp = (cp << 6) | (p[i + 1 + taken] & 0x3F);
            ++taken;
        }
        if (taken < extra || cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out += L'?';
            i += 1 + taken;
            continue;
        }
        if (cp == 0)
            break;
        appendCodePoint(&out, cp);
        i += 1 + extra;
    }
    return out;
}

bool XmlDocument::load(const std::wstring& path)
{
    reset();
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        m_result = L"Unable to read file";
        return false;
    }
    std::string bytes;
    char buffer[16384];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    return parse(decodeUtf8(bytes));
}

bool XmlDocument::parse(const std::wstring& text)
{
    reset();
    m_text = text;
    parseText();
    return m_elements[0].firstChild != 0 && !m_rootSibling && !m_unended;
}

void XmlDocument::note(const std::wstring& problem)
{
    if (m_result.empty())
        m_result = problem;
}

void XmlDocument::noteAt(const wchar_t* format, const wchar_t* what, size_t offset)
{
    wchar_t text[256];
    _snwprintf(text, 255, format, what, static_cast<int>(offset));
    text[255] = L'\0';
    note(text);
}

int XmlDocument::addElement(int parent, size_t tagStart, size_t nameLength)
{
    Element element;
    element.tagStart = tagStart;
    element.nameLength = nameLength;
    element.parent = parent;
    const int index = static_cast<int>(m_elements.size());
    m_elements.push_back(element);
    Element& p = m_elements[parent];
    if (p.lastChild)
        m_elements[p.lastChild].nextSibling = index;
    else
        p.firstChild = index;
    p.lastChild = index;
    return index;
}

std::wstring XmlDocument::elementName(int index) const
{
    const Element& e = m_elements[index];
    return m_text.substr(e.tagStart + 1, e.nameLength);
}

void XmlDocument::closeUnended(std::vector<int>* open, size_t keep)
{
    while (open->size() > keep) {
        const int index = open->back();
        open->pop_back();
        wchar_t text[300];
        _snwprintf(text, 299, L"Element '%ls' at offset %d not ended", elementName(index).c_str(),
                   static_cast<int>(m_elements[index].tagStart));
        text[299] = L'\0';
        note(text);
        m_unended = true;
    }
}

void XmlDocument::parseText()
{
    const std::wstring& t = m_text;
    const size_t n = t.size();
    if (n == 0) {
        note(L"Empty document");
        return;
    }
    std::vector<int> open;
    size_t pos = 0;
    while (pos < n) {
        if (t[pos] != L'<') {
            const size_t next = t.find(L'<', pos);
            pos = next == std::wstring::npos ? n : next;
            continue;
        }
        const size_t start = pos;
        auto skipTo = [&](const wchar_t* terminator, const wchar_t* what) {
            const size_t end = t.find(terminator, start);
            if (end == std::wstring::npos) {
                noteAt(L"%ls at offset %d unterminated", what, start);
                pos = n;
            } else {
                pos = end + wcslen(terminator);
            }
        };
        if (t.compare(pos, 4, L"<!--") == 0) {
            skipTo(L"-->", L"Comment");
        } else if (t.compare(pos, 9, L"<![CDATA[") == 0) {
            skipTo(L"]]>", L"CDATA Section");
        } else if (t.compare(pos, 9, L"<!DOCTYPE") == 0) {
            int depth = 0;
            size_t i = pos + 9;
            for (; i < n; ++i) {
                if (t[i] == L'[')
                    ++depth;
                else if (t[i] == L']')
                    --depth;
                else if (t[i] == L'>' && depth <= 0)
                    break;
            }
            if (i >= n) {
                noteAt(L"%ls at offset %d unterminated", L"Doctype", start);
                pos = n;
            } else {
                pos = i + 1;
            }
        } else if (t.compare(pos, 2, L"<!") == 0) {
            noteAt(L"Incorrect %ls at offset %d", L"! tag", start);
            skipTo(L">", L"tag");
        } else if (t.compare(pos, 2, L"<?") == 0) {
            skipTo(L"?>", L"Processing instruction");
        } else if (t.compare(pos, 2, L"</") == 0) {
            const size_t close = t.find(L'>', pos);
            if (close == std::wstring::npos) {
                noteAt(L"%ls at offset %d unterminated", L"Element end tag", start);
                pos = n;
                break;
            }
            size_t nameEnd = pos + 2;
            while (nameEnd < close && !endsName(t[nameEnd]))
                ++nameEnd;
            const std::wstring name = t.substr(pos + 2, nameEnd - pos - 2);
            size_t match = open.size();
            while (match > 0 && elementName(open[match - 1]) != name)
                --match;
            if (match == 0) {
                noteAt(L"No start tag for end tag '%ls' at offset %d", name.c_str(), start);
            } else {
                closeUnended(&open, match);
                open.pop_back();
            }
            pos = close + 1;
        } else if (pos + 1 < n && isNameStart(t[pos + 1])) {
            size_t nameEnd = pos + 1;
            while (nameEnd < n && !endsName(t[nameEnd]))
                ++nameEnd;
            // The start tag runs to the first ">" outside a quoted value.
            size_t i = nameEnd;
            wchar_t quote = 0;
            for (; i < n; ++i) {
                if (quote) {
                    if (t[i] == quote)
                        quote = 0;
                } else if (t[i] == L'"' || t[i] == L'\'') {
                    quote = t[i];
                } else if (t[i] == L'>' || t[i] == L'<') {
                    break;
                }
            }
            if (i >= n || t[i] != L'>') {
                noteAt(L"%ls at offset %d unterminated", L"Element tag", start);
                pos = i;
                continue;
            }
            const int parent = open.empty() ? 0 : open.back();
            if (parent == 0 && m_elements[0].firstChild != 0) {
                note(L"Root element has sibling");
                m_rootSibling = true;
            }
            const int index = addElement(parent, start, nameEnd - start - 1);
            m_elements[index].tagEnd = i;
            if (t[i - 1] != L'/')
                open.push_back(index);
            pos = i + 1;
        } else {
            noteAt(L"Incorrect %ls at offset %d", L"tag name character", start + 1);
            pos = start + 1;
        }
    }
    closeUnended(&open, 0);
    if (m_elements[0].firstChild == 0)
        note(L"No root element");
}

bool XmlDocument::findElem(const wchar_t* name)
{
    int index = m_current ? m_elements[m_current].nextSibling : m_elements[m_parent].firstChild;
    for (; index; index = m_elements[index].nextSibling) {
        if (elementName(index) == (name ? name : L"")) {
            m_current = index;
            return true;
        }
    }
    return false;
}

bool XmlDocument::intoElem()
{
    if (!m_current)
        return false;
    m_parent = m_current;
    m_current = 0;
    return true;
}

bool XmlDocument::outOfElem()
{
    if (!m_parent)
        return false;
    m_current = m_parent;
    m_parent = m_elements[m_parent].parent;
    return true;
}

std::wstring XmlDocument::currentName() const
{
    return m_current ? elementName(m_current) : std::wstring();
}

std::wstring XmlDocument::getAttrib(const wchar_t* name) const
{
    if (!m_current || !name)
        return {};
    const Element& e = m_elements[m_current];
    const std::wstring& t = m_text;
    size_t i = e.tagStart + 1 + e.nameLength;
    const size_t end = e.tagEnd;
    while (i < end) {
        while (i < end && (isBlank(t[i]) || t[i] == L'/'))
            ++i;
        const size_t nameStart = i;
        while (i < end && t[i] != L'=' && !isBlank(t[i]) && t[i] != L'>' && t[i] != L'/')
            ++i;
        const std::wstring attribute = t.substr(nameStart, i - nameStart);
        while (i < end && isBlank(t[i]))
            ++i;
        std::wstring raw;
        if (i < end && t[i] == L'=') {
            ++i;
            while (i < end && isBlank(t[i]))
                ++i;
            if (i < end && (t[i] == L'"' || t[i] == L'\'')) {
                const wchar_t quote = t[i++];
                const size_t close = t.find(quote, i);
                const size_t valueEnd = close == std::wstring::npos || close > end ? end : close;
                raw = t.substr(i, valueEnd - i);
                i = valueEnd + 1;
            } else {
                const size_t valueStart = i;
                while (i < end && !isBlank(t[i]) && t[i] != L'>')
                    ++i;
                raw = t.substr(valueStart, i - valueStart);
            }
        }
        if (attribute.empty()) {
            ++i;
            continue;
        }
        if (attribute == name)
            return decodeValue(raw);
    }
    return {};
}
