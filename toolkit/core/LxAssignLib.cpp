#include "LxAssignLib.h"

#include <windows.h>

#include <cwctype>

#include "LxSingleton.h"

LX_DEFINE_CLASS(LxAssignLib, lxTypeTag("ASLB"), LxRttiObject)

namespace {

LxPoolWString slashed(LxPoolWString text)
{
    for (wchar_t& c : text)
        if (c == L'\\')
            c = L'/';
    return text;
}

LxPoolWString withoutTrailingSlash(LxPoolWString text)
{
    while (!text.empty() && text.back() == L'/')
        text.pop_back();
    return text;
}

// The program file's folder, '/'-separated, without trailing '/'; empty when unknown.
LxPoolWString programFolder()
{
    wchar_t path[512];
    const DWORD length = GetModuleFileNameW(nullptr, path, 512);
    if (length == 0 || length >= 512)
        return LxPoolWString();
    LxPoolWString text = slashed(LxPoolWString(path, length));
    const auto cut = text.rfind(L'/');
    return cut == LxPoolWString::npos ? LxPoolWString() : withoutTrailingSlash(text.substr(0, cut));
}

bool startsLikeBuildFolder(const LxPoolWString& name)
{
    static const wchar_t* const kNames[] = {L"Win32", L"Debug", L"Release"};
    const std::size_t n = name.size() < 5 ? name.size() : 5;
    if (n == 0)
        return false;
    for (const wchar_t* candidate : kNames) {
        bool same = true;
        for (std::size_t i = 0; i < n && same; ++i)
            same = candidate[i] && std::towlower(name[i]) == std::towlower(candidate[i]);
        if (same)
            return true;
    }
    return false;
}

}  // namespace

LxAssignLib* LxAssignLib::instance()
{
    return LxSingleton<LxAssignLib>::instance();
}

void LxAssignLib::addAssign(const LxString& name, const LxString& value)
{
    m_assigns.insert(name, value);
}

LxString LxAssignLib::homeFolder(const LxString& folder)
{
    const LxPoolWString& text = folder.data();
    const auto cut = text.rfind(L'/');
    const LxPoolWString name = cut == LxPoolWString::npos ? text : text.substr(cut + 1);
    if (cut != LxPoolWString::npos && startsLikeBuildFolder(name))
        return LxString(text.c_str(), cut);
    return folder;
}

void LxAssignLib::installDefaults()
{
    if (m_defaultsInstalled)
        return;
    m_defaultsInstalled = true;
    const LxPoolWString folder = programFolder();
    if (!folder.empty()) {
        LxString home = L"file:///";
        home += homeFolder(LxString(folder.c_str())).c_str();
        addAssign(L"home", home);
    }
    LxString bin;
    if (!folder.empty()) {
        bin = L"file:///";
        bin += folder.c_str();
        addAssign(L"bin", bin);
    }
    addAssign(L"root", bin);
    addAssign(L"lxgui", L"dll:///theme/gui");
}

void LxAssignLib::reset()
{
    m_assigns.clear();
    m_defaultsInstalled = false;
}

LxString LxAssignLib::resolve(const LxString& input)
{
    if (!m_defaultsInstalled)
        installDefaults();
    LxPoolWString text = input.data();
    // Each pass replaces one assign; a value that names itself would loop, so passes are bounded.
    for (int pass = 0; pass < 64; ++pass) {
        const auto colon = text.find(L':');
        if (colon == LxPoolWString::npos || colon < 2)
            break;
        const LxString name(text.c_str(), colon);
        if (!m_assigns.contains(name))
            break;
        const LxPoolWString& value = m_assigns.value(name).data();
        const LxPoolWString rest = text.substr(colon + 1);
        if (value.empty()) {
            text.clear();
            break;
        }
        const bool joined = value.back() == L':'
                            || (value.size() >= 2 && value.compare(value.size() - 2, 2, L":/") == 0);
        text = value;
        if (!joined)
            text += L'/';
        text += rest;
    }
    const LxPoolWString result = withoutTrailingSlash(slashed(text));
    return LxString(result.c_str(), result.size());
}
