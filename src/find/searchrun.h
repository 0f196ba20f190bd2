#pragma once

#include "match.h"
#include "recipematcher.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

class QByteArray;

namespace pv::find {

// One query's search over every category of a data folder. Any number of
// threads join it through work(); between them they list each category's
// folder once and read its files in parts, and the matches leave through the
// sink in the browser's order: category list order, then file list order.
class SearchRun {
public:
    // Gets the matches in order, a batch at a time, and once the end: whether
    // more matches than the limit exist. Called by the worker threads, one
    // call at a time, never after abandon() returned; it must not block.
    using Sink = std::function<void(MatchList batch, bool finished, bool moreThanLimit)>;

    SearchRun(QString dataFolder, QStringView query, int limit, Sink sink);
    ~SearchRun();
    SearchRun(const SearchRun&) = delete;
    SearchRun& operator=(const SearchRun&) = delete;

    // Takes parts of the search until none is left, the limit is reached or
    // the run is abandoned.
    void work();
    // Stops the run: no more matches leave it, and work() returns soon in
    // every thread.
    void abandon();

    // Files read together as one part of the work.
    static constexpr int kPartSize = 256;
    // The most of a file that is read. The entry screen's boxes hold at most
    // 884,803 characters outside the directions (27 boxes of 32,767, the rest
    // of a few), one byte each, which with the quotes, commas and line end
    // make a record of 884,909 bytes; the directions have no limit. A file
    // larger than this is no recipe anyone typed (it leaves over a million
    // characters of directions beside every box full) and is not searched:
    // of it, no more is read than the first read's room.
    static constexpr qint64 kLargestRecipe = 2 * 1024 * 1024;

private:
    struct Category;
    struct Task {
        enum class Kind { None, List, Scan } kind = Kind::None;
        int category = 0;
        int part = 0;
    };

    void prepare();
    Task claim(std::unique_lock<std::mutex>& lock);
    void list(int category);
    void scan(int category, int part, QByteArray& bytes, std::string& scratch);
    void deliverInOrder();
    void send(bool finished, bool moreThanLimit);

    const QString dataFolder_;
    const RecipeMatcher matcher_;
    const int limit_;
    const Sink sink_;

    std::once_flag prepared_;
    std::atomic<bool> stopped_{false};  // abandoned, done, or past the limit

    std::mutex mutex_;  // guards everything below
    std::condition_variable changed_;
    bool abandoned_ = false;
    std::vector<Category> categories_;
    int nextToList_ = 0;
    std::set<std::pair<int, int>> ready_;  // listed parts not yet claimed
    int deliveredCategory_ = 0;            // everything before it has left
    int deliveredPart_ = 0;
    MatchList pending_;  // in order, not yet sent
    int sent_ = 0;
    std::chrono::steady_clock::time_point lastSent_;
};

}  // namespace pv::find
