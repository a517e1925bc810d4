#pragma once
// The bridge from the controller to the uninstaller windows: window operations on the main thread,
// and posting operations that any thread may call. A post to a window that does not exist (yet, or
// any more) is dropped, and a progress number that could not be posted is freed.

#include "UninstallInterfaces.h"

class ZorviUninstallUI final : public IUninstallUI {
public:
    ZorviUninstallUI() = default;
    ~ZorviUninstallUI() override = default;
    ZorviUninstallUI(const ZorviUninstallUI&) = delete;
    ZorviUninstallUI& operator=(const ZorviUninstallUI&) = delete;

    void showPromptUI() override;
    void showClientRunning() override;
    void closePrompt() override;
    void showMainUI() override;
    void setProgress(const std::wstring& name, int done, int total) override;
    void showCleanFinish() override;
    void setControl(IUninstallControl* control) override { m_control = control; }

    IUninstallControl* control() const { return m_control; }
    HWND promptWindowHandle() const;
    HWND mainWindowHandle() const;

private:
    IUninstallControl* m_control = nullptr;
};
