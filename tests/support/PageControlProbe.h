#pragma once

// Pages of a page control made and read back by name, for the tests of the
// control and of its tab strip.

#include "components/TQWPageControl.h"
#include "components/TQWTabStrip.h"

#include <QWidget>

#include <memory>

namespace PageControlProbe
{
// Pages are named by their first position so orders read as "1,2,0".
// The pattern gives each page's visibility: 'V' has a tab, 'H' is hidden.
inline std::unique_ptr<TQWPageControl> makeControl(const QString& pattern, int width = 640)
{
    auto control = std::make_unique<TQWPageControl>();
    control->resize(width, 300);
    for (int i = 0; i < pattern.size(); ++i)
    {
        auto* page = new QWidget;
        page->setObjectName(QString::number(i));
        control->addPage(page, pattern[i] == QLatin1Char('V'));
        control->setPageCaption(page, QStringLiteral("Tab %1").arg(i));
        control->setPageHint(page, QStringLiteral("Full title of page %1").arg(i));
    }
    return control;
}

inline TQWTabStrip* stripOf(const TQWPageControl& control)
{
    return qobject_cast<TQWTabStrip*>(control.tabStrip());
}

inline QString names(const TQWPageControl& control, bool visibleOnly = true)
{
    QStringList names;
    const int count = visibleOnly ? control.visibleCount() : control.count();
    for (int i = 0; i < count; ++i)
        names << (visibleOnly ? control.visiblePage(i) : control.page(i))->objectName();
    return names.join(QLatin1Char(','));
}

inline QString activeName(const TQWPageControl& control)
{
    return control.activePage() ? control.activePage()->objectName() : QString();
}
} // namespace PageControlProbe
