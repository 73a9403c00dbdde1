#pragma once
// Documents for the benchmarks, built from the corpus novels.
#include <cstddef>
#include <string>
#include <vector>

namespace benchsupport {

std::string ReadCorpus(const std::string& name);
// The novel repeated and cut at `size` bytes, never inside a double-byte character.
std::string BuildDocument(const std::string& corpusName, std::size_t size);
// The same document as chunks of `chunkSize` bytes, built without ever holding it whole.
std::vector<std::string> BuildChunks(const std::string& corpusName, std::size_t size,
                                     std::size_t chunkSize);
// Peak resident set size of this process so far, in bytes.
std::size_t PeakResidentBytes();

} // namespace benchsupport
