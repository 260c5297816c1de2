#include "MainWindowFixture.h"
#include "components/TFindPanel.h"
#include "core/engine/THistoryIndex.h"
#include "core/window/TfrmMain.h"
#include "groups/HistoryTreeModel.h"
#include "groups/THistoryPage.h"
#include "groups/TKoncoBar.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

namespace
{
// The first page of the tree, newest first, as "period/site/page"; the
// grouping itself is the model's.
QString newest(const HistoryTreeModel& model)
{
    const QModelIndex period = model.index(0, 0), site = model.index(0, 0, period);
    return period.data().toString() + u'/' + site.data().toString() + u'/' +
           model.index(0, 0, site).data().toString();
}

bool visit(const char* url, const char* title, int secondsAgo)
{
    return THistoryIndex::recordVisit(QString::fromLatin1(url), QString::fromLatin1(title),
                                      QDateTime::currentDateTime().addSecs(-secondsAgo),
                                      THistoryIndex::defaultRoot());
}
} // namespace

class tst_MainHistory : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_f = std::make_unique<MainWindowFixture>(); }
    void cleanup() { QW_FINISH_MAIN_WINDOW(m_f); }

    void visitsFindAndClear()
    {
        QVERIFY(visit("http://news.test/today", "Daily Quokka News", 2));
        QVERIFY(visit("http://shop.test/", "Shop", 1));
        TfrmMain* window = m_f->createActive();
        QVERIFY(window);
        auto* page = window->findChild<THistoryPage*>();
        QVERIFY(page);
        QCOMPARE(page->model()->rowCount(), 0); // read on its first showing only

        window->RunCommand(MainCommand::SideBarHistory);
        QCOMPARE(window->KoncoBar()->activePage(), TKoncoBar::History);
        QTRY_VERIFY(page->isVisible());
        QCOMPARE(newest(*page->model()), QStringLiteral("Today/shop.test/Shop"));
        // A visit recorded while the page is in front shows up by itself.
        QVERIFY(visit("http://shop.test/cart", "Cart", 0));
        QTRY_COMPARE(newest(*page->model()), QStringLiteral("Today/shop.test/Cart"));

        // Find mode: a word of a title finds its page; choosing it opens it.
        page->tbFindHistory->click();
        QVERIFY(page->shHistory->isHidden());
        TFindPanel* find = page->pnlFindHistory;
        find->edtFind->setText(QStringLiteral("quokka"));
        find->spdFind->click();
        QCOMPARE(find->results()->count(), 1);
        QCOMPARE(find->results()->row(0).address, QStringLiteral("http://news.test/today"));
        const qsizetype before = m_f->made.size();
        find->chooseRow(0);
        QTRY_COMPARE(m_f->made.size(), before + 1); // HistoryNewWin: a new tab
        QCOMPARE(m_f->made.last()->navigations, QStringList{"http://news.test/today"});

        // Clear history, answered Yes.
        m_f->expectDialogs();
        QString question;
        ModalDialogAnswerer yes(
            [&](QWidget* dialog)
            {
                question = dialog->windowTitle();
                dialog->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
            });
        page->spdClearHistory->click();
        QCOMPARE(question, QStringLiteral("Quillwave"));
        QCOMPARE(page->model()->rowCount(), 0);
        find->spdFind->click();
        QCOMPARE(find->results()->count(), 1);
        QVERIFY(find->results()->row(0).address.isEmpty());
        QCOMPARE(find->results()->row(0).caption, QStringLiteral("(No items found)"));
    }

private:
    std::unique_ptr<MainWindowFixture> m_f;
};

QTEST_MAIN(tst_MainHistory)
#include "tst_MainHistory.moc"
