#include "PageEdit.h"

#include "ConvertPasses.h"
#include "text/Gb2Big5.h"
#include "text/Gb2Big5Tables.h"
#include "text/GbkText.h"

#include <algorithm>
#include <map>

namespace {

std::string NotInCode(const char* code, char32_t c) {
    return std::string("编辑的文字中有") + code + "码不能表示的字“" + Utf8Of(c) +
           "”，无法保存。请删除或换掉这个字后再保存。";
}

// The first character of GB text that the conversion to BIG5 would turn into spaces, if any.
std::optional<char32_t> FirstWithoutBig5(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        const gbk::Char c = gbk::CharAt(text, pos);
        pos += c.Length;
        if (c.Length == 1)
            continue;
        if (c.Length == 4)
            return gbk::ToUnicode(c.Code);
        const auto b1 = static_cast<unsigned char>(c.Code >> 8);
        const auto b2 = static_cast<unsigned char>(c.Code & 0xFF);
        if (!IsGbChar(b1, b2) || GbBig5Table[GbCharIndex(b1, b2)] == NoCounterpart)
            return gbk::ToUnicode(c.Code);
    }
    return std::nullopt;
}

std::string Recode(std::string_view text, bool fromBig5, bool toBig5) {
    if (fromBig5 == toBig5)
        return std::string(text);
    return fromBig5 ? Big5ToGb(text) : GbToBig5(text);
}

// Whether the shown chunk is the raw chunk run through the conversion passes alone: then the
// two agree byte for byte in position (conversion never changes a length) and an edit can be
// put into the raw chunk at the same offsets.
bool SameOffsets(const Chunk& raw, const Chunk& shown, const TextOptions& options) {
    if (raw == shown)
        return true;
    if (raw->size() != shown->size())
        return false;
    std::vector<Chunk> converted{raw};
    NoProgress quiet;
    RunConvertPasses(converted, options, quiet);
    return *converted[0] == *shown;
}

} // namespace

void PageEdit::AddLine(DocumentStore& store, int g, EditBoxSource& box) {
    if (store.ChunkCount == 0)
        return;
    const DocumentStore::LineRef ref = store.LineAt(g);
    const WrappedText& lines = store.MemoChunk[ref.Chunk - 1];
    if (ref.Index < 0 || ref.Index >= lines.LineCount())
        return; // past the end of the document
    const std::string& text = *store.ShownChunk[ref.Chunk - 1];
    const std::uint32_t begin = lines.LineStart(ref.Index);
    const std::uint32_t end = ref.Index + 1 < lines.LineCount()
                                  ? lines.LineStart(ref.Index + 1)
                                  : static_cast<std::uint32_t>(text.size());
    if (!box.Ranges.empty() && box.Ranges.back().Chunk == ref.Chunk &&
        box.Ranges.back().End == begin)
        box.Ranges.back().End = end;
    else
        box.Ranges.push_back({ref.Chunk, begin, end});
    box.Bytes.append(text, begin, end - begin);
}

PageEdit PageEdit::Begin(DocumentStore& store) {
    PageEdit edit;
    store.FirstLine = (store.CurrentPage - 1) * store.LinesPerPage;
    for (int d = 1; d <= store.LinesPerPage; ++d)
        AddLine(store, store.FirstLine + d, edit.Boxes[0]);
    for (int d = store.LinesPerPage + 1; d <= 2 * store.LinesPerPage; ++d)
        AddLine(store, store.FirstLine + d, edit.Boxes[1]);
    if (edit.Boxes[0].Ranges.empty() && store.ChunkCount > 0)
        edit.Boxes[0].Ranges.push_back({1, 0, 0});
    if (edit.Boxes[1].Ranges.empty() && !edit.Boxes[0].Ranges.empty()) {
        const ChunkRange& last = edit.Boxes[0].Ranges.back();
        edit.Boxes[1].Ranges.push_back({last.Chunk, last.End, last.End});
    }
    for (EditBoxSource& box : edit.Boxes)
        box.Decoded = DecodeForEdit(box.Bytes);
    edit.ShownAtBegin = store.ShownChunk;
    return edit;
}

bool PageEdit::StillShown(const DocumentStore& store) const {
    if (store.ShownChunk.size() != ShownAtBegin.size())
        return false;
    for (const EditBoxSource& box : Boxes)
        for (const ChunkRange& range : box.Ranges)
            if (store.ShownChunk[range.Chunk - 1] != ShownAtBegin[range.Chunk - 1])
                return false;
    return true;
}

