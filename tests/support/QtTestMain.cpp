// main() for test programs that need a Qt application object: an event loop for queued
// signals and timers, and for widget tests a QApplication on the offscreen platform.
#include <gmock/gmock.h>

#ifdef KESTRAVA_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv) {
    ::testing::InitGoogleMock(&argc, argv);
    TestApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
