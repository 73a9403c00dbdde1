#include "FileTest.h"

#include "ReadFailure.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>

std::string RealPath(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real)
        return path;
    std::string resolved(real);
    std::free(real);
    return resolved;
}

bool IsExistingFile(const std::string& path) {
    struct stat st {};
    // A name with a NUL byte would be cut short by the system and test another file.
    return path.find('\0') == std::string::npos && ::stat(path.c_str(), &st) == 0 &&
           S_ISREG(st.st_mode);
}

std::string MissingFileText(const std::string& path) {
    return OpenFailedText(path, CheckExistsReason);
}

std::string NoFileText(const std::string& path) {
    struct stat st {};
    if (path.find('\0') != std::string::npos || ::stat(path.c_str(), &st) != 0)
        return MissingFileText(path);
    return OpenFailedText(path, ReadFailureReason(S_ISDIR(st.st_mode) ? EISDIR : ENODEV));
}

std::optional<UserMessage> MissingFileWarning(const std::string& path, const std::string& archive) {
    if (IsExistingFile(path))
        return std::nullopt;
    if (archive.empty())
        return WarningMessage(NoFileText(path));
    if (IsExistingFile(archive))
        return WarningMessage(OpenFailedText(archive, CheckZipPasswordReason));
    return WarningMessage(MissingFileText(archive));
}

bool ExtensionIs(std::string_view name, std::string_view ext) {
    return name.size() >= ext.size() && LowerAscii(name.substr(name.size() - ext.size())) == ext;
}
