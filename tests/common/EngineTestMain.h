#pragma once

#include <QApplication>
#include <QtTest>
#include <unistd.h>

// What the engine needs before the application object exists: headless unless told otherwise,
// sandbox off only for root.
inline void PrepareEngineTest()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

// main() for tests that run the real engine.
#define ORBWELL_ENGINE_TEST_MAIN(TestClass)                                                  \
    int main(int argc, char *argv[])                                                         \
    {                                                                                        \
        PrepareEngineTest();                                                                 \
        QApplication app(argc, argv);                                                        \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                             \
        TestClass tc;                                                                        \
        QTEST_SET_MAIN_SOURCE_PATH                                                           \
        return QTest::qExec(&tc, argc, argv);                                                \
    }
