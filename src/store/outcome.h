#pragma once

#include <QString>

#include <type_traits>
#include <utility>
#include <variant>

namespace pv::store {

// Why an operation did not do what was asked. File-system failures carry the
// classic runtime error numbers (53 file not found, 62 input past end of file,
// 76 path not found, ...) so that the error report shows a familiar number.
struct Failure {
    enum class Kind {
        FileSystem,  // the file system said no; the screens report it
        Refused,     // the store will not accept this name or text; a "User error"
        NoTempPath,  // "Error getting temporary file path."
        NoTempFile,  // "Error getting temporary filename."
        Cancelled,   // the user stopped a long operation; nothing to tell
    };
    Kind kind = Kind::FileSystem;
    int number = 0;
    QString description;
    // For Refused: the full text of the "User error" message, the same on every screen.
    QString userMessage;

    bool isRefusal() const { return kind == Kind::Refused; }
    bool isCancelled() const { return kind == Kind::Cancelled; }
    // The file-system failures the screens tell apart (53 and 76).
    bool isFileNotFound() const;
    bool isPathNotFound() const;
    static Failure fileSystem(int number, QString description) {
        return {Kind::FileSystem, number, std::move(description), {}};
    }
};

// A value or a Failure; the store never throws across its boundary.
template <typename T>
class Outcome {
public:
    Outcome(T value) : state_(std::move(value)) {}
    Outcome(Failure failure) : state_(std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T& value() const { return std::get<0>(state_); }
    T& value() { return std::get<0>(state_); }
    const Failure& failure() const { return std::get<1>(state_); }

    // The value turned by `f`, or the same failure.
    template <typename F>
    auto map(F&& f) const -> Outcome<std::invoke_result_t<F, const T&>> {
        if (!ok()) {
            return failure();
        }
        return std::forward<F>(f)(value());
    }

private:
    std::variant<T, Failure> state_;
};

template <>
class Outcome<void> {
public:
    Outcome() = default;
    Outcome(Failure failure) : failure_(std::move(failure)), ok_(false) {}

    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    const Failure& failure() const { return failure_; }

private:
    Failure failure_;
    bool ok_ = true;
};

}  // namespace pv::store
