#pragma once
// Straightforward renderings of the text filters' rules, editing a working copy in place as the
// rules are worded. Quadratic, so only for small inputs: the tests and the fuzz targets check
// that the one-pass filters give the same bytes.
#include "text/TextFilters.h"

#include <algorithm>
#include <string>

namespace reference {

inline const std::string Indent = "\xA1\xA1\xA1\xA1";

inline std::string NormalizeLineBreaks(std::string s) {
    for (std::size_t f = 0; f < s.size();) {
        const std::size_t l = s.find('\n', f), c = s.find('\r', f);
        if (l == std::string::npos && c == std::string::npos)
            break;
        if (l != std::string::npos && (c == std::string::npos || l < c)) {
            s.insert(l, "\r");
            f = l + 2;
        } else {
            if (c + 1 >= s.size() || s[c + 1] != '\n')
                s.insert(c + 1, "\n");
            f = c + 2;
        }
    }
    return s;
}

inline char Fold(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

inline std::size_t FindNoCase(const std::string& s, const std::string& find, std::size_t from) {
    for (std::size_t i = from; i + find.size() <= s.size(); ++i) {
        std::size_t k = 0;
        while (k < find.size() && Fold(s[i + k]) == Fold(find[k]))
            ++k;
        if (k == find.size())
            return i;
    }
    return std::string::npos;
}

inline std::string ReplaceNoCase(const std::string& find, const std::string& replacement,
                                 std::string s) {
    if (find.empty())
        return s;
    for (std::size_t f = 0;;) {
        const std::size_t at = FindNoCase(s, find, f);
        if (at == std::string::npos)
            return s;
        s.erase(at, find.size());
        s.insert(at, replacement);
        f = at + replacement.size();
    }
}

inline bool StartsWithNoCase(const std::string& s, std::size_t at, const std::string& lower) {
    return FindNoCase(s, lower, at) == at;
}

// Where a comment, or a style or script element, that starts at the "<" at `lt` ends: past
// "-->", or past the ">" after "</style" ("</script"), or the end of the text when it is not
// closed; npos when none starts there.
inline std::size_t HiddenElementEnd(const std::string& s, std::size_t lt) {
    if (s.compare(lt, 4, "<!--") == 0) {
        const std::size_t close = s.find("-->", lt + 4);
        return close == std::string::npos ? s.size() : close + 3;
    }
    for (const std::string name : {"style", "script"}) {
        const std::size_t after = lt + 1 + name.size();
        if (!StartsWithNoCase(s, lt + 1, name) || after >= s.size() ||
            std::string(">/ \t\r\n\f").find(s[after]) == std::string::npos)
            continue;
        const std::size_t closing = FindNoCase(s, "</" + name, after);
        const std::size_t gt = closing == std::string::npos ? closing : s.find('>', closing);
        return gt == std::string::npos ? s.size() : gt + 1;
    }
    return std::string::npos;
}

inline std::string StripHtml(std::string s) {
    s = ReplaceNoCase("&nbsp;", " ", s);
    s = ReplaceNoCase("&quot;", "\"", s);
    s = ReplaceNoCase("<br>", "\r\n", s);
    s = ReplaceNoCase("<p>", "\r\n", s);
    for (std::size_t f = 0;;) {
        const std::size_t lt = s.find('<', f), gt = s.find('>', f);
        if (lt == std::string::npos || gt == std::string::npos)
            return s;
        if (lt < gt) {
            const std::size_t hidden = HiddenElementEnd(s, lt);
            s.erase(lt, (hidden == std::string::npos ? gt + 1 : hidden) - lt);
            if (s.compare(lt, 2, "\r\n") == 0)
                s.erase(lt, 2);
        }
        f = lt;
    }
}

inline bool Listed(const MarkList& marks, const std::string& bytes) {
    return std::find(marks.begin(), marks.end(), bytes) != marks.end();
}

inline std::string SmartParagraph(std::string s, const MarkList& marks1, const MarkList& marks2) {
    for (std::size_t f = 0;;) {
        const std::size_t p = s.find("\r\n", f);
        if (p == std::string::npos)
            return s;
        const bool mark = (p >= 2 && Listed(marks2, s.substr(p - 2, 2))) ||
                          (p >= 1 && Listed(marks1, s.substr(p - 1, 1)));
        if (mark) {
            const std::string next = s.substr(p + 2, 4);
            if (next != Indent && next != "    ") {
                s.insert(p + 2, Indent);
                f = p + 6;
            } else {
                f = p + 2;
            }
        } else if (s.compare(p + 2, 2, "\xA1\xA1") == 0 || s.compare(p + 2, 2, "  ") == 0) {
            f = p + 4;
        } else {
            s.erase(p, 2);
            f = p;
        }
    }
}

} // namespace reference
