#pragma once

#include "core/engine/IBrowserControl.h"

#include <QString>
#include <QUrl>

#include <optional>

// What the injected probe reports of a click in a document: the link it
// landed on (its nearest link ancestor) or else the element itself, with
// the document's base target. The engine's navigation decisions carry no
// element, so a link's navigation is matched to the click by address.
struct ClickReport
{
    QString tag;
    QString href; // absolute; empty when the click was on no link
    QString target;
    QString baseTarget;

    // A probe message of kind "click" after prefix; nothing for any other
    // message.
    static std::optional<ClickReport> parse(const QString& message, const QString& prefix);
    // Whether a navigation to url is this click's.
    bool matches(const QUrl& url) const;
    ActivatedElement element() const;
};
