#include "ShellIntegration.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

struct ReadVerbType {
    const char* Extension;
    const char* FallbackType;
};

constexpr std::array<ReadVerbType, 6> ReadVerbTypes{{{".txt", "txtfile"},
                                                     {".htm", "htmlfile"},
                                                     {".html", "htmlfile"},
                                                     {".rtf", "rtffile"},
                                                     {".ini", "inifile"},
                                                     {".Zip", "Zipfile"}}};

constexpr char MimeTypes[] = "text/plain;text/html;text/rtf;application/rtf;application/zip;"
                             "application/x-mojuan-library;";
// A desktop file larger than this is not ours; it is simply replaced.
constexpr std::uintmax_t MaxDesktopFileBytes = 1 << 20;

std::string VerbCommandKey(const std::string& type) {
    return "\\" + type + "\\shell\\" + ReadVerb + "\\command";
}

// Every write leaves the hive as the store is used between starts, on HKEY_LOCAL_MACHINE.
class ClassesRootHive {
public:
    explicit ClassesRootHive(Registry& reg) : Reg(reg) { Reg.SetRegHive(HKEY_CLASSES_ROOT); }
    ~ClassesRootHive() { Reg.SetRegHive(HKEY_LOCAL_MACHINE); }
    ClassesRootHive(const ClassesRootHive&) = delete;
    ClassesRootHive& operator=(const ClassesRootHive&) = delete;

private:
    Registry& Reg;
};

// Rewriting the same values at every start would cost a write to disk for nothing.
void WriteDefaultValue(Registry& reg, const std::string& key, const std::string& value) {
    std::string stored;
    if (reg.ReadRegValue(key, "", stored) == RegRead::Found && stored == value)
        return;
    reg.WriteRegStr(key, "", value);
}

// One argument of an Exec line: quoted when it holds a reserved character. The string escapes of
// the desktop file apply before the quoting, so a backslash of the quoted form is written twice:
// "\\$" for "$" and four backslashes for one. "%" is doubled.
std::string ExecArgument(const std::string& arg) {
    const bool quote = arg.find_first_of(" \t\n\"'\\><~|&;$*?#()`") != std::string::npos;
    std::string out;
    for (char c : arg) {
        if (c == '%')
            out += "%%";
        else if (quote && (c == '"' || c == '`' || c == '$'))
            out += std::string("\\\\") + c;
        else if (c == '\\')
            out += "\\\\\\\\";
        else
            out += c;
    }
    return quote ? "\"" + out + "\"" : out;
}

bool HasControlCharacter(const std::string& text) {
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F)
            return true;
    return false;
}

bool SameContent(const std::filesystem::path& file, const std::string& text) {
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    if (error || size != text.size() || size > MaxDesktopFileBytes)
        return false;
    std::ifstream in(file, std::ios::binary);
    std::string stored(text.size(), '\0');
    return in.read(stored.data(), static_cast<std::streamsize>(stored.size())) && stored == text;
}

// Replaces `file` at once, so a desktop never reads half of it.
bool WriteWhole(const std::filesystem::path& file, const std::string& text) {
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    std::string temp = file.string() + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    bool ok = ::fchmod(fd, 0644) == 0;
    for (std::size_t done = 0; ok && done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        ok = n > 0 || (n < 0 && errno == EINTR);
        done += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), file.c_str()) == 0;
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}

bool InstallFile(const std::filesystem::path& file, const std::string& text) {
    return !SameContent(file, text) && WriteWhole(file, text);
}

