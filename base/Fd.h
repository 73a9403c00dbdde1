#pragma once
// A file descriptor closed when it goes; -1 holds none.
#include <unistd.h>
#include <utility>

class Fd {
public:
    explicit Fd(int fd = -1) : Value(fd) {}
    Fd(Fd&& other) noexcept : Value(std::exchange(other.Value, -1)) {}
    Fd& operator=(Fd&& other) noexcept {
        std::swap(Value, other.Value);
        return *this;
    }
    ~Fd() {
        if (Value >= 0)
            ::close(Value);
    }
    int Get() const { return Value; }
    int Release() { return std::exchange(Value, -1); }

private:
    int Value;
};
