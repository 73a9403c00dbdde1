#pragma once
// What the fuzz targets share: a check that stops the run with a finding when it fails.
#include <cstdio>
#include <cstdlib>
#include <string_view>

// Inputs up to this size are also run through the quadratic rendering of the rules.
constexpr std::size_t ReferenceLimit = 2048;

inline void FuzzCheck(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

inline std::string_view AsText(const unsigned char* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}
