#include "ZorviSetupControl.h"

#include "CommandLine.h"
#include "InitialSetupPath.h"
#include "Paths.h"
#include "SetupLog.h"
#include "ZorviSetupCore.h"
#include "ZorviSetupUI.h"

ZorviSetupControl::ZorviSetupControl()
    : m_ui(ZorviSetupUI::instance()), m_core(std::make_unique<ZorviSetupCore>(this))
{
    m_silent = false;
    m_ui->setControl(this);
}

ZorviSetupControl::~ZorviSetupControl()
{
    m_core.reset();
    ZorviSetupUI::destroy();
    m_ui = nullptr;
}

void ZorviSetupControl::quitApplication(int code)
{
    logPrint(L"Quit application, exit code is %d", code);
    PostQuitMessage(code);
}

void ZorviSetupControl::startSetup(const wchar_t* commandLine)
{
    const std::vector<std::wstring> tokens = splitCommandLine(commandLine ? commandLine : GetCommandLineW());
    bool silent = false;
    const std::wstring* path = findOption(tokens, L"-silence", &silent);
    m_silent = silent;
    logPrint(L"ZorviSetupControl::startSetup, install model is %d.", m_silent ? SetupModelSilent : SetupModelNormal);

    if (m_silent) {
        if (path && !path->empty())
            m_setupPath = *path;
        else
            m_setupPath = initialSetupPath(HKEY_CURRENT_USER);
        m_core->checkTask().start(false);
        return;
    }
    m_setupPath = initialSetupPath(HKEY_CURRENT_USER);
    logPrint(L"Async check environment.");
    m_ui->showCheckUI();
    m_core->checkTask().start(true);
}

void ZorviSetupControl::setSetupPath(const std::wstring& path)
{
    m_setupPath = path;
    m_core->setSetupPath(path);
}

void ZorviSetupControl::forceQuit()
{
    m_core->decompressTask().forceQuit();
}

void ZorviSetupControl::startDecompress(bool async)
{
    m_core->decompressTask().start(async);
}

void ZorviSetupControl::stopDecompress()
{
    m_core->decompressTask().stop();
}

void ZorviSetupControl::quitSetup()
{
    m_core->waitInstallCrt(2000);
    quitApplication(0);
}

void ZorviSetupControl::runZorvi()
{
    m_core->runZorvi();
}

void ZorviSetupControl::setAutoRun()
{
    m_core->setAutoRun();
}

void ZorviSetupControl::viewReleaseNote()
{
    m_core->viewReleaseNote();
}

void ZorviSetupControl::collectTenvale()
{
    m_core->collectTenvale();
}

void ZorviSetupControl::openHomePage()
{
    m_core->openHomePage();
}

void ZorviSetupControl::createPelioShortcut()
{
    m_core->createPelioShortcut();
}

void ZorviSetupControl::onCheckResult(int result)
{
    if (result == CR_Success) {
        logPrint(L"Check result is CR_Success, and then prepare to decompress.");
        if (!m_silent) {
            m_ui->onPrepareShowMainUI(m_setupPath);
        } else if (isValidSetupPath(m_setupPath)) {
            m_core->setSetupPath(m_setupPath);
            m_core->decompressTask().start(false);
        } else {
            quitApplication(-3);
        }
        return;
    }
    logPrint(L"Check result is CR_SetupExist");
    if (m_silent)
        quitApplication(-1);
    else
        m_ui->onShowSetupExist();
}

void ZorviSetupControl::onZorviRunning()
{
    if (m_silent)
        quitApplication(-4);
    else
        m_ui->onShowZorviRunning();
}

void ZorviSetupControl::onDecompressBegin()
{
    if (m_silent)
        return;
    m_ui->onDecompressBegin();
    m_core->startInstallCrt();
}

void ZorviSetupControl::onDecompressProgress(int index, int total)
{
    if (!m_silent)
        m_ui->onDecompressProgress(index, total);
}

void ZorviSetupControl::onDecompressFinish(bool ok)
{
    if (ok) {
        logPrint(L"ZorviSetupControl::onDecompressFinish, success.");
        m_core->doAfterDecompress();
        if (m_silent)
            quitApplication(0);
        else
            m_ui->onDecompressFinish();
        return;
    }
    logPrint(L"ZorviSetupControl::onDecompressFinish, fail.");
    if (m_silent)
        quitApplication(-5);
    else
        m_ui->onQuitSetup();
}
