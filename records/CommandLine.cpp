#include "CommandLine.h"

#include "base/FileTest.h"

#include <algorithm>

namespace {

bool IsAbsolute(const std::string& name) {
    return !name.empty() && name[0] == '/';
}

bool NamesFile(const std::string& startDir, const std::string& name) {
    return IsExistingFile(ResolveAgainst(startDir, name));
}

// Takes arguments from `k` backwards until the text is one whole name; `k` ends below the first
// argument taken.
std::string TakeOneName(const std::vector<std::string>& args, const std::string& startDir,
                        std::size_t& k) {
    std::string text;
    while (k > 0 && !IsAbsolute(text)) {
        const std::string& arg = args[k - 1];
        if (arg.empty()) {
            --k;
            continue;
        }
        if (text.empty()) {
            text = arg;
            --k;
            if (NamesFile(startDir, text))
                break;
            continue;
        }
        if (NamesFile(startDir, arg))
            break;
        text = arg + " " + text;
        --k;
    }
    return text;
}

} // namespace

std::string ResolveAgainst(const std::string& startDir, const std::string& name) {
    if (IsAbsolute(name) || startDir.empty())
        return name;
    std::string_view rest = name;
    while (rest.starts_with("./")) {
        rest.remove_prefix(2);
        while (rest.starts_with('/'))
            rest.remove_prefix(1);
    }
    std::string base = startDir;
    if (base.back() != '/')
        base += '/';
    return base + std::string(rest);
}

std::vector<std::string> CommandLineNames(const std::vector<std::string>& args,
                                          const std::string& startDir) {
    std::vector<std::string> names;
    std::size_t k = args.size();
    while (k > 0) {
        std::string text = TakeOneName(args, startDir, k);
        if (!text.empty())
            names.push_back(ResolveAgainst(startDir, text));
    }
    return names;
}

std::vector<std::string> DroppedFileOrder(const std::vector<std::string>& dropped) {
    const std::size_t m = std::min<std::size_t>(dropped.size(), MaxDroppedFiles);
    return std::vector<std::string>(dropped.rend() - m, dropped.rend());
}
