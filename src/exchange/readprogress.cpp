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
}

bool ReadProgress::step(qsizetype done, qsizetype total) {
    if (cancelled_) {
        return false;
    }
    const int percent =
        total > 0 ? from_ + int((to_ - from_) * std::min(1.0, double(done) / double(total)))
                  : from_;
    const bool moved = percent != reported_;
    if (moved || ++calls_ % kPollEvery == 0) {
        if (moved) {
            reported_ = percent;
            if (progress_.report) {
                progress_.report(percent);
            }
        }
        cancelled_ = progress_.cancelled && progress_.cancelled();
    }
    return !cancelled_;
}

}  // namespace pv::exchange
