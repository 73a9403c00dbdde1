// Lists an archive made of the input bytes, builds the chooser rows and the preview, and
// extracts every entry the listing gives: nothing may crash or hang, no name may be extracted
// that could leave the folder, and nothing may be written outside it.
#include "FuzzCheck.h"
#include "archive/UnZip32.h"
#include "archive/ZipPass.h"
#include "archive/ZipPrev.h"
#include "records/TempDir.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// At most this many entries are extracted per input, so one input cannot take long.
constexpr std::size_t MaxExtracted = 16;

const std::string& Scratch() {
    static const std::string dir = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/fuzz-zip.XXXXXX";
        return std::string(mkdtemp(pattern.data()) ? pattern : "/tmp");
    }();
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string archive = Scratch() + "/input.zip";
    const std::string into = Scratch() + "/out";
    std::ofstream(archive, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    const auto entries = ListZipEntries(archive);
    if (!entries)
        return 0;
    const std::vector<ZipRow> rows = ZipRowsFor(*entries, true);
    FuzzCheck(rows.size() <= entries->size(), "more rows than entries");
    ZipPreviewText(*entries);
    std::size_t extracted = 0;
    for (const ZipEntryName& entry : *entries) {
        if (extracted++ == MaxExtracted)
            break;
        const ExtractResult r = ExtractZipEntry(archive, entry.Name, into);
        FuzzCheck(!r.Extracted() || IsSafeEntryPath(entry.Name), "unsafe name extracted");
        FuzzCheck(!r.Extracted() || r.Path.rfind(into + "/", 0) == 0, "written outside");
    }
    DeleteDir(into);
    struct stat st;
    FuzzCheck(::lstat((Scratch() + "/escaped").c_str(), &st) != 0, "escaped the folder");
    return 0;
}
