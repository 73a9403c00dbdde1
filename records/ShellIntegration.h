#pragma once
// How the reader ties itself into the desktop at every start: the file types and the read verb
// in the store's HKEY_CLASSES_ROOT hive, and for the desktop itself a desktop entry for 墨卷 with
// the document types it opens and a MIME type for library files.
#include "Registry.h"

#include <string>

// The program's name: the window title, and the name the desktop shows for library files.
inline constexpr char ProgramTitle[] = "墨卷";
inline constexpr char LibraryFileType[] = "Book Files";
inline constexpr char ReadVerb[] = "使用墨卷阅读(&R)";
inline constexpr char DesktopReadAction[] = "使用墨卷阅读";
inline constexpr char LibraryMimeType[] = "application/x-mojuan-library";
inline constexpr char DesktopEntryFile[] = "applications/mojuan.desktop";
inline constexpr char MimePackageFile[] = "mime/packages/mojuan.xml";

// The full path of the running program; empty when the system cannot tell.
std::string ProgramPath();

// Writes the library type, its icon and verb, and the read verb on the types of ".txt", ".htm",
// ".html", ".rtf", ".ini" and ".Zip" under HKEY_CLASSES_ROOT, as one transaction, and leaves the
// store on HKEY_LOCAL_MACHINE. Values that already hold their text are not written again.
void RegisterFileTypes(Registry& reg, const std::string& programPath);

// Adds the read verb to the type named by the default value of `extension`'s key, or to
// `fallbackType` when the extension has no type (which creates that type's key). The current hive
// must be HKEY_CLASSES_ROOT.
void AddReadVerb(Registry& reg, const std::string& extension, const std::string& fallbackType,
                 const std::string& programPath);

// $XDG_DATA_HOME when it is an absolute path, else ~/.local/share; empty without a home.
std::string DataHome();

// The texts of the two desktop files for a program at `programPath`; the entry names `icon` from
// the icon theme when it is given.
std::string DesktopEntryText(const std::string& programPath, const std::string& icon = {});
std::string MimePackageText();

struct DesktopInstall {
    bool DesktopEntryWritten = false;
    bool MimePackageWritten = false;
};

// True when the program at `programPath` is installed as <prefix>/bin/<name> together with
// both desktop files under <prefix>/share, as its package puts them.
bool InstalledWithDesktopFiles(const std::string& programPath);

// Writes DesktopEntryFile and MimePackageFile under `dataHome` where they are missing or differ
// from what would be written, then starts update-desktop-database or update-mime-database for
// what was written, when the tool is on the PATH. Nothing waits for the tools and nothing is
// reported: the desktop files are a convenience, and a start must never stop on them. An
// installed program writes nothing: the system's copies serve every user, and a user's copy
// would hide them.
DesktopInstall InstallDesktopFiles(const std::string& programPath,
                                   const std::string& dataHome = DataHome());

// Starts the program found as `tool` on the PATH with one argument, its output thrown away,
// without waiting for it. False when there is no such program or it could not be started.
bool StartDetached(const std::string& tool, const std::string& argument);
