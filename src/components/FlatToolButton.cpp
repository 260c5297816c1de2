#include "components/FlatToolButton.h"

#include "chrome/TLanguage.h"
#include "components/ToolbarImages.h"

#include <QToolButton>
#include <QVariant>

namespace
{
// The colour picture a button was made with, to change its look later.
const char* const ColourIcon = "quillwaveColourIcon";
// Pages of the side bar are made when first shown: they take the look the
// bars have then.
bool showColours = false;
} // namespace

QToolButton* FlatToolButton(QWidget* parent, const QString& name, const QIcon& icon,
                            const QString& hint)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setAutoRaise(true);
    button->setProperty(ColourIcon, QVariant::fromValue(icon));
    button->setIcon(ToolbarImages::ForBar(icon, showColours));
    button->setToolTip(TLanguage::ShortHint(hint));
    button->setStatusTip(TLanguage::LongHint(hint));
    return button;
}

void ShowFlatButtonColours(QWidget* root, bool showColor)
{
    showColours = showColor;
    for (QToolButton* button : root->findChildren<QToolButton*>())
    {
        const QVariant colour = button->property(ColourIcon);
        if (colour.isValid())
            button->setIcon(ToolbarImages::ForBar(colour.value<QIcon>(), showColor));
    }
}
