#include "BenchSupport.h"

#include "TestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/resource.h>

namespace benchsupport {

std::string ReadCorpus(const std::string& name) {
    return testsupport::ReadCorpus(name);
}

std::string BuildDocument(const std::string& corpusName, std::size_t size) {
    return testsupport::BuildDocument(corpusName, size);
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
