#include "ZorviSetupUI.h"

#include <atomic>
#include <cstring>

#include "SetupLog.h"

namespace {
std::atomic<ZorviSetupUI*> g_instance{nullptr};

bool post(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // PostMessageW with a null window would land in the calling thread's own queue.
    return window && PostMessageW(window, message, wParam, lParam);
}
} // namespace

ZorviSetupUI* ZorviSetupUI::instance()
{
    ZorviSetupUI* current = g_instance.load();
    if (current)
        return current;
    auto* created = new ZorviSetupUI();
    if (g_instance.compare_exchange_strong(current, created))
        return created;
    delete created;
    return current;
}

void ZorviSetupUI::destroy()
{
    delete g_instance.exchange(nullptr);
}

// The installer windows do not exist yet: both handles stay null and every post is dropped.
HWND ZorviSetupUI::checkWindowHandle() const
{
    return nullptr;
}

HWND ZorviSetupUI::mainWindowHandle() const
{
    return nullptr;
}

void ZorviSetupUI::showCheckUI() {}

void ZorviSetupUI::showSetupMainUI(const std::wstring& path)
{
    logPrint(L"ZorviSetupUI::showSetupMainUI, setup path is %ls", path.c_str());
}

void ZorviSetupUI::onShowZorviRunning()
{
    logPrint(L"ZorviSetupUI::onShowZorviRunning, post message MSG_ZORVI_RUNNING to main window.");
    post(mainWindowHandle(), MSG_ZORVI_RUNNING, 0, 0);
}

void ZorviSetupUI::onShowSetupExist()
{
    logPrint(L"ZorviSetupUI::onShowSetupExist, post message MSG_SETUP_EXIST to check window.");
    post(checkWindowHandle(), MSG_SETUP_EXIST, 0, 0);
}

void ZorviSetupUI::onDecompressBegin()
{
    logPrint(L"ZorviSetupUI::onDecompressBegin, post message MSG_DECOMPRESS_BEGIN to main window.");
    post(mainWindowHandle(), MSG_DECOMPRESS_BEGIN, 0, 0);
}

void ZorviSetupUI::onDecompressProgress(int index, int total)
{
    post(mainWindowHandle(), MSG_DECOMPRESS_PROGRESS, static_cast<WPARAM>(index), static_cast<LPARAM>(total));
}

void ZorviSetupUI::onPrepareShowMainUI(const std::wstring& path)
{
    logPrint(L"ZorviSetupUI::onPrepareShowMainUI, post message MSG_SHOW_MAIN_UI to main window.");
    auto* copy = new wchar_t[path.size() + 1];
    std::memcpy(copy, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
    if (!post(checkWindowHandle(), MSG_SHOW_MAIN_UI, reinterpret_cast<WPARAM>(copy), 0))
        delete[] copy;
}

void ZorviSetupUI::onDecompressFinish()
{
    logPrint(L"ZorviSetupUI::onDecompressFinish, post message MSG_DECOMPRESS_FINISH to main window.");
    post(mainWindowHandle(), MSG_DECOMPRESS_FINISH, 0, 0);
}

void ZorviSetupUI::onQuitSetup()
{
    logPrint(L"ZorviSetupUI::onQuitSetup, post message MSG_QUIT_SETUP to main window.");
    post(mainWindowHandle(), MSG_QUIT_SETUP, 0, 0);
}
