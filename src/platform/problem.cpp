#include "problem.h"

#include "failures.h"

namespace pv {

bool Problem::isFileNotFound() const {
    return number == store::kFileNotFound;
}

Problem Problem::fileNotFound() {
    return {store::kFileNotFound, store::errorDescription(store::kFileNotFound)};
}

Problem Problem::fromStore(const store::Failure& failure) {
    return {failure.number, failure.description};
}

}  // namespace pv
