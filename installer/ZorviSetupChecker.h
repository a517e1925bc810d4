#pragma once
// The environment check: the single-instance rule. The first installer creates the named mutex and
// keeps it until this task is destroyed at process end; a later one finds it and reports
// CR_SetupExist.

#include "SetupInterfaces.h"
#include "UniqueResource.h"
#include "WorkerThread.h"

class ZorviSetupChecker final : public CWorkerThread, public ISetupCheckTask {
public:
    static constexpr const wchar_t* kMutexName = L"{0980E678-72D2-484b-B983-D4E17598D5B7}";

    ZorviSetupChecker() = default;
    ~ZorviSetupChecker() override;

    bool start(bool async) override;
    void stop() override;
    void setSink(ISetupControlSink* sink) override { m_sink = sink; }

protected:
    void run() override;

private:
    bool _isSetupExist();

    ISetupControlSink* m_sink = nullptr;
    UniqueHandle m_mutex;
};
