#include "ShownText.h"

#include "reader/ProgressWindow.h"
#include "reader/TextPasses.h"
#include "text/Chunking.h"

bool ApplyMode(std::string_view option, TextOptions& passes) {
    if (option == "--to-gb")
        return true; // every text is transcoded to GB anyway
    if (option == "--big5-to-gb")
        passes.ConvertBig5 = true;
    else if (option == "--gb-to-big5")
        passes.ConvertGb = true;
    else if (option == "--auto-gb" || option == "--auto-big5")
        passes.ConvertBig5 = passes.ConvertGb = true;
    else
        return false;
    // Both codes on is the reader's automatic mode, and AutoConvert then says which way it goes.
    passes.AutoConvert = option == "--auto-gb";
    return true;
}

std::vector<Chunk> ShownChunks(std::string bytes, const TextOptions& passes, bool normalize) {
    std::vector<Chunk> chunks;
    for (std::string_view part : CutChunks(bytes, NoChunkLimit))
        chunks.push_back(MakeChunk(std::string(part)));
    bytes = std::string();
    DocumentStore store;
    store.SetChunks(std::move(chunks));
    NoProgress progress;
    if (normalize)
        Init_Text(store, progress);
    Init_Page_Do(store, passes, progress);
    return std::move(store.ShownChunk);
}
