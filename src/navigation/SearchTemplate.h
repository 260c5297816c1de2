#pragma once

#include <QString>

// Fills a search address template: "%s" marks where the search words go and
// "%%" stands for one percent sign. The words are inserted once and never
// read again, so nothing in them can act as a placeholder. This is not a C
// format string and is never given to one.
class SearchTemplate
{
public:
    enum class Error
    {
        None,
        NoPlaceholder,     // no "%s" at all
        SecondPlaceholder, // "%s" more than once
        StrayPercent       // "%" followed by anything but "s" or "%", or at the end
    };

    struct Result
    {
        QString text; // empty when refused
        Error error = Error::None;
        bool ok() const { return error == Error::None; }
    };

    // The template with words in place of its one "%s", unchanged.
    static Result Expand(const QString& searchTemplate, const QString& words);
    // Only the checks: the error Expand would report.
    static Error Check(const QString& searchTemplate);
};
