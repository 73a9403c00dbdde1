#pragma once
// The bytes of one chunk: its own, or a view into the document's file mapped into memory, which
// the chunk keeps mapped. Chunks made by a pass or an edit own their bytes; chunks of a plain
// file read as it is are views, so opening copies nothing.
#include "base/MappedFile.h"

#include <memory>
#include <string>
#include <string_view>

class ChunkBytes {
public:
    explicit ChunkBytes(std::string own) : Own(std::move(own)), View(Own) {}
    ChunkBytes(std::shared_ptr<const MappedFile> file, std::string_view part)
        : File(std::move(file)), View(part) {}
    ChunkBytes(const ChunkBytes&) = delete;
    ChunkBytes& operator=(const ChunkBytes&) = delete;

    operator std::string_view() const { return View; }
    const char* data() const { return View.data(); }
    std::size_t size() const { return View.size(); }
    bool empty() const { return View.empty(); }
    char operator[](std::size_t i) const { return View[i]; }
    auto begin() const { return View.begin(); }
    auto end() const { return View.end(); }
    std::string String() const { return std::string(View); }
    bool operator==(std::string_view other) const { return View == other; }

    // A scan is done with these bytes for now: a mapped chunk gives its pages back to the file
    // cache, whence the next touch brings them; an owned chunk stays as it is.
    void LetGo() const {
        if (File)
            File->LetGo(View);
    }
    // Whether these bytes are a view of the file at `path`.
    bool ViewsFileAt(const std::string& path) const { return File && File->IsFileAt(path); }

private:
    std::string Own;
    std::shared_ptr<const MappedFile> File;
    std::string_view View;
};

using Chunk = std::shared_ptr<const ChunkBytes>;

inline Chunk MakeChunk(std::string bytes) {
    return std::make_shared<const ChunkBytes>(std::move(bytes));
}
