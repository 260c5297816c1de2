#include "ScriptedServices.h"
#include "ToolbarText.h"
#include "chrome/TLanguage.h"
#include "chrome/TQWToolBar.h"
#include "chrome/TfrmCustomizeToolbar.h"

#include <QListWidget>
#include <QPushButton>
#include <QtTest>

namespace
{
QString captions(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts.join(u',');
}
} // namespace

class tst_TfrmCustomizeToolbar : public QObject
{
    Q_OBJECT

    ScriptedServices m_services;
    TLanguage m_language;

private slots:
    void initTestCase()
    {
        m_services.textFn = [](const QString&, const QString& key) { return key + "|long"; };
        m_language.LoadFromData("[CUSTOMIZE_TOOLBAR]\nSeparator=Sep\nAdd=Add\n[GLOBAL]\nOK=OK\n");
    }

    void okAppliesTheLists()
    {
        TQWToolBar bar(&m_services);
        bar.SetEntries(toolbarEntries("0 | 2 3h"));
        TfrmCustomizeToolbar dialog(&bar, &m_language);
        QCOMPARE(dialog.cmdAdd->text(), "Add");
        QCOMPARE(captions(dialog.lvCurrent), "MenuFileNewHint,Sep,MenuGoBackHint");
        QCOMPARE(dialog.lvAvailable->item(1)->text(), "MenuGoForwardHint");
        QVERIFY(!dialog.lvAvailable->item(1)->icon().isNull());
        dialog.lvCurrent->setCurrentRow(0);
        dialog.cmdRemove->click();
        dialog.lvAvailable->setCurrentRow(0);
        dialog.cmdAdd->click();
        dialog.cmdClose->click();
        QCOMPARE(dialog.Result(), TfrmCustomizeToolbar::Outcome::Applied);
        QCOMPARE(
            toolbarText(bar.Entries()),
            "| | 2 3h 1h 4h 5h 6h 7h 8h 9h 10h 11h 12h 13h 14h 15h 16h 17h 18h 19h 20h 21h 0h");
    }

    void cancelLeavesTheToolbar()
    {
        TQWToolBar bar(&m_services);
        bar.BuildDefaultToolbar();
        TfrmCustomizeToolbar dialog(&bar, &m_language);
        dialog.lvCurrent->setCurrentRow(0);
        dialog.cmdRemove->click();
        QCOMPARE(dialog.lvCurrent->count(), 21);
        dialog.cmdCancel->click();
        QCOMPARE(dialog.Result(), TfrmCustomizeToolbar::Outcome::Cancelled);
        QCOMPARE(bar.Entries(), ToolbarLayout::DefaultLayout());
    }
};

QTEST_MAIN(tst_TfrmCustomizeToolbar)
#include "tst_TfrmCustomizeToolbar.moc"
