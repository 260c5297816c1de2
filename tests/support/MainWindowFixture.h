#pragma once

#include "FakeBrowserControl.h"
#include "MainWindowHome.h"
#include "ModalDialogAnswerer.h"

#include <QList>
#include <QStringList>

#include <memory>

class TfrmMain;

// A main window in a program folder of its own (MainWindowHome) with fake
// pages. A dialog the test does not expect is rejected, so that it cannot
// hang the test, and finish() names it; a test that answers dialogs itself
// calls expectDialogs() first. Make one in init(), call finish() in cleanup().
class MainWindowFixture
{
public:
    MainWindowFixture();
    ~MainWindowFixture();

    bool isValid() const { return m_home.isValid(); }
    const MainWindowHome& home() const { return m_home; }
    bool seed(const QString& name, const QString& text) const { return m_home.seed(name, text); }
    QString stored(const QString& name) const { return m_home.stored(name); }

    // A new window (hidden), replacing the one before.
    TfrmMain* create();
    // A new window shown and active, with tabs tabs.
    TfrmMain* createActive(int tabs = 1);
    // Ends the window, so that what it writes at its end is stored.
    void closeWindow() { window.reset(); }

    void expectDialogs() { m_unexpected->stop(); }
    // Ends the window; the class names of the dialogs nobody expected.
    QStringList finish();

    std::unique_ptr<TfrmMain> window;
    // Every page control the window made, oldest first.
    QList<FakeBrowserControl*> made;

private:
    MainWindowHome m_home;
    std::unique_ptr<ModalDialogAnswerer> m_unexpected;
};

// For cleanup(): fails the test that left a dialog nobody expected.
#define QW_FINISH_MAIN_WINDOW(fixture)                                                             \
    do                                                                                             \
    {                                                                                              \
        const QStringList unexpected = (fixture)->finish();                                        \
        (fixture).reset();                                                                         \
        QVERIFY2(unexpected.isEmpty(), qPrintable(QStringLiteral("unexpected dialogs: ") +         \
                                                  unexpected.join(QStringLiteral(", "))));         \
    } while (false)
