#include "RtfOutput.h"

#include "GbkText.h"

#include <cerrno>
#include <cstdint>
#include <iconv.h>
#include <vector>

namespace {

int NormalizeCodePage(int codePage) {
    switch (codePage) {
    case 950:
        return RtfOutput::Big5CodePage;
    case 0:
    case 936:
    case 20936: // GB2312
    case 54936: // GB18030, whose two-byte codes are GBK's
        return RtfOutput::GbCodePage;
    default:
        return codePage > 0 ? codePage : RtfOutput::GbCodePage;
    }
}

std::string IconvName(int codePage) {
    if (codePage == 65001)
        return "UTF-8";
    if (codePage == 10000)
        return "MACINTOSH";
    return "CP" + std::to_string(codePage);
}

} // namespace

RtfOutput::~RtfOutput() {
    for (const auto& [codePage, handle] : Decoders)
        if (handle)
            iconv_close(static_cast<iconv_t>(handle));
}

void RtfOutput::SetCodePage(int codePage) {
    codePage = NormalizeCodePage(codePage);
    if (codePage == CodePage)
        return;
    Flush();
    CodePage = codePage;
}

void RtfOutput::AppendBytes(std::string_view bytes) {
    if (CodePage == GbCodePage)
        Text += bytes;
    else
        Pending += bytes;
}

void RtfOutput::AppendCodePoint(char32_t c) {
    Flush();
    if (c == 0xA0) // no-break space
        c = ' ';
    if (c < 0x20 && c != '\t')
        return;
    const std::uint32_t code = gbk::CodeOf(c);
    if (code == 0)
        Text += '?';
    else
        gbk::AppendCode(Text, code);
}

void RtfOutput::AppendAscii(std::string_view ascii) {
    Flush();
    Text += ascii;
}

bool RtfOutput::DropTrailingTab() {
    Flush();
    if (Text.empty() || Text.back() != '\t')
        return false;
    Text.pop_back();
    return true;
}

std::string RtfOutput::Finish() {
    Flush();
    return std::move(Text);
}

void RtfOutput::Flush() {
    if (Pending.empty())
        return;
    if (CodePage == Big5CodePage)
        Text += ToGb ? ToGb(Pending) : Pending;
    else
        Text += DecodeWithIconv(Pending, CodePage);
    Pending.clear();
}

// Bytes of a code page other than GB and BIG5, through UTF-8 to GB18030. A code page that iconv
// does not know is taken as GB; bytes that are not valid in it become '?'.
std::string RtfOutput::DecodeWithIconv(std::string_view bytes, int codePage) {
    auto [it, added] = Decoders.try_emplace(codePage, nullptr);
    if (added) {
        iconv_t cd = iconv_open("UTF-8", IconvName(codePage).c_str());
        it->second = cd == reinterpret_cast<iconv_t>(-1) ? nullptr : cd;
    }
    if (!it->second)
        return std::string(bytes);
    const auto cd = static_cast<iconv_t>(it->second);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string utf8;
    std::vector<char> buffer(bytes.size() * 4 + 16);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* out = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t r = iconv(cd, &in, &inLeft, &out, &outLeft);
        utf8.append(buffer.data(), out);
        if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
            utf8 += '?'; // an invalid or cut-off sequence
            ++in;
            --inLeft;
        }
    }
    return gbk::FromUtf8(utf8);
}
