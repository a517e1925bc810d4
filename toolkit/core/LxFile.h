#pragma once
// The file layer behind the "file" resource mapping: LxFile reads a file through a file engine
// chosen for its path by the registered engine handlers (the most recently registered is asked
// first). The native engine serves any path through Win32 files; the resource engine claims paths
// that begin with ':' and fails every operation with a debug message. UI thread only.

#include <cstdint>
#include <memory>

#include "LxContainers.h"
#include "UniqueResource.h"

enum LxOpenMode : int { LxOpenRead = 1, LxOpenWrite = 2, LxOpenAppend = 4, LxOpenTruncate = 8 };

class LxFileEngine {
public:
    virtual ~LxFileEngine() = default;
    virtual bool atEnd() = 0;
    virtual std::int64_t pos() = 0;
    virtual std::int64_t size() = 0;
    virtual bool open(int mode) = 0;
    virtual bool seek(std::int64_t pos) = 0;
    virtual std::int64_t read(char* buffer, std::int64_t max) = 0;
    virtual std::int64_t write(const char* buffer, std::int64_t count) = 0;
    virtual void close() = 0;
};

class LxNativeFileEngine : public LxFileEngine {
public:
    explicit LxNativeFileEngine(const LxString& path) : m_path(path) {}
    bool atEnd() override;
    std::int64_t pos() override;
    // -1 when the file's attributes cannot be read.
    std::int64_t size() override;
    bool open(int mode) override;
    bool seek(std::int64_t pos) override;
    std::int64_t read(char* buffer, std::int64_t max) override;
    std::int64_t write(const char* buffer, std::int64_t count) override;
    void close() override;

private:
    LxString m_path;
    UniqueFileHandle m_handle;
};

class LxResourceFileEngine : public LxFileEngine {
public:
    bool atEnd() override;
    std::int64_t pos() override;
    std::int64_t size() override;
    bool open(int mode) override;
    bool seek(std::int64_t pos) override;
    std::int64_t read(char* buffer, std::int64_t max) override;
    std::int64_t write(const char* buffer, std::int64_t count) override;
    void close() override;
    // Writes the engine's "not implemented" debug message.
    static void reportNotImplemented();
};

// A factory of engines; constructing one puts it at the front of the process-wide handler list,
// destroying it takes it out.
class LxFileEngineHandler {
public:
    LxFileEngineHandler();
    virtual ~LxFileEngineHandler();
    LxFileEngineHandler(const LxFileEngineHandler&) = delete;
    LxFileEngineHandler& operator=(const LxFileEngineHandler&) = delete;
    virtual std::unique_ptr<LxFileEngine> createEngine(const LxString& path) = 0;

    // The first engine a handler gives for the path; null (with a debug message) when none does.
    static std::unique_ptr<LxFileEngine> engineFor(const LxString& path);
};

class LxFile {
public:
    explicit LxFile(const LxString& path);
    ~LxFile();
    LxFile(const LxFile&) = delete;
    LxFile& operator=(const LxFile&) = delete;

    // False when there is no engine or the engine cannot open the file.
    bool open(int mode);
    void close();
    bool atEnd();
    std::int64_t bytesAvailable();
    // All bytes from the current position; empty when nothing can be read.
    LxByteArray readAll();
    int openMode() const { return m_mode; }

private:
    LxString m_path;
    int m_mode = 0;
    std::unique_ptr<LxFileEngine> m_engine;
};
