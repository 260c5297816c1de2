#pragma once

#include <QByteArray>

// Finds a text of ASCII characters in bytes, upper and lower case alike,
// without allocating: the history search runs it over every address and
// title of the index files. Bytes beyond ASCII (UTF-8 of other scripts)
// never match an ASCII character.
class AsciiCaseFinder
{
public:
    // A search may read up to this many bytes past the end of the bytes it
    // searches; they must be readable (their values do not matter).
    static constexpr int Overread = 15;

    // needle must be ASCII and not empty.
    explicit AsciiCaseFinder(const QByteArray& needle);

    static bool isAscii(const QByteArray& text);
    bool foundIn(const char* text, qsizetype size) const;

private:
    bool equalAt(const char* text) const;

    QByteArray m_needle; // lower case
    // First and last byte: OR-ed with the mask (0x20 for letters, so that
    // both cases meet) they equal the value.
    unsigned char m_firstMask, m_firstValue, m_lastMask, m_lastValue;
};
