#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// What every fuzz target needs around the code it feeds: one application
// object, a program folder of its own (so that nothing reaches the user's
// settings), quiet Qt messages, and checks that end the run like a crash so
// that libFuzzer keeps the input.
class FuzzSupport
{
public:
    // Once per process, before the first input.
    static void initialise();
    // A folder that lives as long as the process.
    static QString folder();
    // Writes data to folder()/name, replacing it; returns the path.
    static QString writeFile(const QString& name, const QByteArray& data);
    // Removes folder()/name and everything below it.
    static void remove(const QString& name);

    [[noreturn]] static void fail(const char* condition, const char* file, int line);
};

// An invariant of the code under test: a broken one is a finding.
#define FUZZ_CHECK(condition)                                                                      \
    do                                                                                             \
    {                                                                                              \
        if (!(condition))                                                                          \
            FuzzSupport::fail(#condition, __FILE__, __LINE__);                                     \
    } while (false)

// The bytes of one input.
inline QByteArray fuzzInput(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}
