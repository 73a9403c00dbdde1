#pragma once
// A regular file mapped read-only into memory, so that a document's text is read from the
// system's file cache instead of being copied into memory of the process's own. The pages a
// scan has finished with can be let go: they stay in the file cache and come back on the next
// touch, so a long book does not keep its whole text resident.
//
// Another program may shorten the file while it is mapped; touching a page past the new end
// would kill the process with SIGBUS. A handler catches exactly that fault inside a live
// mapping, maps zero pages over the whole mapping and lets the read go on: the text reads as
// NUL bytes from then on, until the file is opened again.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <sys/types.h>

class MappedFile {
public:
    // The whole of the open file `fd` of `size` bytes (size > 0), or null when it cannot be
    // mapped (a file system without mapping, no free slot for the guard): read it instead.
    static std::shared_ptr<const MappedFile> Map(int fd, std::size_t size);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::string_view Bytes() const { return {Base, Size}; }
    // Drops the process's pages of `part` (a view into Bytes()); the bytes stay as they are.
    void LetGo(std::string_view part) const;
    // Whether `path` names the mapped file (the same file, under whichever name).
    bool IsFileAt(const std::string& path) const;

private:
    MappedFile(const char* base, std::size_t size, int slot) : Base(base), Size(size), Slot(slot) {}
    const char* Base;
    std::size_t Size;
    int Slot;
    dev_t Device = 0;
    ino_t Inode = 0;
};
