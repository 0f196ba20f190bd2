#include "readprogress.h"

namespace pv::exchange {

namespace {
// Calls between two questions to the caller when the percent stays the same.
constexpr unsigned kPollEvery = 4096;
}  // namespace

ReadProgress::ReadProgress(const RecipeImporter::Progress& progress) : progress_(progress) {}

void ReadProgress::phase(int from, int to) {
    from_ = from;
    to_ = to;
    nextLook_ = 0;
}

bool ReadProgress::step(qsizetype done, qsizetype total) {
    // Most calls in a reader's loop come to this one comparison.
    if (done < nextLook_ && done < total && ++calls_ % kPollEvery != 0) {
        return !cancelled_;
    }
    if (cancelled_) {
        return false;
    }
    const int span = to_ - from_;
    const int percent =
        total > 0 ? from_ + int(span * std::min(1.0, double(done) / double(total))) : from_;
    // The next whole percent of this phase.
    nextLook_ =
        span > 0 && total > 0 ? done + std::max<qsizetype>(1, total / (span * 2)) : done + 1;
    if (percent != reported_) {
        reported_ = percent;
        if (progress_.report) {
            progress_.report(percent);
        }
    }
    cancelled_ = progress_.cancelled && progress_.cancelled();
    return !cancelled_;
}

}  // namespace pv::exchange
