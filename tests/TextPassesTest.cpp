// test-links: mojuan_reader
#include "reader/TextPasses.h"

#include <gtest/gtest.h>

namespace {

TEST(TextPassesTest, TheHelpTextIsShownAsWrittenWithTheProcessingSwitchesOff) {
    DocumentStore store;
    store.DocumentName = "/books/a.txt";
    TextOptions options{true, true, false, true, true};
    UseHelpText(store, "help\r\n", options);
    EXPECT_TRUE(store.DocumentName.empty());
    EXPECT_EQ(*store.ShownChunk.at(0), "help\r\n");
    EXPECT_EQ(options, (TextOptions{false, false, false, false, false}));
}

TEST(TextPassesTest, TogglesReprocessRepaginateOrNeither) {
    for (TextToggle t : {TextToggle::Big5, TextToggle::Gb, TextToggle::Html, TextToggle::Chap}) {
        EXPECT_TRUE(WorkAfterToggle(t).Reprocess);
        EXPECT_TRUE(WorkAfterToggle(t).Repaginate);
    }
    EXPECT_FALSE(WorkAfterToggle(TextToggle::HangD).Reprocess);
    EXPECT_TRUE(WorkAfterToggle(TextToggle::HangD).Repaginate);
    EXPECT_FALSE(WorkAfterToggle(TextToggle::UnderLine).Reprocess);
    EXPECT_FALSE(WorkAfterToggle(TextToggle::UnderLine).Repaginate);
}

} // namespace
