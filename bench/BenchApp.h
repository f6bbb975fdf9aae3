// The one application object of the benchmarks that need fonts or widgets.
#pragma once

#include <QApplication>

inline QApplication &BenchApp() {
    static int argc = 1;
    static char name[] = "tarbelon_bench";
    static char *argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}
