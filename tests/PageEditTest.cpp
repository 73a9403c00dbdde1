// test-links: mojuan_reader
#include "reader/PageEdit.h"
#include "reader/TextPasses.h"
#include "text/Gb2Big5.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A book of 10 narrow characters (5 double-byte ones) per line and `lines` lines per page.
struct Book {
    FixedWidthMeasurer measurer;
    CharWidthCache widths{measurer};
    NoProgress progress;
    DocumentStore store;
    TextOptions settings;

    explicit Book(std::vector<std::string> chunks, int lines = 2) {
        std::vector<Chunk> made;
        for (std::string& chunk : chunks)
            made.push_back(MakeChunk(std::move(chunk)));
        store.SetChunks(std::move(made));
        Process();
        store.Paginate({60, 12 * lines, 48, false}, widths, progress);
        store.GoToPage(1);
    }
    void Process() { Init_Page_Do(store, settings, progress); }
    std::string Shown() const { return Joined(store.ShownChunk); }
    std::string Raw() const { return Joined(store.RawChunk); }
    static std::string Joined(const std::vector<Chunk>& chunks) {
        std::string all;
        for (const Chunk& chunk : chunks)
            all += *chunk;
        return all;
    }
};

std::u16string Text(const PageEdit& edit, bool left) {
    return (left ? edit.Left() : edit.Right()).Decoded.Text;
}

TEST(EditTextTest, DecodesLineEndsAndKeepsOffsetsOfEveryCharacter) {
    const std::string bytes = "a\xC4\xE3\r\nb\x80\xFF";
    const EditText text = DecodeForEdit(bytes);
    EXPECT_EQ(text.Text, u"a你\nb\uFFFD\uFFFD");
    EXPECT_EQ(text.Offsets, (std::vector<std::uint32_t>{0, 1, 3, 5, 6, 7, 8}));
    const EncodedEdit back = EncodeForEdit(u"a你\nb");
    EXPECT_TRUE(back.Ok);
    EXPECT_EQ(back.Bytes, "a\xC4\xE3\r\nb");
    EXPECT_FALSE(EncodeForEdit(u"ok\uFFFD").Ok);
    const EncodedEdit lone = EncodeForEdit(u"x\xD83D");
    EXPECT_FALSE(lone.Ok);
    EXPECT_EQ(lone.Unencodable, U'\xD83D');
    // Characters past the basic plane: one character of four bytes, two units in the box.
    const std::string emoji = "\x94\x39\xFC\x36";
    EXPECT_EQ(EncodeForEdit(u"x\U0001F600").Bytes, "x" + emoji);
    const EditText wide = DecodeForEdit(emoji + "b");
    EXPECT_EQ(wide.Text, u"\U0001F600b");
    EXPECT_EQ(wide.Offsets, (std::vector<std::uint32_t>{0, 0, 4, 5}));
}

TEST(PageEditTest, BoxesHoldTheExactSourceBytesOfTheShownLines) {
    // "abcdefghijklmno" wraps after ten characters: the wrap brings no line break.
    Book book({"abcdefghijklmno\r\nxy\r\nrest\r\n"}, 1);
    const PageEdit edit = PageEdit::Begin(book.store);
    EXPECT_EQ(edit.Left().Bytes, "abcdefghij");
    EXPECT_EQ(edit.Right().Bytes, "klmno\r\n");
    EXPECT_EQ(Text(edit, false), u"klmno\n");
    ASSERT_FALSE(book.store.ShownChunk.empty());
    const std::string before = book.Shown();
    EXPECT_EQ(edit.Save(book.store, Text(edit, true), Text(edit, false)),
              std::nullopt);
    EXPECT_EQ(book.Shown(), before);
}

TEST(PageEditTest, LastPairEndingOnTheLeftPageLeavesTheRightBoxEmpty) {
    Book book({"one\r\ntwo"}, 2);
    PageEdit edit = PageEdit::Begin(book.store);
    EXPECT_EQ(edit.Left().Bytes, "one\r\ntwo");
    EXPECT_TRUE(edit.Right().Bytes.empty());
    // Text typed on the empty right page goes after the end of the document.
    EXPECT_EQ(edit.Save(book.store, Text(edit, true), u"\nthree"), std::nullopt);
    EXPECT_EQ(book.Shown(), "one\r\ntwo\r\nthree");
}

