#include "searchrun.h"

#include "openfolder.h"
#include "paths.h"
#include "store.h"

#include <QByteArray>
#include <QSet>

#include <optional>

namespace pv::find {
namespace {

// How far listing may run ahead of delivery: a listing is held in memory
// until its files are read.
constexpr int kListAhead = 3;
// Matches wait at most this long, or until this many gathered, before they
// leave in one batch; the first ones leave at once.
constexpr auto kBatchInterval = std::chrono::milliseconds(25);
constexpr int kBatchSize = 256;
// The room for a file's bytes that a worker keeps from one file to the next.
constexpr qsizetype kKeptRoom = 256 * 1024;

}  // namespace

struct SearchRun::Category {
    // One listed folder, held while parts of it remain to be read.
    struct Listing {
        explicit Listing(const store::fs::Path& path) : folder(path) {}
        store::fs::OpenFolder folder;
        std::vector<store::ListedFile> files;
    };

    QString name;
    store::fs::Path folder;
    std::shared_ptr<const Listing> listing;
    int parts = -1;  // not listed yet
    int partsRead = 0;
    std::vector<std::optional<MatchList>> found;  // by part, once read
};

SearchRun::SearchRun(QString dataFolder, QStringView query, int limit, Sink sink)
    : dataFolder_(std::move(dataFolder)), matcher_(query), limit_(limit), sink_(std::move(sink)) {}

SearchRun::~SearchRun() = default;

void SearchRun::abandon() {
    stopped_ = true;
    std::lock_guard lock(mutex_);
    abandoned_ = true;
    changed_.notify_all();
}

void SearchRun::prepare() {
    std::vector<Category> categories;
    if (!matcher_.isEmpty()) {
        const store::Store store(dataFolder_);
        // As the browser offers them; no list is no categories.
        const auto names = store.listCategoriesByField();
        QSet<store::fs::Path> folders;
        for (const QString& name : names ? names.value() : QStringList()) {
            auto folder = store.categoryFolder(name);
            // A name listed twice, or in another case, is one folder, searched once.
            if (!folder || folders.contains(folder.value())) {
                continue;
            }
            folders.insert(folder.value());
            categories.push_back({name, folder.value(), nullptr, -1, 0, {}});
        }
    }
    std::lock_guard lock(mutex_);
    categories_ = std::move(categories);
    lastSent_ = std::chrono::steady_clock::now();
    deliverInOrder();
}

void SearchRun::work() {
    std::call_once(prepared_, [this] { prepare(); });
    QByteArray bytes;
    std::string scratch;
    std::unique_lock lock(mutex_);
    for (;;) {
        const Task task = claim(lock);
        if (task.kind == Task::Kind::None) {
            return;
        }
        lock.unlock();
        if (task.kind == Task::Kind::List) {
            list(task.category);
        } else {
            scan(task.category, task.part, bytes, scratch);
        }
        lock.lock();
    }
}

SearchRun::Task SearchRun::claim(std::unique_lock<std::mutex>& lock) {
    for (;;) {
        if (stopped_ || deliveredCategory_ >= int(categories_.size())) {
            return {};
        }
        // The earliest part first, so matches leave in order as soon as can be.
        if (!ready_.empty()) {
            const auto [category, part] = *ready_.begin();
            ready_.erase(ready_.begin());
            return {Task::Kind::Scan, category, part};
        }
        if (nextToList_ < int(categories_.size()) &&
            nextToList_ - deliveredCategory_ < kListAhead) {
            return {Task::Kind::List, nextToList_++, 0};
        }
        // Another thread lists or reads what comes next.
        changed_.wait(lock);
    }
}

void SearchRun::list(int index) {
    const store::fs::Path folder = [&] {
        std::lock_guard lock(mutex_);
        return categories_[size_t(index)].folder;
    }();
    auto listing = std::make_shared<Category::Listing>(folder);
    // A category without its folder (or any folder that cannot be read) has
    // nothing to find.
    if (listing->folder.isOpen()) {
        auto files = store::listFileEntries(folder);
        if (files) {
            listing->files = std::move(files.value());
        }
    }
    const int parts = int((listing->files.size() + kPartSize - 1) / kPartSize);
    std::lock_guard lock(mutex_);
    Category& category = categories_[size_t(index)];
    category.parts = parts;
    category.found.resize(size_t(parts));
    if (parts > 0) {
        category.listing = std::move(listing);
    }
    for (int part = 0; part < parts; ++part) {
        ready_.insert({index, part});
    }
    deliverInOrder();
    changed_.notify_all();
}

void SearchRun::scan(int index, int part, QByteArray& bytes, std::string& scratch) {
    QString name;
    std::shared_ptr<const Category::Listing> listing;
    {
        std::lock_guard lock(mutex_);
        name = categories_[size_t(index)].name;
        listing = categories_[size_t(index)].listing;
    }
    const std::vector<store::ListedFile>& files = listing->files;
    const size_t end = std::min(files.size(), size_t(part + 1) * kPartSize);
    MatchList found;
    for (size_t i = size_t(part) * kPartSize; i < end; ++i) {
        if (stopped_.load(std::memory_order_relaxed)) {
            return;
        }
        const store::ListedFile& file = files[i];
        // A name listed twice is one file to the store (see listFileEntries).
        if (i > 0 && file.name == files[i - 1].name) {
            continue;
        }
        // What cannot be read, or is not a regular file, is no recipe.
        const bool read = listing->folder.readFile(file.native, bytes, kLargestRecipe,
                                                   file.plainFile) == store::fs::ReadResult::Ok;
        if (read && matcher_.mayMatch(bytes, file.name, scratch, &stopped_)) {
            if (auto match = matcher_.match(name, file.name, bytes, &stopped_)) {
                found.append(std::move(*match));
            }
        }
        // A large file's room is not kept for the small ones after it.
        if (bytes.capacity() > kKeptRoom) {
            bytes = QByteArray();
        }
    }
    if (stopped_.load(std::memory_order_relaxed)) {
        return;
    }
    listing.reset();
    std::lock_guard lock(mutex_);
    Category& category = categories_[size_t(index)];
    category.found[size_t(part)] = std::move(found);
    if (++category.partsRead == category.parts) {
        category.listing.reset();
    }
    deliverInOrder();
    changed_.notify_all();
}

// Moves every part that is read and next in order to the pending matches, and
// sends them when the batch is due, the limit passed or the search done.
void SearchRun::deliverInOrder() {
    if (abandoned_ || stopped_) {
        return;
    }
    while (deliveredCategory_ < int(categories_.size())) {
        Category& category = categories_[size_t(deliveredCategory_)];
        if (category.parts < 0) {
            break;
        }
        while (deliveredPart_ < category.parts && category.found[size_t(deliveredPart_)]) {
            pending_.append(std::move(*category.found[size_t(deliveredPart_)]));
            category.found[size_t(deliveredPart_)] = MatchList();
            ++deliveredPart_;
        }
        if (deliveredPart_ < category.parts) {
            break;
        }
        category.found = {};
        ++deliveredCategory_;
        deliveredPart_ = 0;
    }
    if (sent_ + pending_.size() > limit_) {
        pending_.resize(limit_ - sent_);
        send(true, true);
    } else if (deliveredCategory_ >= int(categories_.size())) {
        send(true, false);
    } else if (!pending_.isEmpty() &&
               (sent_ == 0 || pending_.size() >= kBatchSize ||
                std::chrono::steady_clock::now() - lastSent_ >= kBatchInterval)) {
        send(false, false);
    }
}

void SearchRun::send(bool finished, bool moreThanLimit) {
    sent_ += int(pending_.size());
    lastSent_ = std::chrono::steady_clock::now();
    if (finished) {
        stopped_ = true;
        changed_.notify_all();
    }
    sink_(std::exchange(pending_, MatchList()), finished, moreThanLimit);
}

}  // namespace pv::find
