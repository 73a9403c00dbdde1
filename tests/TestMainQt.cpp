#include "TestSupport.h"

#include <QApplication>
#include <gtest/gtest.h>

// The window tests drive real widgets under the offscreen platform, in a private home (see
// IsolateHome) set before Qt reads any of it, also when started by hand.
int main(int argc, char** argv) {
    testsupport::IsolateHome();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
