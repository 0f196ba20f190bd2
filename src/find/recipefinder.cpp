#include "recipefinder.h"

#include "searchrun.h"

#include <QThread>

#include <algorithm>

namespace pv::find {

RecipeFinder::RecipeFinder(QString dataFolder, QObject* parent, int workers)
    : QObject(parent),
      dataFolder_(std::move(dataFolder)),
      workerCount_(workers > 0 ? workers : std::clamp(QThread::idealThreadCount(), 1, 4)) {}

RecipeFinder::~RecipeFinder() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        if (run_) {
            run_->abandon();
        }
    }
    wake_.notify_all();
    for (std::thread& worker : workers_) {
        worker.join();
    }
}

quint64 RecipeFinder::find(const QString& query) {
    // Numbers are never reused: late matches of an abandoned query must not
    // pass for those of the next one.
    const quint64 number = ++issued_;
    current_ = number;
    // Queued to this object: delivered on its thread, and dropped with it.
    auto sink = [this, number](MatchList matches, bool done, bool moreThanLimit) {
        QMetaObject::invokeMethod(
            this,
            [this, number, matches = std::move(matches), done, moreThanLimit] {
                deliver(number, matches, done, moreThanLimit);
            },
            Qt::QueuedConnection);
    };
    auto run = std::make_shared<SearchRun>(dataFolder_, query, kMatchLimit, std::move(sink));
    {
        std::lock_guard lock(mutex_);
        if (run_) {
            run_->abandon();
        }
        run_ = std::move(run);
        ++runNumber_;
        doneWithRun_ = 0;
        while (int(workers_.size()) < workerCount_) {
            workers_.emplace_back([this] { workLoop(); });
        }
    }
    wake_.notify_all();
    return number;
}

void RecipeFinder::abandon() {
    current_ = 0;
    std::lock_guard lock(mutex_);
    if (run_) {
        run_->abandon();
        run_.reset();
    }
}

void RecipeFinder::waitUntilIdle() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [&] { return !run_ || doneWithRun_ == workers_.size(); });
}

void RecipeFinder::workLoop() {
    quint64 done = 0;
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [&] { return stopping_ || (run_ && runNumber_ != done); });
        if (stopping_) {
            return;
        }
        const std::shared_ptr<SearchRun> run = run_;
        done = runNumber_;
        lock.unlock();
        run->work();
        lock.lock();
        if (done == runNumber_) {
            ++doneWithRun_;
            idle_.notify_all();
        }
    }
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
