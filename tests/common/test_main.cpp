// Shared main() of every test binary: widgets need a QApplication, and the
// offscreen platform lets them run without a display (also when gtest lists
// the tests at discovery time, where ctest's environment does not apply).
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
