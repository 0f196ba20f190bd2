#pragma once

#include <QTest>

#include <array>
#include <tuple>
#include <utility>

namespace pv::test {

// The columns of a data-driven test named once: columns() in the _data
// function, one call per row, and fetch() in the test for all values at once.
template <typename... T>
class Table {
public:
    explicit Table(std::array<const char*, sizeof...(T)> names) : names_(names) {}
    void columns() const {
        [&]<std::size_t... I>(std::index_sequence<I...>) {
            (QTest::addColumn<T>(names_[I]), ...);
        }
        (std::index_sequence_for<T...>{});
    }
    void operator()(const char* tag, const T&... values) const {
        (QTest::newRow(tag) << ... << values);
    }
    std::tuple<T...> fetch() const {
        return [&]<std::size_t... I>(std::index_sequence<I...>) {
            return std::tuple<T...>{*static_cast<T*>(QTest::qData(names_[I], qMetaTypeId<T>()))...};
        }
        (std::index_sequence_for<T...>{});
    }

private:
    std::array<const char*, sizeof...(T)> names_;
};

}  // namespace pv::test