TEST(PageEditTest, OnlyTheChangedCharactersAreReplacedAndTextBeyondThePairStays) {
    // Bytes that are no GBK character (0x80, a lone 0xFF) on other lines survive the edit.
    Book book({"\x80head\xFF\r\nmiddle\r\n\xC4\xE3tail\r\nbeyond\r\n"}, 1);
    book.store.GoToPage(1);
    const PageEdit edit = PageEdit::Begin(book.store);
    std::u16string right = Text(edit, false);
    ASSERT_EQ(right, u"middle\n");
    right.replace(0, 3, u"MID");
    ASSERT_EQ(edit.Save(book.store, Text(edit, true), right), std::nullopt);
    EXPECT_EQ(book.Shown(), "\x80head\xFF\r\nMIDdle\r\n\xC4\xE3tail\r\nbeyond\r\n");
    EXPECT_EQ(book.Raw(), book.Shown()); // the edit is in the raw text too
}

TEST(PageEditTest, DeletingEverythingRemovesOnlyTheShownLines) {
    Book book({"a\r\nb\r\nc\r\nd\r\nl5\r\nl6\r\nl7\r\nl8\r\nafter"}, 2);
    book.store.GoToPage(3); // pages 3 and 4
    const PageEdit edit = PageEdit::Begin(book.store);
    EXPECT_EQ(edit.Left().Bytes, "l5\r\nl6\r\n");
    EXPECT_EQ(edit.Right().Bytes, "l7\r\nl8\r\n");
    ASSERT_EQ(edit.Save(book.store, u"", u""), std::nullopt);
    EXPECT_EQ(book.Shown(), "a\r\nb\r\nc\r\nd\r\nafter");
}

TEST(PageEditTest, AnEditAcrossAChunkBorderGoesIntoTheFirstChunk) {
    // The border falls inside the line "bbcc": the left page holds lines of both chunks.
    Book book({"aa\r\nbb", "cc\r\ndd\r\nee"}, 3);
    const PageEdit edit = PageEdit::Begin(book.store);
    ASSERT_EQ(edit.Left().Ranges.size(), 2u);
    EXPECT_EQ(edit.Left().Bytes, "aa\r\nbbcc\r\n");
    EXPECT_EQ(edit.Right().Bytes, "dd\r\nee");
    std::u16string left = Text(edit, true);
    left.replace(4, 2, u"XYZ"); // the last 'b' and the first 'c'
    ASSERT_EQ(edit.Save(book.store, left, Text(edit, false)), std::nullopt);
    EXPECT_EQ(*book.store.ShownChunk[0], "aa\r\nbXYZ");
    EXPECT_EQ(*book.store.ShownChunk[1], "c\r\ndd\r\nee");
    EXPECT_EQ(*book.store.RawChunk[1], "c\r\ndd\r\nee");
}

TEST(PageEditTest, BothBoxesEditedInOneChunkKeepTheirOrder) {
    Book book({"l1\r\nl2\r\n"}, 1);
    const PageEdit edit = PageEdit::Begin(book.store);
    ASSERT_EQ(edit.Save(book.store, u"l1\nA", u"Bl2\n"), std::nullopt);
    EXPECT_EQ(book.Shown(), "l1\r\nABl2\r\n");
}

// A BIG5 text: 一 (A4 40) twice, 們 (AD CC), and C9 40, which has no GB counterpart.
const std::string Big5Raw = "\xA4\x40\xA4\x40\r\n\xAD\xCC\xC9\x40\r\n";

TEST(PageEditTest, ABig5DocumentShownAsGbIsStoredBackAsBig5) {
    Book book({Big5Raw}, 2);
    book.settings.ConvertBig5 = true;
    book.Process();
    ASSERT_EQ(book.Shown(), "\xD2\xBB\xD2\xBB\r\n\xC3\xC7  \r\n");
    book.store.Paginate({60, 24, 48, false}, book.widths, book.progress);
    const PageEdit edit = PageEdit::Begin(book.store);
    std::u16string left = Text(edit, true);
    ASSERT_EQ(left, u"一一\n们  \n");
    left[1] = u'后';
    ASSERT_EQ(edit.Save(book.store, left, Text(edit, false)), std::nullopt);
    EXPECT_EQ(book.Shown(), "\xD2\xBB\xBA\xF3\r\n\xC3\xC7  \r\n");
    // 后 goes back as 後 (AB E1); the character without a GB form is still there.
    EXPECT_EQ(book.Raw(), "\xA4\x40\xAB\xE1\r\n\xAD\xCC\xC9\x40\r\n");
    book.Process(); // the edit survives the conversion being run again
    EXPECT_EQ(book.Shown(), "\xD2\xBB\xE1\xE1\r\n\xC3\xC7  \r\n");
}

