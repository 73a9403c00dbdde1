#include "PunctuationMarks.h"

#include "text/ZeroedTable.h"

#include <array>
#include <memory>

namespace {

constexpr std::uint8_t Closing = ClosingMark;
constexpr std::uint8_t Opening = OpeningMark;

// BIG5 has no full-width square brackets; its full-width small letters cross from lead byte
// A2 to A3, so they take two rows.
constexpr MarkRange Marks[] = {
    {U'、', 1, 0xA1A2, 0xA142, Closing},
    {U'。', 1, 0xA1A3, 0xA143, Closing},
    {U'，', 1, 0xA3AC, 0xA141, Closing},
    {U'．', 1, 0xA3AE, 0xA144, Closing},
    {U'：', 1, 0xA3BA, 0xA147, Closing},
    {U'；', 1, 0xA3BB, 0xA146, Closing},
    {U'？', 1, 0xA3BF, 0xA148, Closing},
    {U'！', 1, 0xA3A1, 0xA149, Closing},
    {U'）', 1, 0xA3A9, 0xA15E, Closing},
    {U'］', 1, 0xA3DD, 0, Closing},
    {U'｝', 1, 0xA3FD, 0xA162, Closing},
    {U'》', 1, 0xA1B7, 0xA16E, Closing},
    {U'」', 1, 0xA1B9, 0xA176, Closing},
    {U'』', 1, 0xA1BB, 0xA17A, Closing},
    {U'】', 1, 0xA1BF, 0xA16A, Closing},
    {U'〕', 1, 0xA1B3, 0xA166, Closing},
    {U'〉', 1, 0xA1B5, 0xA172, Closing},
    {U'”', 1, 0xA1B1, 0xA1A8, Closing},
    {U'’', 1, 0xA1AF, 0xA1A6, Closing},
    {U'…', 1, 0xA1AD, 0xA14B, Closing | PairedMark},
    {U'（', 1, 0xA3A8, 0xA15D, Opening},
    {U'［', 1, 0xA3DB, 0, Opening},
    {U'｛', 1, 0xA3FB, 0xA161, Opening},
    {U'《', 1, 0xA1B6, 0xA16D, Opening},
    {U'「', 1, 0xA1B8, 0xA175, Opening},
    {U'『', 1, 0xA1BA, 0xA179, Opening},
    {U'【', 1, 0xA1BE, 0xA169, Opening},
    {U'〔', 1, 0xA1B2, 0xA165, Opening},
    {U'〈', 1, 0xA1B4, 0xA171, Opening},
    {U'“', 1, 0xA1B0, 0xA1A7, Opening},
    {U'‘', 1, 0xA1AE, 0xA1A5, Opening},
    {U'—', 1, 0xA1AA, 0xA158, PairedMark},
    {U'０', 10, 0xA3B0, 0xA2AF, WideAlphanumeric},
    {U'Ａ', 26, 0xA3C1, 0xA2CF, WideAlphanumeric},
    {U'ａ', 22, 0xA3E1, 0xA2E9, WideAlphanumeric},
    {U'ｗ', 4, 0xA3F7, 0xA340, WideAlphanumeric},
};

// By character code; only the few marks' entries are written, the rest stay NoMark (zero).
using KindTable = ZeroedTable<std::uint8_t>;

KindTable BuildKinds(std::uint16_t MarkRange::*code) {
    static_assert(NoMark == 0);
    KindTable kinds(65536);
    for (const MarkRange& range : Marks)
        if (range.*code != 0)
            for (int i = 0; i < range.Count; ++i)
                kinds[range.*code + i] |= range.Kinds;
    return kinds;
}

} // namespace

std::span<const MarkRange> PunctuationMarks() {
    return Marks;
}

// Each code's table is made on its first use only.
const std::uint8_t* MarkKinds(TextCode code) {
    if (code == TextCode::Big5) {
        static const KindTable big5 = BuildKinds(&MarkRange::Big5);
        return big5.data();
    }
    static const KindTable gb = BuildKinds(&MarkRange::Gb);
    return gb.data();
}
