#include "TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <unistd.h>

namespace testsupport {

namespace {

std::string ScratchRoot; // removed at exit

void RemoveScratch() {
    if (ScratchRoot.empty())
        return;
    std::error_code ignored;
    // Tests make folders read-only to provoke failures; give the rights back so all goes.
    for (auto& entry : std::filesystem::recursive_directory_iterator(
             ScratchRoot, std::filesystem::directory_options::skip_permission_denied, ignored))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(ScratchRoot, ignored);
}

} // namespace

std::string CorpusDir() {
    const char* dir = std::getenv("MOJUAN_CORPUS");
    return dir && *dir ? dir : MOJUAN_CORPUS_DIR;
}

std::string CorpusPath(const std::string& name) {
    return CorpusDir() + "/" + name;
}

bool CorpusAvailable(const std::string& name) {
    std::ifstream in(CorpusPath(name), std::ios::binary);
    return static_cast<bool>(in);
}

std::string ReadCorpus(const std::string& name) {
    return ReadFileBytes(CorpusPath(name));
}

std::string TestDataPath(const std::string& name) {
    return std::string(MOJUAN_TEST_DATA_DIR) + "/" + name;
}

std::string ArtifactPath(const std::string& name) {
    std::filesystem::create_directories(MOJUAN_ARTIFACT_DIR);
    return std::string(MOJUAN_ARTIFACT_DIR) + "/" + name;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string BuildDocument(const std::string& corpusName, std::size_t size) {
    const std::string novel = ReadCorpus(corpusName);
    if (novel.empty())
        throw std::runtime_error("empty corpus novel " + corpusName);
    std::string doc;
    doc.reserve(size + novel.size());
    while (doc.size() < size)
        doc += novel;
    // Walk characters so that the cut never falls between a lead byte and its trail byte.
    std::size_t i = 0;
    while (i < size) {
        const auto b = static_cast<unsigned char>(doc[i]);
        const std::size_t len = (b >= 0x81 && b <= 0xFE && i + 1 < doc.size()) ? 2 : 1;
        if (i + len > size)
            break;
        i += len;
    }
    doc.resize(i);
    return doc;
}

std::string IsolateHome() {
    if (!ScratchRoot.empty())
        return ScratchRoot;
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/mojuan-test.XXXXXX";
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a scratch folder from " + pattern);
    ScratchRoot = pattern;
    std::atexit(RemoveScratch);
    for (const char* sub : {"home", "config", "data", "cache", "tmp"})
        std::filesystem::create_directories(ScratchRoot + "/" + sub);
    setenv("HOME", (ScratchRoot + "/home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (ScratchRoot + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (ScratchRoot + "/data").c_str(), 1);
    setenv("XDG_CACHE_HOME", (ScratchRoot + "/cache").c_str(), 1);
    setenv("TMPDIR", (ScratchRoot + "/tmp").c_str(), 1);
    return ScratchRoot;
}

} // namespace testsupport
