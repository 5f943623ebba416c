// Shared main() of every test binary: widgets need a QApplication, and the
// offscreen platform lets them run without a display (also when gtest lists
// the tests at discovery time, where ctest's environment does not apply).
#include <QApplication>
#include <gtest/gtest.h>

namespace
{
// The offscreen platform cannot raise windows and says so on every call; the
// busy window is raised before each chunk of a transfer.
QtMessageHandler defaultHandler = nullptr;
void quietHandler(QtMsgType type, const QMessageLogContext& ctx, const QString& msg)
{
    if (msg.contains(QLatin1String("does not support raise()")))
        return;
    defaultHandler(type, ctx, msg);
}
} // namespace

int main(int argc, char** argv)
{
    defaultHandler = qInstallMessageHandler(quietHandler);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
