#pragma once

#include "chrome/IOptionsHost.h"

#include <QObject>

struct TClassInfo;
class TfrmMain;

// The window's side of the options dialog: the Options command, the values
// the dialog shows (from the store, and from the running window where the
// window keeps a value of its own), and OK, which stores every value and
// applies it to the running window at once. Each value is given to the part
// that keeps it, so what that part writes back at exit is the new value.
class MainOptions : public QObject, public IOptionsHost
{
    Q_OBJECT
public:
    // window's parts must exist.
    explicit MainOptions(TfrmMain* window);

    // The Options command: the dialog, then AfterDialog().
    void Execute();
    // Whether it ended with OK or not, the address completion and the pop-up
    // patterns are read again from the store.
    void AfterDialog();

    // IOptionsHost
    OptionsValues CurrentOptions() const override;
    void ApplyDefaultBrowser(const QList<OptionsValues::DefaultBrowserRow>& rows) override;
    void ApplyOptions(const OptionsValues& before, const OptionsValues& after) override;
    QString VostelGroupsFolder() const override;

    // A default-browser row: the class's name, and its description after a
    // dash when the desktop has one.
    static QString DefaultBrowserRowText(const TClassInfo& info);

private:
    void ApplyGeneral(const OptionsValues& before, const OptionsValues& after);
    void ApplyTabs(const OptionsValues& before, const OptionsValues& after);
    void ApplyTabColors(const OptionsValues& after);
    void ApplyNewTabSources(const OptionsValues& after);
    void ApplyAddressAndCapture(const OptionsValues& after);
    void ApplyFavorites(const OptionsValues& before, const OptionsValues& after);

    TfrmMain* m_window;
};
