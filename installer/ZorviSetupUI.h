#pragma once
// The bridge from the controller to the installer windows: window operations on the main thread,
// and posting operations that any thread may call. A post to a window that does not exist (yet) is
// dropped; a heap string that could not be posted is freed.

#include "SetupInterfaces.h"

class ZorviSetupUI final : public ISetupUI {
public:
    // The process-wide bridge, created on first use; destroy() deletes it and clears the pointer.
    static ZorviSetupUI* instance();
    static void destroy();

    void showCheckUI() override;
    void showSetupMainUI(const std::wstring& path) override;
    void setControl(ISetupControl* control) override { m_control = control; }
    void onShowZorviRunning() override;
    void onShowSetupExist() override;
    void onDecompressBegin() override;
    void onDecompressProgress(int index, int total) override;
    void onPrepareShowMainUI(const std::wstring& path) override;
    void onDecompressFinish() override;
    void onQuitSetup() override;

    ISetupControl* control() const { return m_control; }
    HWND checkWindowHandle() const;
    HWND mainWindowHandle() const;

private:
    ZorviSetupUI() = default;
    ~ZorviSetupUI() override = default;

    ISetupControl* m_control = nullptr;
};
