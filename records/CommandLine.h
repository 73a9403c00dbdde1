#pragma once
// The names that arrive from outside the window: the command line and files dropped on the book.
// Each function gives the names in the order they are to be handed to the recent list's
// OpenItemFile, so that the first name ends on top.
#include <string>
#include <vector>

inline constexpr int MaxDroppedFiles = 50;

// `args` are the arguments after the program's name. They are taken from the last to the first;
// a path that the shell split at its spaces is joined again with single spaces until it starts
// with "/", but an argument that names an existing file by itself is never joined to its
// neighbours. Relative names are resolved against `startDir`, the directory current at start.
// Empty arguments are skipped; no usable argument gives an empty list.
std::vector<std::string> CommandLineNames(const std::vector<std::string>& args,
                                          const std::string& startDir);

// `name` as it is when absolute, else below `startDir` (leading "./" dropped).
std::string ResolveAgainst(const std::string& startDir, const std::string& name);

// The first MaxDroppedFiles of the dropped files, the first dropped last.
std::vector<std::string> DroppedFileOrder(const std::vector<std::string>& dropped);
