#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <thread>

namespace ostrel {

class LibraryLoader;

inline constexpr int kDefaultWaitLimitMs = 10000;

// Results of the wait for a worker, as the platform's wait reports them.
inline constexpr std::uint32_t kWaitEnded = 0;
inline constexpr std::uint32_t kWaitTimeout = 258;

inline const QString kRegisterEntry = QStringLiteral("DllRegisterServer");
inline const QString kUnregisterEntry = QStringLiteral("DllUnregisterServer");

// Registers or unregisters one library file by running its self-registration entry
// point on a worker thread, waiting at most the wait limit. Every failure is told in a
// message box of its own; the outcome is read from lastSucceeded().
class RegistrationEngine {
public:
    // The loader is borrowed; nullptr means the platform's own.
    explicit RegistrationEngine(int waitLimitMs = kDefaultWaitLimitMs,
                                LibraryLoader* loader = nullptr);
    virtual ~RegistrationEngine() = default;

    // mode "" registers, "U" or "u" unregisters, anything else is refused.
    void registerLibraryFile(const QString& file, const QString& mode);

    bool lastSucceeded() const { return lastSucceeded_; }
    void setLastSucceeded(bool value) { lastSucceeded_ = value; }
    std::uint32_t waitResult() const { return waitResult_; }
    int waitLimitMs() const { return waitLimitMs_; }

protected:
    // Starts the worker thread; throws std::system_error when no thread can be had.
    virtual std::thread startWorker(std::function<void()> work);

private:
    void failEntryOrThread(const QString& file);

    int waitLimitMs_;
    LibraryLoader& loader_;
    bool lastSucceeded_ = false;
    std::uint32_t waitResult_ = kWaitEnded;
};

// Workers that outlived their wait. Each one still holds its library and releases it
// itself when its entry point returns.
int abandonedWorkers();
// Waits until every abandoned worker has ended; false when the time ran out first.
bool waitForAbandonedWorkers(int timeoutMs);

// Ends the process with the exit code. While an abandoned worker still runs inside its
// library, the library's and the program's static destructors must not run under it,
// so the process then ends without them (std::_Exit) once output is flushed.
[[noreturn]] void endProcess(int exitCode);

}  // namespace ostrel