std::string FindOnPath(const std::string& tool) {
    const char* path = std::getenv("PATH");
    std::string_view dirs = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
    while (!dirs.empty()) {
        const std::size_t colon = dirs.find(':');
        const std::string_view dir = dirs.substr(0, colon);
        dirs.remove_prefix(colon == std::string_view::npos ? dirs.size() : colon + 1);
        if (dir.empty() || dir[0] != '/')
            continue;
        std::string candidate = std::string(dir) + "/" + tool;
        struct stat st {};
        if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

// The child of a threaded program must not run the fork handlers again: a lock another thread
// held at the first fork would never be released there.
pid_t ForkInChild() {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    return ::_Fork();
#else
    return ::fork();
#endif
}

} // namespace

std::string ProgramPath() {
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.string();
}

void AddReadVerb(Registry& reg, const std::string& extension, const std::string& fallbackType,
                 const std::string& programPath) {
    std::string type = reg.ReadRegStr("\\" + extension, "", fallbackType);
    // An empty type would put the verb on a key "shell" at the root of the hive.
    if (type.empty())
        type = fallbackType;
    WriteDefaultValue(reg, VerbCommandKey(type), programPath + " %1");
}

void RegisterFileTypes(Registry& reg, const std::string& programPath) {
    ClassesRootHive hive(reg);
    RegBatch batch(reg);
    const std::string type = LibraryFileType;
    WriteDefaultValue(reg, ".blf", type);
    WriteDefaultValue(reg, type, ProgramTitle);
    WriteDefaultValue(reg, type + "\\DefaultIcon", programPath + ", 0");
    WriteDefaultValue(reg, type + "\\Shell\\" + ReadVerb + "\\command", programPath + " %1");
    for (const ReadVerbType& t : ReadVerbTypes)
        AddReadVerb(reg, t.Extension, t.FallbackType, programPath);
    batch.Commit();
}

std::string DataHome() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/')
        return data;
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') {
        const passwd* user = ::getpwuid(::getuid());
        home = user ? user->pw_dir : nullptr;
    }
    return home && home[0] == '/' ? std::string(home) + "/.local/share" : std::string();
}

std::string DesktopEntryText(const std::string& programPath, const std::string& icon) {
    const std::string exec = "Exec=" + ExecArgument(programPath) + " %F\n";
    std::string text = "[Desktop Entry]\nType=Application\nVersion=1.0\nName=墨卷\n";
    if (!icon.empty())
        text += "Icon=" + icon + "\n";
    text += exec;
    text += "Terminal=false\nCategories=Office;Viewer;\n";
    text += std::string("MimeType=") + MimeTypes + "\n";
    text += "Actions=Read;\n\n[Desktop Action Read]\n";
    text += std::string("Name=") + DesktopReadAction + "\n";
    text += exec;
    return text;
}

std::string MimePackageText() {
    std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
    text += std::string("  <mime-type type=\"") + LibraryMimeType + "\">\n";
    text += std::string("    <comment>") + LibraryFileType + "</comment>\n";
    text += "    <comment xml:lang=\"zh_CN\">书库文件</comment>\n"
            "    <sub-class-of type=\"text/plain\"/>\n"
            "    <glob pattern=\"*.blf\"/>\n"
            "  </mime-type>\n"
            "</mime-info>\n";
    return text;
}

bool InstalledWithDesktopFiles(const std::string& programPath) {
    const std::filesystem::path program(programPath);
    if (program.parent_path().filename() != "bin")
        return false;
    const std::filesystem::path share = program.parent_path().parent_path() / "share";
    std::error_code error;
    return std::filesystem::is_regular_file(share / DesktopEntryFile, error) &&
           std::filesystem::is_regular_file(share / MimePackageFile, error);
}

DesktopInstall InstallDesktopFiles(const std::string& programPath, const std::string& dataHome) {
    DesktopInstall done;
    // A path the Exec line cannot carry would give a desktop entry that starts something else.
    if (dataHome.empty() || programPath.empty() || HasControlCharacter(programPath) ||
        InstalledWithDesktopFiles(programPath))
        return done;
    const std::filesystem::path root(dataHome);
    done.DesktopEntryWritten = InstallFile(root / DesktopEntryFile, DesktopEntryText(programPath));
    done.MimePackageWritten = InstallFile(root / MimePackageFile, MimePackageText());
    if (done.DesktopEntryWritten)
        StartDetached("update-desktop-database", (root / "applications").string());
    if (done.MimePackageWritten)
        StartDetached("update-mime-database", (root / "mime").string());
    return done;
}

// The tool runs as a grandchild that the system adopts, so only the short-lived child is waited
// for and no zombie is left behind. Between fork and exec only async-signal-safe calls are made.
bool StartDetached(const std::string& tool, const std::string& argument) {
    const std::string program = FindOnPath(tool);
    if (program.empty())
        return false;
    const int devNull = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    if (devNull < 0)
        return false;
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(argument.c_str()),
                    nullptr};
    const pid_t child = ::fork();
    if (child == 0) {
        const pid_t grandchild = ForkInChild();
        if (grandchild == 0) {
            ::dup2(devNull, 0);
            ::dup2(devNull, 1);
            ::dup2(devNull, 2);
            ::execve(argv[0], argv, environ);
            ::_exit(127);
        }
        ::_exit(grandchild < 0 ? 1 : 0);
    }
    ::close(devNull);
    if (child < 0)
        return false;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