// The characters that differ between what the box was filled with and what it holds now are
// the run between their common beginning and their common end. Its bytes are replaced by the
// new characters, put into the chunk where the run begins; the rest of the run, if it goes on
// into the next chunk, is removed there.
std::optional<std::string> PageEdit::SplicesFor(int box, std::u16string_view text,
                                                std::vector<Splice>& out) const {
    const EditBoxSource& source = Boxes[box];
    const std::u16string_view old = source.Decoded.Text;
    const std::size_t limit = std::min(old.size(), text.size());
    std::size_t p = 0;
    while (p < limit && old[p] == text[p])
        ++p;
    std::size_t s = 0;
    while (s < limit - p && old[old.size() - 1 - s] == text[text.size() - 1 - s])
        ++s;
    if (p == old.size() && p == text.size())
        return std::nullopt;
    // The changed run takes whole characters: never half of a surrogate pair.
    if (p > 0 && IsHighSurrogate(old[p - 1]))
        --p;
    if (s > 0 && IsLowSurrogate(old[old.size() - s]))
        --s;
    EncodedEdit typed = EncodeForEdit(text.substr(p, text.size() - s - p));
    if (!typed.Ok)
        return NotInCode("GB", typed.Unencodable);

    const std::uint32_t a = source.Decoded.Offsets[p];
    const std::uint32_t b = source.Decoded.Offsets[old.size() - s];
    std::uint32_t at = 0;
    bool placed = false;
    for (const ChunkRange& range : source.Ranges) {
        const std::uint32_t from = at, to = at + (range.End - range.Begin);
        at = to;
        if (!placed && a <= to) {
            out.push_back({range.Chunk, range.Begin + (a - from),
                           range.Begin + (std::min(b, to) - from), std::move(typed.Bytes)});
            placed = true;
        } else if (placed && b > from) {
            out.push_back({range.Chunk, range.Begin, range.Begin + (std::min(b, to) - from), {}});
        }
    }
    return std::nullopt;
}

std::optional<std::string> PageEdit::Save(DocumentStore& store, const TextOptions& options,
                                          std::u16string_view left,
                                          std::u16string_view right) const {
    if (!StillShown(store))
        return "页面上的文字已经改变，编辑的内容无法保存。";
    std::vector<Splice> splices;
    for (int box = 0; box < 2; ++box)
        if (auto refusal = SplicesFor(box, box == 0 ? left : right, splices))
            return refusal;

    // Chunk by chunk, each splice in document order (the left box before the right one where
    // both insert at the same place).
    std::stable_sort(splices.begin(), splices.end(), [](const Splice& x, const Splice& y) {
        return x.Chunk != y.Chunk ? x.Chunk < y.Chunk : x.Begin < y.Begin;
    });
    std::map<int, bool> rawBig5;
    for (const Splice& splice : splices) {
        auto [it, added] = rawBig5.try_emplace(splice.Chunk, false);
        if (added)
            it->second = IsBig5Text(*store.RawChunk[splice.Chunk - 1]);
        if (it->second)
            if (std::optional<char32_t> c = FirstWithoutBig5(splice.Text))
                return NotInCode("BIG5", *c);
    }

    for (auto first = splices.begin(); first != splices.end();) {
        const int k = first->Chunk;
        const auto last = std::find_if(first, splices.end(),
                                       [k](const Splice& splice) { return splice.Chunk != k; });
        const Chunk raw = store.RawChunk[k - 1];
        const Chunk shown = store.ShownChunk[k - 1];
        const bool toBig5 = rawBig5[k];
        const bool aligned = SameOffsets(raw, shown, options);
        const bool shownBig5 = !aligned && IsBig5Text(*shown);

        std::string newShown, newRaw;
        std::uint32_t pos = 0;
        for (auto it = first; it != last; ++it) {
            const std::string_view kept(shown->data() + pos, it->Begin - pos);
            newShown.append(kept);
            newShown += it->Text;
            if (aligned)
                newRaw.append(*raw, pos, it->Begin - pos);
            else
                newRaw += Recode(kept, shownBig5, toBig5);
            newRaw += Recode(it->Text, false, toBig5);
            pos = it->End;
        }
        const std::string_view rest(shown->data() + pos, shown->size() - pos);
        newShown.append(rest);
        if (aligned)
            newRaw.append(*raw, pos);
        else
            newRaw += Recode(rest, shownBig5, toBig5);

        store.ShownChunk[k - 1] = MakeChunk(std::move(newShown));
        store.RawChunk[k - 1] = newRaw == *store.ShownChunk[k - 1] ? store.ShownChunk[k - 1]
                                                                   : MakeChunk(std::move(newRaw));
        first = last;
    }
    return std::nullopt;
}
