#include "ZorviUninstallControl.h"

#include <shlwapi.h>

#include "CommandLine.h"
#include "ProtectedFolders.h"
#include "SetupLog.h"
#include "ZorviUninstallCore.h"
#include "ZorviUninstallUI.h"

ZorviUninstallControl::ZorviUninstallControl()
    : m_core(std::make_unique<ZorviUninstallCore>(this)), m_ui(std::make_unique<ZorviUninstallUI>())
{
    m_ui->setControl(this);
}

ZorviUninstallControl::~ZorviUninstallControl()
{
    m_core.reset();
    m_ui.reset();
}

int ZorviUninstallControl::runModel(const wchar_t* commandLine, std::wstring* path)
{
    const std::vector<std::wstring> tokens = splitCommandLine(commandLine);
    bool present = false;
    findOption(tokens, L"-silence", &present);
    if (present)
        return UninstallModelSilent;
    const std::wstring* value = findOption(tokens, L"-path");
    const bool pathExists = value && !value->empty() && PathFileExistsW(value->c_str());
    if (pathExists && path)
        *path = *value;
    findOption(tokens, L"-delete", &present);
    if (present && pathExists)
        return UninstallModelDelete;
    findOption(tokens, L"-silencedelete", &present);
    if (present && pathExists)
        return UninstallModelSilentDelete;
    return UninstallModelNormal;
}

int ZorviUninstallControl::uninstall(const wchar_t* commandLine)
{
    std::wstring path;
    const int model = runModel(commandLine ? commandLine : GetCommandLineW(), &path);
    logPrint(L"ZorviUninstallControl::uninstall, run model is %d.", model);
    switch (model) {
    case UninstallModelSilent:
        if (_initPath()) {
            m_core->setSilent(true);
            m_core->prepareUninstall();
        }
        PostQuitMessage(0);
        break;
    case UninstallModelDelete:
        if (!_setDeletePath(path)) {
            PostQuitMessage(0);
            break;
        }
        m_ui->showMainUI();
        m_core->startClean(true);
        break;
    case UninstallModelSilentDelete:
        if (_setDeletePath(path)) {
            m_core->setSilent(true);
            m_core->startClean(false);
        }
        PostQuitMessage(0);
        break;
    default:
        if (_initPath())
            m_ui->showPromptUI();
        else
            PostQuitMessage(0);
        break;
    }
    return model;
}

bool ZorviUninstallControl::_initPath()
{
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring folder = module;
    folder.erase(folder.find_last_of(L'\\') + 1);
    logPrint(L"ZorviUninstallControl::_initPath, current path is : %ls", folder.c_str());
    if (isProtectedFolder(folder)) {
        logPrint(L"ZorviUninstallControl::_initPath, %ls is a protected folder, nothing is removed.", folder.c_str());
        return false;
    }
    m_core->setPath(folder);
    return true;
}

bool ZorviUninstallControl::_setDeletePath(const std::wstring& path)
{
    // "C:" names the current folder of drive C, but with a backslash appended it would be the
    // root: both readings are checked, and the absolute one is used.
    const std::wstring absolute = canonicalFolderPath(path);
    if (absolute.empty() || isProtectedFolder(path) || isProtectedFolder(path + L"\\")) {
        logPrint(L"ZorviUninstallControl::uninstall, %ls is a protected folder, nothing is removed.", path.c_str());
        return false;
    }
    m_core->setPath(absolute);
    return true;
}

void ZorviUninstallControl::startCheck()
{
    m_core->startCheck();
}

void ZorviUninstallControl::onClientRunning()
{
    m_ui->showClientRunning();
}

void ZorviUninstallControl::onCheckPassed()
{
    m_ui->closePrompt();
    m_core->prepareUninstall();
}

void ZorviUninstallControl::onCleanProgress(const std::wstring& name, int done, int total)
{
    Sleep(1);
    m_ui->setProgress(name, done, total);
}

void ZorviUninstallControl::onCleanFinish()
{
    m_core->_deleteRegedit();
    m_core->_deleteShortcut();
    m_ui->showCleanFinish();
}
