#include "TestSupport.h"

#include <gtest/gtest.h>

// Every test runs in a private home (see IsolateHome), also when started by hand.
int main(int argc, char** argv) {
    testsupport::IsolateHome();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
