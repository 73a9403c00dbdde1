// test-links:
#include "TestSupport.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

// Documents cut from the corpus end on a whole character and are as long as asked, or one
// byte shorter when the last character would not fit.
TEST(TestSupportTest, BuildDocumentCutsOnACharacterBoundary) {
    MOJUAN_REQUIRE_CORPUS("hongloumeng.gbk.txt");
    for (std::size_t size : {std::size_t{1}, std::size_t{99'999}, std::size_t{2'000'001}}) {
        const std::string doc = testsupport::BuildDocument("hongloumeng.gbk.txt", size);
        ASSERT_LE(doc.size(), size);
        ASSERT_GE(doc.size() + 1, size);
        std::size_t i = 0;
        while (i < doc.size())
            i += static_cast<unsigned char>(doc[i]) >= 0x81 ? 2 : 1;
        EXPECT_EQ(i, doc.size()) << "a double-byte character was cut at " << size;
    }
}

// The test main has already moved every home of the process into one scratch folder.
TEST(TestSupportTest, MainIsolatesTheHomeFolders) {
    const std::string scratch = testsupport::IsolateHome();
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "TMPDIR"}) {
        const char* value = std::getenv(name);
        ASSERT_NE(value, nullptr) << name;
        EXPECT_EQ(std::string(value).rfind(scratch + "/", 0), 0u) << name << " is " << value;
    }
}
