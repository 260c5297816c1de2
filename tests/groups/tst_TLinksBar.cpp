#include "ScriptedServices.h"
#include "groups/TLinksBar.h"

#include <QMenu>
#include <QToolButton>
#include <QtTest>

namespace
{
bool make(const QString& root, const QStringList& entries)
{
    for (const QString& entry : entries)
        if (!(entry.endsWith('/') ? QDir(root).mkpath(entry)
                                  : QFile(root + '/' + entry).open(QIODevice::WriteOnly)))
            return false;
    return true;
}

// As the band shows them: a drop-down button ends in "/".
QStringList buttons(const TLinksBar& bar)
{
    QStringList shown;
    for (const QToolButton* button : bar.Buttons())
        shown << QString(button->text()).replace("&&", "&") + (button->menu() ? "/" : "");
    return shown;
}
} // namespace

class tst_TLinksBar : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    ScriptedServices m_services;

private slots:
    void initTestCase()
    {
        m_services.setGlobalText("OpenAllFavorites", "All");
        m_services.setGlobalText("Customize", "Customize");
        m_services.texts["MAIN>CustomizeLinks"] = "Organize";
    }

    void buttonsOfTheFolder()
    {
        QVERIFY(make(m_dir.path(), {"b.url", "z/", "Tom & Jerry.url", ".hidden.url"}));
        TLinksBar bar(nullptr, false, &m_services);
        bar.SetFolder(m_dir.path());
        bar.Reload();
        QCOMPARE(buttons(bar), (QStringList{"z/", "b", "Tom & Jerry"}));
        QCOMPARE(bar.RootItem()->actions().constLast()->text(), QString("Customize"));
        // Without a Links folder there is nothing to show.
        bar.SetFolder({});
        bar.Reload();
        QVERIFY(bar.Buttons().isEmpty());
        QVERIFY(bar.RootItem()->isEmpty());
    }

    // Every link is either whole on the band or in the chevron's menu, once.
    void chevronHoldsTheCutOffButtons_data()
    {
        QTest::addColumn<int>("width");
        QTest::newRow("all fit") << 4000;
        QTest::newRow("some fit") << 250;
        QTest::newRow("none fits") << 5;
    }
    void chevronHoldsTheCutOffButtons()
    {
        QFETCH(int, width);
        QTemporaryDir dir;
        QStringList all;
        for (int i = 1; i <= 8; ++i)
        {
            all << QStringLiteral("Link %1").arg(i);
            QVERIFY(make(dir.path(), {all.last() + ".url"}));
        }
        TLinksBar bar(nullptr, false, &m_services);
        bar.SetFolder(dir.path());
        bar.ShowOpenAllFavorites = true;
        bar.Reload();
        bar.resize(width, 30);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));

        const int visibleRight = bar.pnlLinksExtender->isVisible()
                                     ? bar.pnlLinksExtender->geometry().left()
                                     : bar.width();
        QStringList whole;
        for (const QToolButton* button : bar.Buttons())
            if (button->mapTo(&bar, QPoint(button->width(), 0)).x() <= visibleRight)
                whole << button->text();
        emit bar.pmLinksBarExtender->aboutToShow();
        QStringList offered;
        for (const QAction* action : bar.pmLinksBarExtender->actions())
            offered << (action->isSeparator() ? "|" : action->text());

        const QStringList cutOff = all.mid(whole.size());
        QCOMPARE(whole, all.first(whole.size()));
        QCOMPARE(offered,
                 (cutOff.isEmpty() ? QStringList{} : cutOff + QStringList{"|", "Organize"}));
        QCOMPARE(bar.pnlLinksExtender->isVisible(), !cutOff.isEmpty());
        QCOMPARE(whole.isEmpty(), width < 100);
        QCOMPARE(cutOff.isEmpty(), width > 1000);
    }
};

QTEST_MAIN(tst_TLinksBar)
#include "tst_TLinksBar.moc"
