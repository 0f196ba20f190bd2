#include "importtask.h"

#include "busypointer.h"
#include "importprogresswindow.h"
#include "windowregistry.h"

#include <QApplication>
#include <QThread>

#include <atomic>

namespace pv {

struct ImportTask::Shared {
    std::atomic<int> percent{0};
    std::atomic<bool> cancelled{false};
};

namespace {

int quietMs = ImportTask::kQuietMs;
std::function<void()> beforeWork;

}  // namespace

void ImportTask::setQuietMs(int milliseconds) {
    quietMs = milliseconds < 0 ? kQuietMs : milliseconds;
}

void ImportTask::setBeforeWork(std::function<void()> step) {
    beforeWork = std::move(step);
}

QPointer<ImportTask>& ImportTask::current() {
    static QPointer<ImportTask> task;
    return task;
}

bool ImportTask::running() {
    return !current().isNull();
}

ImportTask::ImportTask() : QObject(QApplication::instance()), shared_(std::make_shared<Shared>()) {
    ticker_.setInterval(50);
    connect(&ticker_, &QTimer::timeout, this, &ImportTask::tick);
}

ImportTask::~ImportTask() {
    // The program ends under a running task: it stops at its next look.
    if (thread_) {
        shared_->cancelled = true;
        thread_->wait();
        delete thread_;
    }
}

bool ImportTask::start(const QString& message, Work work, Done done, QWidget* over) {
    if (running()) {
        return false;
    }
    auto* task = new ImportTask;
    current() = task;
    task->done_ = std::move(done);
    task->message_ = message;
    task->origin_ = over ? over : QApplication::activeWindow();
    task->thread_ = QThread::create([shared = task->shared_, work = std::move(work),
                                     before = beforeWork] {
        if (before) {
            before();
        }
        const exchange::RecipeImporter::Progress progress{
            [shared](int percent) { shared->percent.store(percent, std::memory_order_relaxed); },
            [shared] { return shared->cancelled.load(std::memory_order_relaxed); }};
        work(progress);
    });
    // Emitted on the worker; handled on the window's thread.
    connect(task->thread_, &QThread::finished, task, &ImportTask::finish);
    setBusyPointer();
    task->elapsed_.start();
    task->ticker_.start();
    task->thread_->start();
    return true;
}

void ImportTask::tick() {
    if (!shown_ && elapsed_.hasExpired(quietMs)) {
        shown_ = true;
        // Cancel is a button to point at, not something to wait on.
        setDefaultPointer();
        if (auto* window =
                qobject_cast<ImportProgressWindow*>(windows().load(WindowId::ImportProgress))) {
            window->begin(message_, [shared = shared_] { shared->cancelled = true; });
            if (origin_) {
                window->move(origin_->frameGeometry().center() - window->rect().center());
            }
            windows().show(WindowId::ImportProgress);
        }
    }
    if (shown_) {
        if (auto* window = windows().loadedAs<ImportProgressWindow>(WindowId::ImportProgress)) {
            window->setPercent(shared_->percent.load(std::memory_order_relaxed));
        }
    }
}

void ImportTask::finish() {
    ticker_.stop();
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
    if (shown_) {
        if (auto* window = windows().loadedAs<ImportProgressWindow>(WindowId::ImportProgress)) {
            window->end();
        }
    } else {
        setDefaultPointer();
    }
    current() = nullptr;
    const Done done = std::move(done_);
    const bool cancelled = shared_->cancelled;
    deleteLater();
    if (done) {
        done(cancelled);
    }
}

}  // namespace pv
