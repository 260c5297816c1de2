#pragma once

#include <QString>
#include <QStringList>

// Implemented by a QObject whose visible texts are not objects of their own
// (the bands of a cool bar, for example), so that the language walk can
// replace placeholders among them. The walk finds it with dynamic_cast.
class ITranslatableItems
{
public:
    virtual ~ITranslatableItems() = default;

    // The item texts in their display order.
    virtual QStringList translatableTexts() const = 0;
    // index is a position in translatableTexts().
    virtual void setTranslatableText(int index, const QString& text) = 0;
};
