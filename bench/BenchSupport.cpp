#include "BenchSupport.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/resource.h>

namespace benchsupport {

std::string ReadCorpus(const std::string& name) {
    const char* dir = std::getenv("MOJUAN_CORPUS");
    const std::string path = std::string(dir ? dir : MOJUAN_CORPUS_DIR) + "/" + name;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string BuildDocument(const std::string& corpusName, std::size_t size) {
    const std::string novel = ReadCorpus(corpusName);
    std::string doc;
    doc.reserve(size + novel.size());
    while (doc.size() < size)
        doc += novel;
    std::size_t i = 0;
    while (i < size) {
        const auto b = static_cast<unsigned char>(doc[i]);
        const std::size_t len = (b >= 0x81 && b <= 0xFE) ? 2 : 1;
        if (i + len > size)
            break;
        i += len;
    }
    doc.resize(i);
    return doc;
}

std::vector<std::string> BuildChunks(const std::string& corpusName, std::size_t size,
                                     std::size_t chunkSize) {
    const std::string novel = ReadCorpus(corpusName);
    std::vector<std::string> chunks;
    std::size_t from = 0; // position in the novel, which repeats
    for (std::size_t done = 0; done < size;) {
        std::string chunk;
        const std::size_t want = std::min(chunkSize, size - done);
        chunk.reserve(want);
        while (chunk.size() < want) {
            const std::size_t take = std::min(want - chunk.size(), novel.size() - from);
            chunk.append(novel, from, take);
            from = (from + take) % novel.size();
        }
        done += chunk.size();
        chunks.push_back(std::move(chunk));
    }
    return chunks;
}

std::size_t PeakResidentBytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<std::size_t>(usage.ru_maxrss) * 1024;
}

} // namespace benchsupport
