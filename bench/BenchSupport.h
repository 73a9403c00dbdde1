#pragma once
// Documents for the benchmarks, built from the corpus novels.
#include <cstddef>
#include <string>

namespace benchsupport {

std::string ReadCorpus(const std::string& name);
// The novel repeated and cut at `size` bytes, never inside a double-byte character.
std::string BuildDocument(const std::string& corpusName, std::size_t size);
// Peak resident set size of this process so far, in bytes.
std::size_t PeakResidentBytes();

} // namespace benchsupport
