#include "PageEdit.h"

#include "ConvertPasses.h"
#include "text/Gb2Big5.h"
#include "text/Gb2Big5Tables.h"
#include "text/GbkText.h"

#include <algorithm>

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

// Whether the shown chunk is the raw chunk put through its code change alone: then the two
// agree byte for byte in position (conversion never changes a length) and an edit can be put
// into the raw chunk at the same offsets.
bool SameOffsets(const Chunk& raw, const Chunk& shown, CodeChange change) {
    if (raw == shown)
        return true;
    return raw->size() == shown->size() && ApplyCodeChange(*raw, change) == *shown;
}

// Typed text is GB; it goes into a raw chunk that was read as BIG5 in BIG5, into any other as
// it is.
std::string TypedInRawCode(std::string_view typed, CodeChange change) {
    return change == CodeChange::Big5ToGb ? GbToBig5(typed) : std::string(typed);
}

CodeChange ChangeOf(const DocumentStore& store, int k) {
    const auto i = static_cast<std::size_t>(k - 1);
    return i < store.ShownCodeChange.size() ? store.ShownCodeChange[i] : CodeChange::None;
}

} // namespace

void PageEdit::AddLine(DocumentStore& store, int g, EditBoxSource& box) {
    if (store.ChunkCount == 0)
        return;
    const DocumentStore::LineRef ref = store.LineAt(g);
    const WrappedText& lines = store.MemoChunk[ref.Chunk - 1];
    if (ref.Index < 0 || ref.Index >= lines.LineCount())
        return; // past the end of the document
    std::string_view text = *store.ShownChunk[ref.Chunk - 1];
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

namespace {

constexpr char16_t Undecodable = 0xFFFD;

// The lengths of the common beginning and the common end of `old` and `now`, not overlapping.
std::pair<std::size_t, std::size_t> CommonEnds(std::u16string_view old, std::u16string_view now) {
    const std::size_t limit = std::min(old.size(), now.size());
    std::size_t p = 0;
    while (p < limit && old[p] == now[p])
        ++p;
    std::size_t s = 0;
    while (s < limit - p && old[old.size() - 1 - s] == now[now.size() - 1 - s])
        ++s;
    // The changed run takes whole characters: never half of a surrogate pair.
    if (p > 0 && IsHighSurrogate(old[p - 1]))
        --p;
    if (s > 0 && IsLowSurrogate(old[old.size() - s]))
        --s;
    return {p, s};
}

} // namespace

// The characters that differ between what the box was filled with and what it holds now lie
// between their common beginning and their common end. Inside that stretch, the characters
// that were no GBK character when the box was filled are kept where the typed text still holds
// one, matched in order; the text between two of them is a changed run of its own. So bytes
// that cannot be re-encoded survive an edit on either side of them.
std::optional<std::string> PageEdit::SplicesFor(int box, std::u16string_view text,
                                                std::vector<Splice>& out) const {
    const EditBoxSource& source = Boxes[box];
    const std::u16string_view old = source.Decoded.Text;
    const auto [p, s] = CommonEnds(old, text);
    const std::size_t oldEnd = old.size() - s;
    const std::u16string_view typed = text.substr(p, text.size() - s - p);
    std::size_t oldAt = p, typedAt = 0;
    for (;;) {
        const std::size_t oldNext = old.substr(0, oldEnd).find(Undecodable, oldAt);
        const std::size_t typedNext = typed.find(Undecodable, typedAt);
        if (oldNext == std::u16string_view::npos || typedNext == std::u16string_view::npos)
            return SpliceRun(source, oldAt, oldEnd, typed.substr(typedAt), out);
        if (auto refusal = SpliceRun(source, oldAt, oldNext,
                                     typed.substr(typedAt, typedNext - typedAt), out))
            return refusal;
        oldAt = oldNext + 1;
        typedAt = typedNext + 1;
    }
}

// Characters [oldBegin, oldEnd) of the box as filled became `typed`: the bytes of the part
// that differs are replaced by the new characters, put into the chunk where that part begins;
// the rest of it, if it goes on into the next chunk, is removed there.
std::optional<std::string> PageEdit::SpliceRun(const EditBoxSource& source, std::size_t oldBegin,
                                               std::size_t oldEnd, std::u16string_view typed,
                                               std::vector<Splice>& out) const {
    const std::u16string_view old =
        std::u16string_view(source.Decoded.Text).substr(oldBegin, oldEnd - oldBegin);
    const auto [p, s] = CommonEnds(old, typed);
    if (p == old.size() && p == typed.size())
        return std::nullopt;
    EncodedEdit encoded = EncodeForEdit(typed.substr(p, typed.size() - s - p));
    if (!encoded.Ok)
        return NotInCode("GB", encoded.Unencodable);

    const std::uint32_t a = source.Decoded.Offsets[oldBegin + p];
    const std::uint32_t b = source.Decoded.Offsets[oldEnd - s];
    std::uint32_t at = 0;
    bool placed = false;
    for (const ChunkRange& range : source.Ranges) {
        const std::uint32_t from = at, to = at + (range.End - range.Begin);
        at = to;
        if (!placed && a <= to) {
            out.push_back({range.Chunk, range.Begin + (a - from),
                           range.Begin + (std::min(b, to) - from), std::move(encoded.Bytes)});
            placed = true;
        } else if (placed && b > from) {
            out.push_back({range.Chunk, range.Begin, range.Begin + (std::min(b, to) - from), {}});
        }
    }
    return std::nullopt;
}

std::optional<std::string> PageEdit::Save(DocumentStore& store, std::u16string_view left,
                                          std::u16string_view right) const {
    if (!StillShown(store))
        return "页面上的文字已经改变，编辑的内容无法保存。";
    std::vector<Splice> splices;
    for (int box = 0; box < 2; ++box)
        if (auto refusal = SplicesFor(box, box == 0 ? left : right, splices))
            return refusal;
    for (const Splice& splice : splices)
        if (ChangeOf(store, splice.Chunk) == CodeChange::Big5ToGb)
            if (std::optional<char32_t> c = FirstWithoutBig5(splice.Text))
                return NotInCode("BIG5", *c);

    // Chunk by chunk, each splice in document order (the left box before the right one where
    // both insert at the same place).
    std::stable_sort(splices.begin(), splices.end(), [](const Splice& x, const Splice& y) {
        return x.Chunk != y.Chunk ? x.Chunk < y.Chunk : x.Begin < y.Begin;
    });
    for (auto first = splices.begin(); first != splices.end();) {
        const int k = first->Chunk;
        const auto last = std::find_if(first, splices.end(),
                                       [k](const Splice& splice) { return splice.Chunk != k; });
        ApplySplices(store, k, first, last);
        first = last;
    }
    return std::nullopt;
}

// The shown chunk k gets the typed text in place of the spliced bytes. The raw chunk gets it in
// its own code: at the same offsets when the shown chunk is the raw one converted, otherwise
// as the whole edited shown text put back into the raw code.
void PageEdit::ApplySplices(DocumentStore& store, int k, SpliceIt first, SpliceIt last) {
    const Chunk raw = store.RawChunk[k - 1];
    const Chunk shown = store.ShownChunk[k - 1];
    const CodeChange change = ChangeOf(store, k);
    const bool aligned = SameOffsets(raw, shown, change);
    std::string newShown, newRaw;
    const auto keep = [&](std::uint32_t from, std::uint32_t to) {
        const std::string_view kept(shown->data() + from, to - from);
        newShown.append(kept);
        if (aligned)
            newRaw.append(*raw, from, to - from);
        else
            newRaw += UndoCodeChange(kept, change);
    };
    std::uint32_t pos = 0;
    for (auto it = first; it != last; ++it) {
        keep(pos, it->Begin);
        newShown += it->Text;
        newRaw += TypedInRawCode(it->Text, change);
        pos = it->End;
    }
    keep(pos, static_cast<std::uint32_t>(shown->size()));
    store.ShownChunk[k - 1] = MakeChunk(std::move(newShown));
    store.RawChunk[k - 1] = newRaw == *store.ShownChunk[k - 1] ? store.ShownChunk[k - 1]
                                                               : MakeChunk(std::move(newRaw));
}
