#include "ZorviUninstallUI.h"

namespace {
bool post(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // PostMessageW with a null window would land in the calling thread's own queue.
    return window && PostMessageW(window, message, wParam, lParam);
}
} // namespace

// The uninstaller windows do not exist yet: both handles stay null and every post is dropped.
HWND ZorviUninstallUI::promptWindowHandle() const
{
    return nullptr;
}

HWND ZorviUninstallUI::mainWindowHandle() const
{
    return nullptr;
}

void ZorviUninstallUI::showPromptUI() {}

void ZorviUninstallUI::showClientRunning()
{
    post(promptWindowHandle(), MSG_UNINST_CLIENT_RUNNING, 0, 0);
}

void ZorviUninstallUI::closePrompt()
{
    post(promptWindowHandle(), MSG_UNINST_PROMPT_DONE, 0, 0);
}

void ZorviUninstallUI::showMainUI() {}

void ZorviUninstallUI::setProgress(const std::wstring&, int done, int total)
{
    auto* fraction = new double(total != 0 ? static_cast<double>(done) / static_cast<double>(total) : 0.0);
    if (!post(mainWindowHandle(), MSG_UNINST_PROGRESS, 0, reinterpret_cast<LPARAM>(fraction)))
        delete fraction;
}

void ZorviUninstallUI::showCleanFinish()
{
    post(mainWindowHandle(), MSG_UNINST_CLEAN_FINISH, 0, 0);
}
