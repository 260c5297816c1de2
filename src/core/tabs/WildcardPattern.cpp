#include "core/tabs/WildcardPattern.h"

#include <QString>

bool WildcardPattern::Match(QStringView address, QStringView pattern)
{
    const qsizetype n = address.size();
    const qsizetype m = pattern.size();
    qsizetype i = 0; // address position
    qsizetype j = 0; // pattern position
    // The latest star and the address position where its match ends so far.
    qsizetype star = -1;
    qsizetype starEnd = 0;

    while (i < n)
    {
        if (j < m && pattern[j] == u'*')
        {
            star = j++;
            starEnd = i;
        }
        else if (j < m && (pattern[j] == u'?' || pattern[j] == address[i]))
        {
            ++i;
            ++j;
        }
        else if (star >= 0)
        {
            j = star + 1;
            i = ++starEnd;
        }
        else
        {
            return false;
        }
    }
    while (j < m && pattern[j] == u'*')
        ++j;
    return j == m;
}

bool WildcardPattern::MatchPrefix(QStringView address, QStringView pattern)
{
    if (pattern.endsWith(u'*'))
        return Match(address, pattern);
    return Match(address, pattern.toString() + QLatin1Char('*'));
}
