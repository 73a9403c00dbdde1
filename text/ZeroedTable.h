#pragma once
// A large lookup table whose values start as all zero bytes, mostly left so. It is taken from
// calloc: a block this large comes from the system as untouched pages, so only the pages a
// value is written to take memory (reading an untouched one maps the system's shared zero page),
// where a vector or std::array would write every page of it.
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>
#include <type_traits>

template <typename T> class ZeroedTable {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>,
                  "the values are made by zeroing their bytes");

public:
    explicit ZeroedTable(std::size_t count)
        : Values(static_cast<T*>(std::calloc(count, sizeof(T)))) {
        if (!Values)
            throw std::bad_alloc();
    }
    T& operator[](std::size_t i) { return Values.get()[i]; }
    const T& operator[](std::size_t i) const { return Values.get()[i]; }
    const T* data() const { return Values.get(); }

private:
    struct Free {
        void operator()(T* values) const { std::free(values); }
    };
    std::unique_ptr<T, Free> Values;
};
