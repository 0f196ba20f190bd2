#include "registrationengine.h"

#include "libraryloader.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#ifndef _WIN32
#include <pthread.h>
#endif

namespace ostrel {
namespace {

// Count of workers that outlived their wait. Allocated once and never destroyed:
// a worker may still be counting itself out while the process ends.
struct AbandonedCount {
    std::mutex mutex;
    std::condition_variable changed;
    int count = 0;
};

AbandonedCount& abandoned() {
    static auto* count = new AbandonedCount;
    return *count;
}

// What the window's thread and one worker share.
struct WorkerJob {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;      // the worker has left the library's code for good
    bool returned = false;  // by a return of the entry point
    bool abandoned = false;
    EntryPoint entry = nullptr;
    std::unique_ptr<LoadedLibrary> library;
};

// A cancellation the entry point asked for on its own thread must not act inside the
// engine's code once the entry point has returned.
void refuseCancellation() {
#ifndef _WIN32
    pthread_setcancelstate(PTHREAD_CANCEL_DISABLE, nullptr);
#endif
}

void finishWorker(const std::shared_ptr<WorkerJob>& job, bool returned) {
    refuseCancellation();
    std::unique_ptr<LoadedLibrary> release;
    {
        std::lock_guard lock(job->mutex);
        job->done = true;
        job->returned = returned;
        if (job->abandoned) {
            release = std::move(job->library);
        }
    }
    job->ended.notify_all();
    if (release) {
        // Nobody waits for this worker any more: the library is released here, now
        // that no code of it runs on this thread.
        release.reset();
        AbandonedCount& count = abandoned();
        {
            std::lock_guard lock(count.mutex);
            --count.count;
        }
        count.changed.notify_all();
    }
}

// Tells that the worker has ended, however it ended. Being thread-local, it is destroyed
// when its thread exits: after the entry point returned or threw, and also when the entry
// point ended the thread itself (thread exit, cancellation), even where the unwinding
// that comes with that never reaches the worker's own frames.
struct WorkerEnd {
    std::shared_ptr<WorkerJob> job;
    bool returned = false;
    ~WorkerEnd() {
        if (job) {
            finishWorker(job, returned);
        }
    }
};

void runWorker(std::shared_ptr<WorkerJob> job) {
    thread_local WorkerEnd end;
    end.job = std::move(job);
    try {
        end.job->entry();
        end.returned = true;
    } catch (...) {
        // The C library ends a thread (thread exit, cancellation) by unwinding it with an
        // exception that is no C++ exception; stopping it would abort the process.
        if (!std::current_exception()) {
            throw;
        }
        // A C++ exception out of the entry point: it did not finish its work.
    }
    refuseCancellation();
}

}  // namespace

RegistrationEngine::RegistrationEngine(int waitLimitMs, LibraryLoader* loader)
    : waitLimitMs_(waitLimitMs), loader_(loader ? *loader : systemLoader()) {}

void RegistrationEngine::registerLibraryFile(const QString& file, const QString& mode,
                                             RegistrationObserver& observer) {
    std::unique_ptr<LoadedLibrary> library = loader_.load(file);
    if (!library) {
        observer.reported({Outcome::NotLoaded, QStringLiteral("Failure loading control DLL"),
                           kProgramTitle, MessageIcon::None});
        return;
    }

    QString entryName;
    if (mode.isEmpty()) {
        entryName = kRegisterEntry;
    } else if (mode == QLatin1String("U") || mode == QLatin1String("u")) {
        entryName = kUnregisterEntry;
    } else {
        library.reset();
        observer.reported({Outcome::UnknownMode, QStringLiteral("Unknown command handle"),
                           kProgramTitle, MessageIcon::None});
        return;
    }

    const EntryPoint entry = library->entryPoint(entryName.toLatin1().constData());
    if (!entry) {
        failEntryOrThread(file, observer);
        return;
    }

    observer.setBusy(true);
    auto job = std::make_shared<WorkerJob>();
    job->entry = entry;
    job->library = std::move(library);
    std::thread worker;
    try {
        worker = startWorker([job]() mutable { runWorker(std::move(job)); });
    } catch (const std::system_error&) {
        observer.setBusy(false);
        failEntryOrThread(file, observer);
        job->library.reset();
        return;
    }

    bool ended = false;
    bool returned = false;
    {
        std::unique_lock lock(job->mutex);
        ended = job->ended.wait_for(lock, std::chrono::milliseconds(waitLimitFor(file)),
                                    [&job] { return job->done; });
        returned = job->returned;
        if (!ended) {
            // Decided under the worker's lock: from here on the worker releases the
            // library itself when it ends, never before.
            job->abandoned = true;
            std::lock_guard countLock(abandoned().mutex);
            ++abandoned().count;
        }
    }
    waitResult_ = ended ? kWaitEnded : kWaitTimeout;

    if (ended) {
        worker.join();
        job->library.reset();
        if (returned) {
            observer.setBusy(false);
            lastSucceeded_ = true;
            observer.reported({});
            return;
        }
    } else {
        worker.detach();
    }

    // Not ended within the limit, or ended without its entry point returning.
    lastSucceeded_ = false;
    observer.setBusy(false);
    observer.reported({ended ? Outcome::WorkerEnded : Outcome::TimedOut,
                       QStringLiteral("Registration failed in signaled state or time-out for ") +
                           file + QLatin1Char('.'),
                       QStringLiteral("Registration Failed!"), MessageIcon::Critical});
}

std::thread RegistrationEngine::startWorker(std::function<void()> work) {
    return std::thread(std::move(work));
}

int RegistrationEngine::waitLimitFor(const QString&) const {
    return waitLimitMs_;
}

void RegistrationEngine::failEntryOrThread(const QString& file, RegistrationObserver& observer) {
    observer.reported(
        {Outcome::NoEntryPoint,
         QStringLiteral("Registration failed in obtaining entry point or creating thread for ") +
             file + QLatin1Char('.'),
         QStringLiteral("Registration Failed!"), MessageIcon::Critical});
    lastSucceeded_ = false;
}

int abandonedWorkers() {
    std::lock_guard lock(abandoned().mutex);
    return abandoned().count;
}

bool waitForAbandonedWorkers(int timeoutMs) {
    AbandonedCount& count = abandoned();
    std::unique_lock lock(count.mutex);
    return count.changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                  [&count] { return count.count == 0; });
}

void endProcess(int exitCode) {
    if (abandonedWorkers() > 0) {
        std::fflush(nullptr);
        std::_Exit(exitCode);
    }
    std::exit(exitCode);
}

}  // namespace ostrel
