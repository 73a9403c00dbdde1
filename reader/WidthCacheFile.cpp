#include "WidthCacheFile.h"

#include "base/SaveTemporary.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The layout: magic, key size, key, entry count, entries (code, width), checksum of all that
// comes before it. Numbers are in the machine's own order: the file never leaves the machine.
constexpr char Magic[4] = {'M', 'J', 'W', '1'};
// More than every code of one and two bytes plus many four-byte ones: anything larger is not
// a file this program wrote.
constexpr std::size_t MaxFileBytes = 4u << 20;

std::uint64_t Fnv1a(std::string_view bytes) {
    std::uint64_t hash = 1469598103934665603ull;
    for (const char c : bytes)
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return hash;
}

template <class T> void Put(std::string& out, T value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// Reads a T at `pos` and moves past it; false when the bytes end first.
template <class T> bool Take(std::string_view bytes, std::size_t& pos, T& value) {
    if (bytes.size() - pos < sizeof value)
        return false;
    std::memcpy(&value, bytes.data() + pos, sizeof value);
    pos += sizeof value;
    return true;
}

std::string CacheHome() {
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && xdg[0] == '/')
        return xdg;
    if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        return std::string(home) + "/.cache";
    return {};
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

std::string WidthCachePath(std::string_view key) {
    const std::string home = CacheHome();
    if (home.empty())
        return {};
    char name[40];
    std::snprintf(name, sizeof name, "/mojuan/widths-%016llx.bin",
                  static_cast<unsigned long long>(Fnv1a(key)));
    return home + name;
}

std::string EncodeWidths(std::string_view key, const CharWidthCache& cache) {
    const std::vector<std::pair<std::uint32_t, float>> known = cache.Known();
    std::string out(Magic, sizeof Magic);
    Put(out, static_cast<std::uint32_t>(key.size()));
    out += key;
    Put(out, static_cast<std::uint32_t>(known.size()));
    for (const auto& [code, width] : known) {
        Put(out, code);
        Put(out, width);
    }
    Put(out, Fnv1a(out));
    return out;
}

bool DecodeWidths(std::string_view bytes, std::string_view key, CharWidthCache& cache) {
    std::uint64_t sum = 0;
    if (bytes.size() < sizeof Magic + sizeof sum ||
        bytes.substr(0, sizeof Magic) != std::string_view(Magic, sizeof Magic))
        return false;
    const std::string_view body = bytes.substr(0, bytes.size() - sizeof sum);
    std::memcpy(&sum, bytes.data() + body.size(), sizeof sum);
    if (sum != Fnv1a(body))
        return false;
    std::size_t pos = sizeof Magic;
    std::uint32_t keySize = 0, count = 0;
    if (!Take(body, pos, keySize) || body.size() - pos < keySize ||
        body.substr(pos, keySize) != key)
        return false;
    pos += keySize;
    if (!Take(body, pos, count) || (body.size() - pos) / 8 != count || (body.size() - pos) % 8)
        return false;
    std::vector<std::pair<std::uint32_t, float>> widths(count);
    for (auto& [code, width] : widths)
        Take(body, pos, code) && Take(body, pos, width);
    cache.Preload(widths);
    return true;
}

bool LoadWidthCache(const std::string& path, std::string_view key, CharWidthCache& cache) {
    if (path.empty())
        return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st {};
    std::string bytes;
    bool read = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                static_cast<std::size_t>(st.st_size) <= MaxFileBytes;
    if (read) {
        bytes.resize(static_cast<std::size_t>(st.st_size));
        read = ::read(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }
    ::close(fd);
    return read && DecodeWidths(bytes, key, cache);
}

bool SaveWidthCache(const std::string& path, std::string_view key, const CharWidthCache& cache) {
    if (path.empty())
        return false;
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    const SaveTemporary temporary = MakeSaveTemporary(path);
    if (temporary.Fd < 0)
        return false;
    const bool written = WriteAll(temporary.Fd, EncodeWidths(key, cache));
    const bool closed = ::close(temporary.Fd) == 0;
    if (written && closed && ::rename(temporary.Path.c_str(), path.c_str()) == 0)
        return true;
    ::unlink(temporary.Path.c_str());
    return false;
}
