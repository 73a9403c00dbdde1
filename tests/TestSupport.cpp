#include "TestSupport.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testsupport {

std::string CorpusPath(const std::string& name) {
    return std::string(MOJUAN_CORPUS_DIR) + "/" + name;
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
    const std::string novel = ReadFileBytes(CorpusPath(corpusName));
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

} // namespace testsupport
