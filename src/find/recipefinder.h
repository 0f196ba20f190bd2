#pragma once

#include "match.h"

#include <QObject>
#include <QString>

#include <memory>

namespace pv::find {

class SearchRun;
class WorkerPool;

// Finds the recipes that hold every word of a query, in every category of a
// data folder, off the caller's thread.
//
// Lives in the caller's thread, whose event loop must run: every signal is
// emitted there, so receivers need no locking. find() returns at once; the
// search runs on worker threads (one per core, at most four). The newest
// query wins: find() and abandon() stop the search before, and from then on
// nothing of it arrives, not even what was already on its way. The workers
// see a stop between files and within one. The destructor stops the search
// and never waits for the workers: they end on their own, holding what they
// use, and the program's end waits for those still ending.
//
// Matches arrive in order (category list order, then the browser's file
// order, by name ignoring case), in batches while the search runs, the first
// as soon as they are found. At most kMatchLimit arrive; finished() tells
// whether more exist. Only the matches are held, never the recipes.
class RecipeFinder : public QObject {
    Q_OBJECT

public:
    static constexpr int kMatchLimit = 1000;

    // workers: how many threads search; 0 for one per core, at most four.
    explicit RecipeFinder(QString dataFolder, QObject* parent = nullptr, int workers = 0);
    ~RecipeFinder() override;

    // Starts a search and returns its number, larger than any before. A query
    // without words finds nothing (its finished() still comes).
    quint64 find(const QString& query);
    // Stops the current search; nothing more of it arrives.
    void abandon();
    // The number of the search whose signals may still arrive, 0 when none.
    quint64 currentQuery() const { return current_; }
    // Blocks until the workers have done all they will for the current search
    // (its signals may still wait in the event queue). For tests and
    // benchmarks; a window never needs it.
    void waitUntilIdle();

signals:
    // Further matches of the search numbered query, after those before.
    void matchesFound(quint64 query, const pv::find::MatchList& matches);
    // The search numbered query is done; moreThanLimit when it found more
    // matches than the kMatchLimit it delivered.
    void finished(quint64 query, bool moreThanLimit);

private:
    void deliver(quint64 query, const MatchList& matches, bool done, bool moreThanLimit);

    const QString dataFolder_;
    quint64 current_ = 0;  // the caller's thread alone; 0 once abandoned
    quint64 issued_ = 0;   // the last number given to a query
    // Shared with the worker threads, which outlive the finder.
    const std::shared_ptr<WorkerPool> workers_;
};

}  // namespace pv::find
