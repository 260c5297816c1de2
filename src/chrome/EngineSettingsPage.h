#pragma once

#include "chrome/EngineSettingsValues.h"

#include <QString>
#include <QWidget>

class WindowServices;

// One page of the engine-settings dialog: it shows its part of the values
// and writes what the user made of it back into them.
class EngineSettingsPage : public QWidget
{
    Q_OBJECT
public:
    static const QString Section;

    EngineSettingsPage(WindowServices* services, QWidget* parent)
        : QWidget(parent), m_services(services)
    {
    }

    virtual void Show(const EngineSettingsValues& values) = 0;
    virtual void Take(EngineSettingsValues& values) const = 0;

protected:
    // A text of the dialog's language section; of section when given.
    QString Text(const QString& key, const QString& section = Section) const;
    WindowServices* Services() const { return m_services; }

private:
    WindowServices* m_services;
};
