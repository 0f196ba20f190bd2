#pragma once

#include "recipeimporter.h"

namespace pv::exchange {

// What the readers tell of a long read, and how they learn that it is to
// stop: a cheap call in their loops that reports only when the percent
// changes and asks the caller now and then.
class ReadProgress {
public:
    explicit ReadProgress(const RecipeImporter::Progress& progress = {});

    // The next steps fill the percent from `from` to `to` of the whole read.
    void phase(int from, int to);

    // done of total of the current phase. False once the caller has asked to
    // stop: the reader then returns at once with what it has.
    bool step(qsizetype done, qsizetype total);

    bool cancelled() const { return cancelled_; }

private:
    const RecipeImporter::Progress& progress_;
    int from_ = 0;
    int to_ = 100;
    int reported_ = -1;
    qsizetype nextLook_ = 0;  // the done at which the percent is worked out again
    unsigned calls_ = 0;
    bool cancelled_ = false;
};

}  // namespace pv::exchange
