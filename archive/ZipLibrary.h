#pragma once
// libzip, loaded when an archive is first read rather than linked: linked, it and the
// compression and crypto libraries it needs would be loaded at every start of the reader,
// although most starts open no archive. Its header still gives the types and the signatures.
#include <optional>
#include <zip.h>

// libzip 1.x keeps one binary interface under this name.
inline constexpr char ZipLibraryFile[] = "libzip.so.4";

// The libzip functions this program calls.
struct ZipLibrary {
    decltype(&zip_libzip_version) Version;
    decltype(&zip_open) Open;
    decltype(&zip_discard) Discard;
    decltype(&zip_get_num_entries) CountEntries;
    decltype(&zip_get_name) Name;
    decltype(&zip_stat_init) StatInit;
    decltype(&zip_stat_index) Stat;
    decltype(&zip_file_get_external_attributes) ExternalAttributes;
    decltype(&zip_fopen_index) OpenEntry;
    decltype(&zip_fread) Read;
    decltype(&zip_fclose) CloseEntry;
    decltype(&zip_get_error) Error;
    decltype(&zip_error_code_zip) ErrorCode;
};

// The functions of the library file `file`; nothing when it cannot be loaded or lacks one.
std::optional<ZipLibrary> LoadZipLibrary(const char* file);

// ZipLibraryFile's functions, loaded on the first call and kept; null when it cannot be loaded.
const ZipLibrary* LoadedZipLibrary();
