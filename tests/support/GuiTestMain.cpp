#include <QApplication>

#include <gtest/gtest.h>

// GUI tests share one QApplication; they run on a real X server (Xvfb) or,
// where that is enough, the offscreen platform.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TracellaTests"));
    QApplication::setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}
