#include "ShellLink.h"

#include <shlguid.h>

ShellLink::ShellLink()
{
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(m_link.put()))))
        return;
    m_link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(m_file.put()));
}

bool ShellLink::load(const std::wstring& file)
{
    return m_file && SUCCEEDED(m_file.get()->Load(file.c_str(), STGM_READ));
}

bool ShellLink::save(const std::wstring& file)
{
    return m_file && SUCCEEDED(m_file.get()->Save(file.c_str(), TRUE));
}

bool ShellLink::setPath(const std::wstring& target)
{
    return m_link && SUCCEEDED(m_link.get()->SetPath(target.c_str()));
}

bool ShellLink::setWorkingDirectory(const std::wstring& folder)
{
    return m_link && SUCCEEDED(m_link.get()->SetWorkingDirectory(folder.c_str()));
}

bool ShellLink::setIconLocation(const std::wstring& icon, int index)
{
    return m_link && SUCCEEDED(m_link.get()->SetIconLocation(icon.c_str(), index));
}

std::wstring ShellLink::path() const
{
    wchar_t buffer[MAX_PATH] = {};
    if (!m_link || FAILED(m_link.get()->GetPath(buffer, MAX_PATH, nullptr, SLGP_UNCPRIORITY)))
        return {};
    return buffer;
}

std::wstring ShellLink::workingDirectory() const
{
    wchar_t buffer[MAX_PATH] = {};
    if (!m_link || FAILED(m_link.get()->GetWorkingDirectory(buffer, MAX_PATH)))
        return {};
    return buffer;
}

std::wstring ShellLink::arguments() const
{
    wchar_t buffer[1024] = {};
    if (!m_link || FAILED(m_link.get()->GetArguments(buffer, 1024)))
        return {};
    return buffer;
}

std::wstring ShellLink::iconLocation(int* index) const
{
    wchar_t buffer[MAX_PATH] = {};
    int i = 0;
    if (!m_link || FAILED(m_link.get()->GetIconLocation(buffer, MAX_PATH, &i)))
        return {};
    if (index)
        *index = i;
    return buffer;
}
