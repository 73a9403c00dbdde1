#pragma once
// Helpers shared by the tests: paths of the corpus, the test data and the artifact folder.
#include <string>

namespace testsupport {

std::string CorpusPath(const std::string& name);
std::string TestDataPath(const std::string& name);
std::string ArtifactPath(const std::string& name); // creates the artifact folder
std::string ReadFileBytes(const std::string& path);
// The corpus novel repeated and cut at `size` bytes without splitting a double-byte character.
std::string BuildDocument(const std::string& corpusName, std::size_t size);

} // namespace testsupport
