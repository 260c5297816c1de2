#pragma once

#include <QApplication>
#include <benchmark/benchmark.h>

#include <functional>

// Runs the registered benchmarks inside a widget application, offscreen
// unless the caller's environment chose a platform. quiet, when given,
// filters the platform's notices out of the report; cleanUp frees the
// benchmarks' widgets while the application still exists.
inline int RunWidgetBenchmarks(int argc, char** argv, QtMessageHandler quiet = nullptr,
                               const std::function<void()>& cleanUp = {})
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (quiet)
        qInstallMessageHandler(quiet);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (cleanUp)
        cleanUp();
    return 0;
}
