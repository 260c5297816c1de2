#include "core/tabs/TabsMenu.h"

#include <QTest>

class tst_TabsMenu : public QObject
{
    Q_OBJECT
private slots:
    void captions_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");
        // clang-format off
        QTest::newRow("first") << 0 << "Home" << "&1    Home";
        QTest::newRow("ninth") << 8 << "Page" << "&9    Page";
        QTest::newRow("tenth has no number") << 9 << "Page" << "      Page";
        // clang-format on
    }
    void captions()
    {
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(QString, caption);
        QCOMPARE(TabsMenu::caption(index, text), caption);
    }

    void itemTexts_data()
    {
        QTest::addColumn<QString>("stickyName");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("text");
        // clang-format off
        QTest::newRow("title") << "" << "Example Domain" << "Example Domain";
        QTest::newRow("sticky name wins") << "Mail" << "Inbox (3)" << "Mail";
        QTest::newRow("blank page") << "" << "about:blank" << "(Blank)";
        QTest::newRow("sticky name on blank") << "Later" << "about:blank" << "Later";
        // clang-format on
    }
    void itemTexts()
    {
        QFETCH(QString, stickyName);
        QFETCH(QString, hint);
        QFETCH(QString, text);
        QCOMPARE(TabsMenu::itemText(stickyName, hint, QStringLiteral("(Blank)")), text);
    }
};

QTEST_APPLESS_MAIN(tst_TabsMenu)
#include "tst_TabsMenu.moc"
