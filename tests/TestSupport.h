#pragma once
// Helpers shared by the tests and the benchmarks (library mojuan_testsupport): paths of the
// corpus, the test data and the artifact folder, documents built from the corpus, and a private
// home for the process.
#include <cstddef>
#include <string>

namespace testsupport {

// The corpus folder: $MOJUAN_CORPUS when set, else ../shared/corpus beside the sources.
std::string CorpusDir();
std::string CorpusPath(const std::string& name);
bool CorpusAvailable(const std::string& name);
// Reads a corpus novel whole; throws std::runtime_error when it cannot be read.
std::string ReadCorpus(const std::string& name);
std::string TestDataPath(const std::string& name);
std::string ArtifactPath(const std::string& name); // creates the artifact folder
std::string ReadFileBytes(const std::string& path);
// The corpus novel repeated and cut at `size` bytes without splitting a double-byte character.
std::string BuildDocument(const std::string& corpusName, std::size_t size);

// Points HOME, XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_CACHE_HOME and TMPDIR at a fresh scratch
// folder that is removed when the process exits, so a test or benchmark run by hand never
// touches the user's settings, desktop files or temporary folder. Returns the folder.
std::string IsolateHome();

} // namespace testsupport

// Skips the current test, saying why, when a corpus novel it needs is missing.
#define MOJUAN_REQUIRE_CORPUS(name)                                                                \
    do {                                                                                           \
        if (!testsupport::CorpusAvailable(name))                                                   \
            GTEST_SKIP() << "corpus novel " << testsupport::CorpusPath(name)                       \
                         << " is missing (the tests look for ../shared/corpus or $MOJUAN_CORPUS)"; \
    } while (false)
