#pragma once
// A small, forgiving XML reader for the client's own records ("Launcher.xml", assembly manifests).
// It loads a UTF-8 file, builds the element tree even from documents with errors (keeping the first
// problem as text) and navigates it with a cursor:
//
//     XmlDocument doc;
//     doc.load(path);
//     if (doc.findElem(L"LauncherInfo") && doc.intoElem())
//         while (doc.findElem(L"VersionInfo"))
//             folders.push_back(doc.getAttrib(L"zorviPath"));
//
// Nothing is ever written back. Element names compare case-sensitively.

#include <string>
#include <vector>

class XmlDocument {
public:
    XmlDocument();

    // False when the file cannot be read; otherwise true exactly when the document has one root
    // element and no element had to be closed implicitly. The tree holds whatever could be read
    // either way, and the cursor is back at the top.
    bool load(const std::wstring& path);
    // The same on text already in memory.
    bool parse(const std::wstring& text);

    // Next sibling named name after the current element of the level (or the level's first one).
    // Unchanged cursor and false when there is none.
    bool findElem(const wchar_t* name);
    // The current element becomes the level to search in; false without a current element.
    bool intoElem();
    // Back to the parent's level, with the parent as current element; false at the top.
    bool outOfElem();
    // Decoded value of the current element's attribute; empty without element or attribute.
    std::wstring getAttrib(const wchar_t* name) const;
    // Name of the current element; empty without one.
    std::wstring currentName() const;

    // The first problem met while loading or parsing; empty when there was none.
    const std::wstring& result() const { return m_result; }

    // UTF-8 to UTF-16: invalid sequences become "?", decoding stops at a zero code point.
    static std::wstring decodeUtf8(const std::string& bytes);

private:
    struct Element {
        size_t tagStart = 0;  // offset of "<"
        size_t tagEnd = 0;    // offset of the start tag's closing ">"
        size_t nameLength = 0;
        int parent = 0;
        int firstChild = 0;
        int lastChild = 0;
        int nextSibling = 0;
    };

    void reset();
    void note(const std::wstring& problem);
    void noteAt(const wchar_t* format, const wchar_t* what, size_t offset);
    int addElement(int parent, size_t tagStart, size_t nameLength);
    std::wstring elementName(int index) const;
    void closeUnended(std::vector<int>* open, size_t keep);
    void parseText();

    std::wstring m_text;
    std::wstring m_result;
    std::vector<Element> m_elements;  // [0] is the document itself
    bool m_unended = false;
    bool m_rootSibling = false;
    int m_parent = 0;
    int m_current = 0;
};
