#pragma once

#include <QStringView>

// Address patterns of the pop-up list: "*" stands for any run of characters
// (none too), "?" for exactly one character, every other character for
// itself with exact case.
//
// The rule reads naturally as a recursion over address and pattern:
//   a pattern (or rest of one) that is exactly "*" matches everything;
//   a used-up address matches only a used-up pattern;
//   "*" matches if the address matches the rest after the star, or if the
//   address without its first character matches from the star on;
//   "?" takes one address character, never none; any other pattern
//   character must equal the address character; then both go on;
//   an address left over when the pattern is used up does not match.
// Taken literally, that recursion says "ab**" does not match "ab" although
// each star may match nothing; here a rest made of stars alone counts as
// used up, so a run of stars means the same as one star. Everywhere else
// Match() gives exactly the recursion's results.
//
// The recursion tries both ways at every star and takes exponential time on
// patterns such as "*a*a*a*a*b" against a long run of "a". Match() walks
// greedily with two positions instead: when a comparison fails, only the
// most recent star has to take one more character, because whatever an
// earlier star could still take, the later one can take as well. That is
// at most O(n·m) steps and constant memory.
class WildcardPattern
{
public:
    static bool Match(QStringView address, QStringView pattern);

    // How the pop-up list reads an entry: as a prefix pattern, a pattern
    // that does not end with "*" being read with one appended.
    static bool MatchPrefix(QStringView address, QStringView pattern);
};
