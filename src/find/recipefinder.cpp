#include "recipefinder.h"

#include "searchrun.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace pv::find {

// What a finder shares with its worker threads. The threads hold it too, so
// it lasts until the last of them has ended, however early the finder goes.
class WorkerPool {
public:
    explicit WorkerPool(int count) : count(count) {}

    // No more searches: the current one stops, and every worker ends as soon
    // as it sees that (between files or within one).
    void stop() {
        std::lock_guard lock(mutex);
        stopping = true;
        if (run) {
            run->abandon();
            run.reset();
        }
        wake.notify_all();
    }

    void workLoop() {
        quint64 done = 0;
        std::unique_lock lock(mutex);
        for (;;) {
            wake.wait(lock, [&] { return stopping || (run && runNumber != done); });
            if (stopping) {
                return;
            }
            std::shared_ptr<SearchRun> current = run;
            done = runNumber;
            lock.unlock();
            current->work();
            current.reset();
            lock.lock();
            if (done == runNumber) {
                ++doneWithRun;
                idle.notify_all();
            }
        }
    }

    const int count;
    std::mutex mutex;  // guards the members below
    std::condition_variable wake;
    std::condition_variable idle;
    std::shared_ptr<SearchRun> run;
    quint64 runNumber = 0;
    int doneWithRun = 0;  // workers back from the current run
    int started = 0;
    bool stopping = false;
};

namespace {

// Every worker thread of every finder, so that the program's end can stop
// those whose finder still lives and wait until all have ended: none runs on
// while the libraries it uses are taken down. They stop within a file, so the
// wait is short; a worker stuck in the file system is not waited for longer
// than kLongestEndingWait.
class AllWorkers {
public:
    static AllWorkers& get() {
        // Never destroyed: a worker may still use it at the very end.
        static AllWorkers* const all = new AllWorkers;
        return *all;
    }

    void add(const std::shared_ptr<WorkerPool>& pool) {
        std::lock_guard lock(mutex_);
        std::erase_if(pools_, [](const std::weak_ptr<WorkerPool>& p) { return p.expired(); });
        pools_.push_back(pool);
        if (!waitsAtEnd_) {
            waitsAtEnd_ = true;
            qAddPostRoutine([] { get().stopAndWait(); });
        }
    }

    void start(std::shared_ptr<WorkerPool> pool) {
        {
            std::lock_guard lock(mutex_);
            ++running_;
        }
        std::thread([pool = std::move(pool)]() mutable {
            pool->workLoop();
            pool.reset();
            get().ended();
        }).detach();
    }

private:
    static constexpr auto kLongestEndingWait = std::chrono::seconds(5);

    void ended() {
        std::lock_guard lock(mutex_);
        --running_;
        allEnded_.notify_all();
    }

    void stopAndWait() {
        std::vector<std::shared_ptr<WorkerPool>> alive;
        {
            std::lock_guard lock(mutex_);
            for (const std::weak_ptr<WorkerPool>& pool : pools_) {
                if (auto kept = pool.lock()) {
                    alive.push_back(std::move(kept));
                }
            }
            pools_.clear();
            waitsAtEnd_ = false;
        }
        for (const auto& pool : alive) {
            pool->stop();
        }
        alive.clear();
        std::unique_lock lock(mutex_);
        allEnded_.wait_for(lock, kLongestEndingWait, [&] { return running_ == 0; });
    }

    std::mutex mutex_;  // guards the members below
    std::condition_variable allEnded_;
    std::vector<std::weak_ptr<WorkerPool>> pools_;
    int running_ = 0;
    bool waitsAtEnd_ = false;
};

}  // namespace

RecipeFinder::RecipeFinder(QString dataFolder, QObject* parent, int workers)
    : QObject(parent),
      dataFolder_(std::move(dataFolder)),
      workers_(std::make_shared<WorkerPool>(
          workers > 0 ? workers : std::clamp(QThread::idealThreadCount(), 1, 4))) {
    AllWorkers::get().add(workers_);
}

RecipeFinder::~RecipeFinder() {
    // After this no match of any search can leave for this object: every
    // search but the current one was abandoned when the next began.
    workers_->stop();
}

quint64 RecipeFinder::find(const QString& query) {
    // Numbers are never reused: late matches of an abandoned query must not
    // pass for those of the next one.
    const quint64 number = ++issued_;
    current_ = number;
    // Queued to this object: delivered on its thread, and dropped with it.
    // Never called once the search is abandoned, which the destructor does.
    auto sink = [this, number](MatchList matches, bool done, bool moreThanLimit) {
        QMetaObject::invokeMethod(
            this,
            [this, number, matches = std::move(matches), done, moreThanLimit] {
                deliver(number, matches, done, moreThanLimit);
            },
            Qt::QueuedConnection);
    };
    auto run = std::make_shared<SearchRun>(dataFolder_, query, kMatchLimit, std::move(sink));
    WorkerPool& pool = *workers_;
    {
        std::lock_guard lock(pool.mutex);
        if (pool.run) {
            pool.run->abandon();
        }
        pool.run = std::move(run);
        ++pool.runNumber;
        pool.doneWithRun = 0;
        for (; pool.started < pool.count; ++pool.started) {
            AllWorkers::get().start(workers_);
        }
    }
    pool.wake.notify_all();
    return number;
}

void RecipeFinder::abandon() {
    current_ = 0;
    std::lock_guard lock(workers_->mutex);
    if (workers_->run) {
        workers_->run->abandon();
        workers_->run.reset();
    }
}

void RecipeFinder::waitUntilIdle() {
    WorkerPool& pool = *workers_;
    std::unique_lock lock(pool.mutex);
    pool.idle.wait(lock, [&] { return !pool.run || pool.doneWithRun == pool.started; });
}

void RecipeFinder::deliver(quint64 query, const MatchList& matches, bool done, bool moreThanLimit) {
    if (query != current_) {
        return;  // abandoned, or replaced by a newer query
    }
    if (!matches.isEmpty()) {
        emit matchesFound(query, matches);
    }
    // A receiver may have started another search meanwhile.
    if (done && query == current_) {
        emit finished(query, moreThanLimit);
    }
}

}  // namespace pv::find