TEST(PageEditTest, ALineOfFourByteCharactersIsEditedExactly) {
    const std::string grin = "\x94\x39\xFC\x36", beam = "\x94\x39\xFC\x37"; // U+1F600 U+1F601
    Book gb({grin + beam + grin + "\r\nrest\r\n"}, 1);
    PageEdit edit = PageEdit::Begin(gb.store);
    ASSERT_EQ(Text(edit, true), u"\U0001F600\U0001F601\U0001F600\n");
    // Only the low halves differ: the whole characters are replaced.
    EXPECT_FALSE(
        edit.Save(gb.store, u"\U0001F600\U0001F600𠮷\U0001F600\n", Text(edit, false)));
    const std::string jiYi = "\x95\x34\xB2\x35"; // 𠮷 U+20BB7
    EXPECT_EQ(gb.Shown(), grin + grin + jiYi + grin + "\r\nrest\r\n");
    EXPECT_EQ(gb.Raw(), gb.Shown());
}

TEST(PageEditTest, ACharacterTheCodeCannotHoldRefusesTheSave) {
    Book gb({"abc\r\n"}, 1);
    PageEdit edit = PageEdit::Begin(gb.store);
    const auto refusal = edit.Save(gb.store,
                                   u"ab\xD83D"
                                   u"c\n",
                                   Text(edit, false));
    ASSERT_TRUE(refusal);
    EXPECT_NE(refusal->find("GB"), std::string::npos);
    EXPECT_EQ(gb.Shown(), "abc\r\n");

    Book big5({Big5Raw}, 2);
    big5.settings.ConvertBig5 = true;
    big5.Process();
    big5.store.Paginate({60, 24, 48, false}, big5.widths, big5.progress);
    edit = PageEdit::Begin(big5.store);
    std::u16string left = Text(edit, true);
    left.insert(0, u"①\U0001F600"); // in GB, not in BIG5
    const auto big5Refusal = edit.Save(big5.store, left, Text(edit, false));
    ASSERT_TRUE(big5Refusal);
    EXPECT_NE(big5Refusal->find("BIG5码不能表示的字“①”"), std::string::npos);
    EXPECT_EQ(big5.Raw(), Big5Raw);
}

TEST(PageEditTest, TheRawCodeIsTheOneThePassesReadNotAFreshDetection) {
    // 這個說們 in GBK: no pair is GB2312, so the detection takes the text for BIG5. Read without
    // conversion or converted GB to BIG5, the raw text is GB and the edit goes in as typed.
    const std::string gbk = "\xDF\x40\x82\x80\xD5\x66\x82\x83\r\n";
    ASSERT_TRUE(IsBig5Text(gbk));
    for (const bool toBig5 : {false, true}) {
        Book book({gbk}, 2);
        book.settings.ConvertGb = toBig5;
        book.Process();
        const PageEdit edit = PageEdit::Begin(book.store);
        const std::u16string left = u"①" + Text(edit, true); // in GB, not in BIG5
        ASSERT_EQ(edit.Save(book.store, left, Text(edit, false)), std::nullopt) << toBig5;
        EXPECT_EQ(book.Raw(), "\xA2\xD9" + gbk);
    }
}

TEST(PageEditTest, ChangesOnBothSidesOfAnUndecodableByteAreSavedRunByRun) {
    Book book({"ab\x80" "cd\r\n"}, 2);
    const PageEdit edit = PageEdit::Begin(book.store);
    ASSERT_EQ(Text(edit, true), u"ab\uFFFDcd\n");
    ASSERT_EQ(edit.Save(book.store, u"aX\uFFFDYd\n", Text(edit, false)), std::nullopt);
    EXPECT_EQ(book.Shown(), "aX\x80Yd\r\n");
}

TEST(PageEditTest, AnEditSurvivesTurningAProcessingPassOnAndOff) {
    // Smart paragraphs change the length of the text, so the edit cannot go into the raw text
    // at the same place: the raw text becomes the edited shown text.
    Book book({"  first line\r\n  second\r\n"}, 3);
    book.settings.SmartParagraphs = true;
    book.Process();
    book.store.Paginate({60, 36, 48, false}, book.widths, book.progress);
    const PageEdit edit = PageEdit::Begin(book.store);
    std::u16string left = Text(edit, true);
    const std::size_t at = left.find(u"second");
    ASSERT_NE(at, std::u16string::npos);
    left.replace(at, 6, u"SECOND");
    ASSERT_EQ(edit.Save(book.store, left, Text(edit, false)), std::nullopt);
    book.settings.SmartParagraphs = false;
    book.Process();
    EXPECT_NE(book.Shown().find("SECOND"), std::string::npos);
}

TEST(PageEditTest, AChangedDocumentRefusesTheSave) {
    Book book({"abc\r\n"}, 1);
    const PageEdit edit = PageEdit::Begin(book.store);
    book.store.ShownChunk[0] = MakeChunk("other\r\n");
    EXPECT_TRUE(edit.Save(book.store, u"x", u""));
    EXPECT_EQ(book.Shown(), "other\r\n");
}

} // namespace
