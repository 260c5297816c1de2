#include "groups/AsciiCaseFinder.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace
{
bool isLetter(unsigned char c)
{
    return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
}

unsigned char lower(unsigned char c)
{
    return isLetter(c) ? (c | 0x20) : c;
}
} // namespace

AsciiCaseFinder::AsciiCaseFinder(const QByteArray& needle) : m_needle(needle)
{
    for (char& c : m_needle)
        c = char(lower(static_cast<unsigned char>(c)));
    const auto first = static_cast<unsigned char>(m_needle.front());
    const auto last = static_cast<unsigned char>(m_needle.back());
    // x | 0x20 is a lower-case letter exactly when x is that letter in
    // either case, so the mask never lets another byte through.
    m_firstMask = isLetter(first) ? 0x20 : 0;
    m_firstValue = first;
    m_lastMask = isLetter(last) ? 0x20 : 0;
    m_lastValue = last;
}

bool AsciiCaseFinder::isAscii(const QByteArray& text)
{
    for (const char c : text)
    {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

bool AsciiCaseFinder::equalAt(const char* text) const
{
    // First and last byte have matched already.
    for (qsizetype i = 1; i + 1 < m_needle.size(); ++i)
    {
        if (lower(static_cast<unsigned char>(text[i])) != static_cast<unsigned char>(m_needle[i]))
            return false;
    }
    return true;
}

bool AsciiCaseFinder::foundIn(const char* text, qsizetype size) const
{
    const qsizetype length = m_needle.size();
    if (size < length)
        return false;
    const qsizetype starts = size - length + 1; // positions a match can begin at
    const qsizetype lastOffset = length - 1;
    qsizetype i = 0;
#if defined(__SSE2__)
    // Sixteen starting positions at a time: their first and last bytes are
    // compared at once, and only where both fit are the bytes between read.
    const __m128i firstMask = _mm_set1_epi8(char(m_firstMask));
    const __m128i firstValue = _mm_set1_epi8(char(m_firstValue));
    const __m128i lastMask = _mm_set1_epi8(char(m_lastMask));
    const __m128i lastValue = _mm_set1_epi8(char(m_lastValue));
    for (; i < starts; i += 16)
    {
        const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        const __m128i tail =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i + lastOffset));
        const __m128i both =
            _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(head, firstMask), firstValue),
                          _mm_cmpeq_epi8(_mm_or_si128(tail, lastMask), lastValue));
        unsigned bits = unsigned(_mm_movemask_epi8(both));
        if (starts - i < 16)
            bits &= (1u << (starts - i)) - 1;
        while (bits)
        {
            const int bit = __builtin_ctz(bits);
            if (equalAt(text + i + bit))
                return true;
            bits &= bits - 1;
        }
    }
    return false;
#else
    for (; i < starts; ++i)
    {
        const auto head = static_cast<unsigned char>(text[i]);
        const auto tail = static_cast<unsigned char>(text[i + lastOffset]);
        if ((head | m_firstMask) == m_firstValue && (tail | m_lastMask) == m_lastValue &&
            equalAt(text + i))
            return true;
    }
    return false;
#endif
}
