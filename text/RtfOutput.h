#pragma once
// The text an RTF reader produces: GB bytes, gathered from bytes in the document's code pages
// and from Unicode characters.
#include "RtfReader.h"

#include <map>
#include <string>
#include <string_view>

class RtfOutput {
public:
    static constexpr int GbCodePage = 936;
    static constexpr int Big5CodePage = 950;

    explicit RtfOutput(const Big5Converter& big5ToGb) : ToGb(big5ToGb) {}
    ~RtfOutput();
    RtfOutput(const RtfOutput&) = delete;
    RtfOutput& operator=(const RtfOutput&) = delete;

    // The code page of the text bytes that follow (0 or unknown: GB).
    void SetCodePage(int codePage);
    // Text bytes in the current code page. A double-byte character may come in two calls.
    void AppendBytes(std::string_view bytes);
    // One Unicode character, as GB18030; '?' for a surrogate, which no code holds.
    void AppendCodePoint(char32_t c);
    // Line ends and tabs, which mean the same in every code page.
    void AppendAscii(std::string_view ascii);
    // Removes a tab that is the last byte of the text; true when there was one.
    bool DropTrailingTab();

    std::string Finish();

private:
    // Converts the bytes gathered in a code page other than GB and appends them to Text.
    void Flush();
    std::string DecodeWithIconv(std::string_view bytes, int codePage);

    const Big5Converter& ToGb;
    std::string Text;
    std::string Pending; // bytes in PendingCodePage, not yet converted
    int CodePage = GbCodePage;
    std::map<int, void*> Decoders; // iconv handles by code page; null when iconv lacks it
};
