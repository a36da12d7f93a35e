#pragma once

#include <QApplication>
#include <QtTest>
#include <unistd.h>

// main() for tests that run the real engine: headless unless told otherwise, sandbox off only for root.
#define ORBWELL_ENGINE_TEST_MAIN(TestClass)                                                  \
    int main(int argc, char *argv[])                                                         \
    {                                                                                        \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                  \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                         \
        if (geteuid() == 0)                                                                  \
            qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");                                     \
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);                          \
        QApplication app(argc, argv);                                                        \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                             \
        TestClass tc;                                                                        \
        QTEST_SET_MAIN_SOURCE_PATH                                                           \
        return QTest::qExec(&tc, argc, argv);                                                \
    }
