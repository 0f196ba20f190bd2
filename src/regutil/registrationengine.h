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

inline const QString kProgramTitle = QStringLiteral("Ostrel32");

// Message-box icons, numbered as the platform's message-box flags (always with OK alone).
enum class MessageIcon { None = 0, Critical = 16, Exclamation = 48 };

// What one call of the engine came to.
enum class Outcome {
    Succeeded,
    NotLoaded,
    UnknownMode,
    NoEntryPoint,  // also: no worker thread could be started
    TimedOut,      // also: the wait failed
    WorkerEnded,   // the entry point threw, or ended or cancelled its own thread
};

// The outcome with the message the user is to see; a success has no message.
struct Report {
    Outcome outcome = Outcome::Succeeded;
    QString text;
    QString title;
    MessageIcon icon = MessageIcon::None;
};

// Told what the engine does, by the thread that called it. The window shows the busy
// pointer and the message boxes; tests record.
class RegistrationObserver {
public:
    virtual ~RegistrationObserver() = default;
    // The screen-wide pointer: busy while a worker runs, default again before any message.
    virtual void setBusy(bool busy) = 0;
    // Once per call, when its outcome is known. The engine goes on when this returns.
    virtual void reported(const Report& report) = 0;
};

// Registers or unregisters one library file by running its self-registration entry
// point on a worker thread, waiting at most the wait limit. The outcome of every call is
// reported to the observer; the flag lastSucceeded() follows the outcomes.
class RegistrationEngine {
public:
    // The loader is borrowed; nullptr means the platform's own.
    explicit RegistrationEngine(int waitLimitMs = kDefaultWaitLimitMs,
                                LibraryLoader* loader = nullptr);
    virtual ~RegistrationEngine() = default;

    // mode "" registers, "U" or "u" unregisters, anything else is refused.
    void registerLibraryFile(const QString& file, const QString& mode,
                             RegistrationObserver& observer);

    bool lastSucceeded() const { return lastSucceeded_; }
    void setLastSucceeded(bool value) { lastSucceeded_ = value; }
    std::uint32_t waitResult() const { return waitResult_; }
    int waitLimitMs() const { return waitLimitMs_; }

protected:
    // Starts the worker thread; throws std::system_error when no thread can be had.
    virtual std::thread startWorker(std::function<void()> work);
    // How long to wait for the worker running this file's entry point.
    virtual int waitLimitFor(const QString& file) const;

private:
    void failEntryOrThread(const QString& file, RegistrationObserver& observer);

    int waitLimitMs_;
    LibraryLoader& loader_;
    bool lastSucceeded_ = false;
    std::uint32_t waitResult_ = kWaitEnded;
};

// Workers that outlived their wait. Each one still holds its library and releases it
// itself when it ends.
int abandonedWorkers();
// Waits until every abandoned worker has ended; false when the time ran out first.
bool waitForAbandonedWorkers(int timeoutMs);

// Ends the process with the exit code. While an abandoned worker still runs inside its
// library, the library's and the program's static destructors must not run under it,
// so the process then ends without them (std::_Exit) once output is flushed.
[[noreturn]] void endProcess(int exitCode);

}  // namespace ostrel
