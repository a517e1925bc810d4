#include <gtest/gtest.h>

#include "TestSupport.h"
#include "XmlDocument.h"

namespace {

// The zorviPath of every VersionInfo inside LauncherInfo, as the clean-up reads them.
std::vector<std::wstring> versionFolders(XmlDocument& doc)
{
    std::vector<std::wstring> folders;
    if (doc.findElem(L"LauncherInfo") && doc.intoElem())
        while (doc.findElem(L"VersionInfo"))
            folders.push_back(doc.getAttrib(L"zorviPath"));
    return folders;
}

TEST(XmlDocument, DocumentsAsTable)
{
    struct Case {
        const char* name;
        const wchar_t* text;
        bool loaded;
        std::vector<std::wstring> folders;
        const wchar_t* problem;  // start of the first recorded problem; empty: none
    };
    const Case cases[] = {
        {"plain", L"<LauncherInfo><VersionInfo zorviPath=\"8.6.0.2\"/><VersionInfo zorviPath=\"8.7.0.1\"></VersionInfo></LauncherInfo>",
         true, {L"8.6.0.2", L"8.7.0.1"}, L""},
        {"prolog, comment, processing instruction, doctype",
         L"\xFEFF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<!-- launcher -->\r\n<!DOCTYPE LauncherInfo [<!ELEMENT x ANY>]>"
         L"<?pi data?><LauncherInfo>\r\n  <!-- <VersionInfo zorviPath=\"hidden\"/> -->\r\n"
         L"  <VersionInfo zorviPath=\"8.7.0.1\" other='x'/>\r\n</LauncherInfo>\r\n",
         true, {L"8.7.0.1"}, L""},
        {"single quotes and entities",
         L"<LauncherInfo><VersionInfo zorviPath='a&amp;b &lt;&gt; &quot;&apos; &#65;&#x42; &bogus; &#xZZ;'/></LauncherInfo>",
         true, {L"a&b <> \"' AB &bogus; &#xZZ;"}, L""},
        {"unquoted value and blanks around =",
         L"<LauncherInfo><VersionInfo other = \"1\" zorviPath = 8.7.0.1 /></LauncherInfo>", true, {L"8.7.0.1"}, L""},
        {"CDATA holding markup", L"<LauncherInfo><![CDATA[<VersionInfo zorviPath=\"no\"/>]]><VersionInfo zorviPath=\"yes\"/></LauncherInfo>",
         true, {L"yes"}, L""},
        {"names compare case-sensitively", L"<LauncherInfo><versioninfo zorviPath=\"x\"/></LauncherInfo>", true, {}, L""},
        {"unclosed element keeps its attributes",
         L"<LauncherInfo><VersionInfo zorviPath=\"8.6.0.2\"><VersionInfo zorviPath=\"8.7.0.1\"/></LauncherInfo>", false,
         {L"8.6.0.2"}, L"Element 'VersionInfo' at offset 14 not ended"},
        {"unclosed root", L"<LauncherInfo><VersionInfo zorviPath=\"1\"/>", false, {L"1"},
         L"Element 'LauncherInfo' at offset 0 not ended"},
        {"second root", L"<LauncherInfo/><LauncherInfo><VersionInfo zorviPath=\"2\"/></LauncherInfo>", false, {},
         L"Root element has sibling"},
        {"stray end tag is ignored", L"<LauncherInfo></Other><VersionInfo zorviPath=\"3\"/></LauncherInfo>", true, {L"3"},
         L"No start tag for end tag 'Other' at offset 14"},
        {"bad tag name character", L"<LauncherInfo>< 1/><VersionInfo zorviPath=\"4\"/></LauncherInfo>", true, {L"4"},
         L"Incorrect tag name character at offset 15"},
        {"unterminated comment", L"<LauncherInfo><VersionInfo zorviPath=\"5\"/><!-- ", false, {L"5"},
         L"Comment at offset 42 unterminated"},
        {"unterminated start tag", L"<LauncherInfo><VersionInfo zorviPath=\"6", false, {}, L"Element tag at offset 14 unterminated"},
        {"text only", L"just text", false, {}, L"No root element"},
        {"empty", L"", false, {}, L"Empty document"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        XmlDocument doc;
        EXPECT_EQ(doc.parse(c.text), c.loaded) << testing::PrintToString(doc.result());
        EXPECT_EQ(versionFolders(doc), c.folders);
        EXPECT_EQ(doc.result().rfind(c.problem, 0), 0u) << testing::PrintToString(doc.result());
    }
}

TEST(XmlDocument, CursorStepsInAndOut)
{
    XmlDocument doc;
    ASSERT_TRUE(doc.parse(L"<a><b id='1'><c/></b><b id='2'/><d/></a>"));
    EXPECT_FALSE(doc.intoElem()) << "no current element yet";
    EXPECT_FALSE(doc.outOfElem()) << "already at the top";
    EXPECT_EQ(doc.getAttrib(L"id"), L"");
    ASSERT_TRUE(doc.findElem(L"a"));
    ASSERT_TRUE(doc.intoElem());
    ASSERT_TRUE(doc.findElem(L"b"));
    EXPECT_EQ(doc.getAttrib(L"id"), L"1");
    ASSERT_TRUE(doc.intoElem());
    EXPECT_TRUE(doc.findElem(L"c"));
    ASSERT_TRUE(doc.outOfElem());
    EXPECT_EQ(doc.currentName(), L"b");
    EXPECT_EQ(doc.getAttrib(L"id"), L"1");
    ASSERT_TRUE(doc.findElem(L"b"));
    EXPECT_EQ(doc.getAttrib(L"id"), L"2");
    EXPECT_FALSE(doc.findElem(L"b"));
    EXPECT_EQ(doc.getAttrib(L"id"), L"2") << "a failed search leaves the cursor";
    EXPECT_TRUE(doc.findElem(L"d"));
    EXPECT_EQ(doc.getAttrib(L"missing"), L"");
}

TEST(XmlDocument, LoadsUtf8FilesAndRejectsMissingOnes)
{
    test::TempFolder temp(L"xml");
    // Chinese text, an invalid byte and a truncated sequence; decoding stops at a zero byte.
    const std::string bytes = "<LauncherInfo><VersionInfo zorviPath=\"\xe7\xb2\xbe\xe5\xbd\xa9\xff\xe4\xb8\"/></LauncherInfo>";
    ASSERT_TRUE(test::writeFile(temp / L"Launcher.xml", bytes + std::string("\0<x/>", 5)));
    XmlDocument doc;
    ASSERT_TRUE(doc.load(temp / L"Launcher.xml"));
    EXPECT_EQ(versionFolders(doc), std::vector<std::wstring>{L"\u7cbe\u5f69??"});

    XmlDocument missing;
    EXPECT_FALSE(missing.load(temp / L"nothing.xml"));
    EXPECT_FALSE(missing.findElem(L"LauncherInfo"));
}

TEST(XmlDocument, DecodesUtf8SequencesAsTable)
{
    const std::pair<std::string, std::wstring> cases[] = {
        {"abc", L"abc"},
        {"\xc3\xa9", L"\u00e9"},
        {"\xf0\x9f\x98\x80", L"\U0001F600"},
        {"\xc0\xaf", L"?"},          // overlong
        {"\xed\xa0\x80", L"?"},      // surrogate
        {"\x80x", L"?x"},            // lone continuation byte
        {"\xe4\xb8", L"?"},          // cut short at the end
        {std::string("a\0b", 3), L"a"},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(XmlDocument::decodeUtf8(bytes), text) << testing::PrintToString(bytes);
}

} // namespace
