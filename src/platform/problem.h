#pragma once

#include <QString>

#include <optional>
#include <utility>

namespace pv {

namespace store {
struct Failure;
}

// Why something a window asked for did not happen, as the error report shows
// it: the classic error number and its description.
struct Problem {
    int number = 0;
    QString description;

    bool isFileNotFound() const;

    static Problem fileNotFound();
    // A store failure as the windows see it; the one place where the two meet.
    static Problem fromStore(const store::Failure& failure);
};

// A value, or the Problem that kept it from being made.
template <typename T>
class Result {
public:
    Result(T value) : value_(std::move(value)) {}
    Result(Problem problem) : problem_(std::move(problem)) {}

    explicit operator bool() const { return !problem_; }
    const T& value() const { return *value_; }
    const Problem& problem() const { return *problem_; }

private:
    std::optional<T> value_;
    std::optional<Problem> problem_;
};

// Done, or the Problem that stopped it.
template <>
class Result<void> {
public:
    Result() = default;
    Result(Problem problem) : problem_(std::move(problem)) {}

    explicit operator bool() const { return !problem_; }
    const Problem& problem() const { return *problem_; }

private:
    std::optional<Problem> problem_;
};

}  // namespace pv
