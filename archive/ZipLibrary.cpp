#include "ZipLibrary.h"

#include <dlfcn.h>

namespace {

template <typename Function> bool Find(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

} // namespace

std::optional<ZipLibrary> LoadZipLibrary(const char* file) {
    void* library = dlopen(file, RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return std::nullopt;
    ZipLibrary zip;
    const bool complete =
        Find(library, "zip_libzip_version", zip.Version) && Find(library, "zip_open", zip.Open) &&
        Find(library, "zip_discard", zip.Discard) &&
        Find(library, "zip_get_num_entries", zip.CountEntries) &&
        Find(library, "zip_get_name", zip.Name) && Find(library, "zip_stat_init", zip.StatInit) &&
        Find(library, "zip_stat_index", zip.Stat) &&
        Find(library, "zip_file_get_external_attributes", zip.ExternalAttributes) &&
        Find(library, "zip_fopen_index", zip.OpenEntry) && Find(library, "zip_fread", zip.Read) &&
        Find(library, "zip_fclose", zip.CloseEntry) && Find(library, "zip_get_error", zip.Error) &&
        Find(library, "zip_error_code_zip", zip.ErrorCode);
    if (!complete) {
        dlclose(library);
        return std::nullopt;
    }
    return zip; // the library stays loaded for the rest of the run
}

const ZipLibrary* LoadedZipLibrary() {
    static const std::optional<ZipLibrary> loaded = LoadZipLibrary(ZipLibraryFile);
    return loaded ? &*loaded : nullptr;
}
