// Groups of pages: saved and read back, opened as tabs and made of them, and
// the dialog that edits them, driven through its buttons and keys as a user
// would.

#include "FakeBrowserControl.h"
#include "ScriptedFileServices.h"
#include "TabSetHost.h"
#include "TestStore.h"
#include "components/TQWPageControl.h"
#include "core/store/ProgramPaths.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabSet.h"
#include "groups/TfrmVostelGroup.h"
#include "groups/VostelGroupTabs.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

namespace
{
void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Steps separated by ";": "S1" clicks row 1, "I" "U" "D" "^" "v" "X" "Ok" "Cancel"
// click Insert, Update, Delete, Up, Down, the entry box's Cancel, OK, Cancel;
// "T:title|address|1" fills the entry box and confirms it; "Esc" presses Escape.
void drive(TfrmVostelGroup& d, const QString& steps)
{
    const QHash<QString, QAbstractButton*> buttons{
        {"I", d.cmdInsert}, {"U", d.cmdUpdate},    {"D", d.cmdDelete}, {"^", d.cmdUp},
        {"v", d.cmdDown},   {"X", d.cmdUrlCancel}, {"Ok", d.cmdOk},    {"Cancel", d.cmdCancel}};
    const auto click = [](QAbstractButton* button)
    {
        QVERIFY2(button->isEnabled(), qPrintable(button->objectName() + " is disabled"));
        QTest::mouseClick(button, Qt::LeftButton);
    };
    QTreeWidget* list = d.lstSites;
    for (const QString& step : steps.split(';'))
    {
        const QStringList site = step.mid(2).split('|');
        if (buttons.contains(step))
            click(buttons[step]);
        else if (step == "Esc")
            QTest::keyClick(d.EntryBoxVisible() ? d.edtLocation : list->viewport(), Qt::Key_Escape);
        else if (step.startsWith('S'))
            QTest::mouseClick(
                list->viewport(), Qt::LeftButton, {},
                list->visualItemRect(list->topLevelItem(step.mid(1).toInt())).center());
        else
        {
            d.edtTitle->setText(site.value(0));
            d.edtLocation->setText(site.value(1));
            d.chkTabLocked->setChecked(site.value(2) == "1");
            click(d.cmdUrlInsert);
        }
        if (QTest::currentTestFailed())
            return;
    }
}

// What the user sees: the rows, the selected row, the enabled list buttons and the
// entry box when open; or how the dialog was closed.
QString state(const TfrmVostelGroup& d)
{
    if (!d.isVisible())
        return d.result() == QDialog::Accepted ? "accepted" : "rejected";
    QStringList rows;
    for (const TfrmVostelGroup::Site& site : d.Sites())
        rows << site.title + '|' + site.address + (site.locked ? "|1" : "|0");
    QString text = rows.join(';') + " @" + QString::number(d.SelectedRow()) + ' ';
    const QList<QAbstractButton*> on{d.cmdInsert, d.cmdUpdate, d.cmdDelete, d.cmdUp, d.cmdDown};
    for (qsizetype i = 0; i < on.size(); ++i)
        text += on[i]->isEnabled() ? QString("IUD^v")[i] : QChar('-');
    if (d.EntryBoxVisible())
        text += " box=" + d.edtTitle->text() + '|' + d.edtLocation->text() +
                (d.chkTabLocked->isChecked() ? "|1" : "|0");
    return text;
}
} // namespace

class tst_TfrmVostelGroup : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedFileServices> m_services;
    std::unique_ptr<TfrmVostelGroup> m_dialog;
    QString m_path;
    QTemporaryDir m_home;

    // Tabs as "sticky name=address", the address marked "*" when the tab locks
    // once loaded; the address is the one last asked for, else the one shown.
    QTemporaryDir dir;
    std::unique_ptr<TestStore> store;
    std::unique_ptr<TabSetHost> host;
    std::unique_ptr<TQWPageControl> pc;
    std::unique_ptr<TTabSet> set;

    QString writeGroup(const QString& name, const QString& entries)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("[VostelGroup]\n" + entries.split(';', Qt::SkipEmptyParts).join('\n').toUtf8());
        return path;
    }
    // Tabs named by letter; "K" is kept on Close All.
    void addTabs(const QStringList& names)
    {
        for (const QString& name : names)
        {
            TBrowserTab* tab = set->AddTab();
            FakeTabHost::controlOf(tab)->locationUrl = QStringLiteral("http://%1.test/").arg(name);
            tab->HideFromCloseAll = name == "K";
        }
        set->ActivateTab(set->Tab(0));
    }
    QStringList described() const
    {
        QStringList tabs;
        for (int i = 0; i < set->Count(); ++i)
        {
            const TBrowserTab* tab = set->Tab(i);
            const FakeBrowserControl* control = FakeTabHost::controlOf(tab);
            tabs << tab->StickyName() + '=' + (tab->LockAfterLoad ? "*" : "") +
                        (control->navigations.isEmpty() ? control->locationUrl
                                                        : control->navigations.last());
        }
        return tabs;
    }

    bool open(const QByteArray& group)
    {
        m_dialog.reset();
        m_dir = std::make_unique<QTemporaryDir>();
        m_services = std::make_unique<ScriptedFileServices>();
        // A language may word adding and changing alike; the box must still know which it does.
        m_services->setGlobalText("Insert", "OK");
        m_services->setGlobalText("Update", "OK");
        m_path = m_dir->filePath("News & Mail.vgp");
        QFile file(m_path);
        const bool written = file.open(QIODevice::WriteOnly) && file.write(group) == group.size();
        file.close();
        m_dialog = std::make_unique<TfrmVostelGroup>(m_path, m_services.get());
        m_dialog->show();
        return written;
    }

private slots:
    void initTestCase() { qputenv("QUILLWAVE_HOME", QFile::encodeName(m_home.path())); }

    void steps()
    {
        const QByteArray abc("[VostelGroup]\nA=a\nB=*b\nC=c\n");
        const QByteArray crlf("[VostelGroup]\r\nA = a\r\nblank2=b\r\n");
        // The group, the steps, what is seen then, the file written ("" as it was).
        // clang-format off
        const QList<std::tuple<QByteArray, QString, QString, QByteArray>> rows = {
            {abc, "S0;^;S2;v", "A|a|0;B|b|1;C|c|0 @2 IUD^v", ""}, // the ends stay
            {abc, "S1;^;S1;v", "B|b|1;C|c|0;A|a|0 @2 IUD^v", ""},
            {abc, "S1;I;S0", "A|a|0;B|b|1;C|c|0 @0 ----- box=||0", ""}, // list buttons off while inserting
            {abc, "S1;U;S0", "A|a|0;B|b|1;C|c|0 @0 ----- box=B|b|1", ""}, // and while updating
            {abc, "S1;U;X", "A|a|0;B|b|1;C|c|0 @1 IUD^v", ""},
            {abc, "S1;U;T:Z|z|0", "A|a|0;Z|z|0;C|c|0 @1 IUD^v", ""},
            {abc, "I;T:T|  |0", "A|a|0;B|b|1;C|c|0 @-1 ----- box=T|  |0", ""}, // a blank address is no address
            {abc, "S0;U;T:A||0", "A|a|0;B|b|1;C|c|0 @0 ----- box=A||0", ""},
            {"[VostelGroup]\nblank1=http://a/\nBlank2=*http://b/*c\n", "Ok", "accepted", "[VostelGroup]\nblank1=http://a/\nblank2=*http://b/*c\n"}, // untitled keys kept
            {"[VostelGroup]\nNews=http://n/\nBLANKET=http://b/\n", "Ok", "accepted", "[VostelGroup]\nNews=http://n/\nblank2=http://b/\n"}, // untitled at its place
            {"[VostelGroup]\nx=http://a/\n", "S0;U;T:a=b|http://a/|0;Ok", "accepted", "[VostelGroup]\nab=http://a/\n"},
            {"[VostelGroup]\nNews=http://1/\nMail=http://m/\n", "I;T:news|http://2/|1;Ok", "accepted", "[VostelGroup]\nNews=*http://2/\nMail=http://m/\n"}, // same title: one key, later address
            {"[VostelGroup]\nA=a\nB=b\n", "S0;U;T:=|x|0;S1;U;T:= =|y|0;Ok", "accepted", "[VostelGroup]\nblank1=x\nblank2=y\n"}, // titles of "=" only are untitled
            {"[Other]\nx=1\n\n[VostelGroup]\nA=a\n", "I;T:B|b|0;Ok", "accepted", "[Other]\nx=1\n\n[VostelGroup]\nA=a\nB=b\n"}, // other sections survive
            {abc, "I;T:  | d |0;S0;D;S2;^;Ok", "accepted", "[VostelGroup]\nB=*b\nblank2=d\nC=c\n"},
            {crlf, "S0;D;I;T:C|c|1;Cancel", "rejected", ""},
            {crlf, "S0;D;I;T:C|c|1;Esc", "rejected", ""},
            {crlf, "S0;D;I;Esc", "rejected", ""},
        };
        // clang-format on
        for (const auto& [group, steps, seen, written] : rows)
        {
            QVERIFY(open(group));
            drive(*m_dialog, steps);
            QCOMPARE(state(*m_dialog), seen);
            QCOMPARE(readFile(m_path), written.isEmpty() ? group : written);
            QCOMPARE(m_services->saveFileOfTypeRequests, QStringList());
        }
    }

    void troubleOnSave()
    {
        // The file blocked by a folder (else gone), the save dialog's answer
        // ("" cancelled), questions asked, errors told, the folder afterwards.
        // clang-format off
        const QList<std::tuple<bool, QString, int, int, QString>> rows = {
            {false, "", 1, 0, ""},
            {false, "Elsewhere.vgp", 1, 0, "Elsewhere.vgp"},
            {true, "", 0, 1, "News & Mail.vgp"},
        };
        // clang-format on
        for (const auto& [blocked, saveAs, asked, told, files] : rows)
        {
            QVERIFY(open("[VostelGroup]\nA=a\n") && QFile::remove(m_path));
            QVERIFY(!blocked || QDir().mkdir(m_path));
            m_services->saveFileAnswer = saveAs.isEmpty() ? QString() : m_dir->filePath(saveAs);
            drive(*m_dialog, "I;T:B|b|0;Ok");
            QCOMPARE(int(m_services->saveFileOfTypeRequests.size()), asked);
            QCOMPARE(int(m_services->errors.size()), told);
            QCOMPARE(
                QDir(m_dir->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).join(';'),
                files);
            // A save that did not happen leaves the pages there to save.
            QCOMPARE(state(*m_dialog), saveAs.isEmpty() ? "A|a|0;B|b|0 @-1 I----" : "accepted");
            QCOMPARE(readFile(m_dialog->FileName()),
                     saveAs.isEmpty() ? "" : "[VostelGroup]\nA=a\nB=b\n");
        }
    }

    void saveAndReload()
    {
        const QString longAddress = "http://a/?q=" + QString(5000, QLatin1Char('x'));
        QStringList many;
        for (int i = 1; i <= 3000; ++i)
            many << QStringLiteral("blank%1=http://a/").arg(i);
        // Sites as "name|address|locked" separated by ";", the group read back.
        // clang-format off
        const QList<QPair<QString, QStringList>> rows = {
            {"News|http://n/|0;|http://b/|1;Mail|http://m/|0", {"News=http://n/", "blank2=*http://b/", "Mail=http://m/"}},
            {"News|http://1/|0;Mail|http://m/|0;news|http://2/|1", {"News=*http://2/", "Mail=http://m/"}}, // same name twice
            {"L|" + longAddress + "|0", {"L=" + longAddress}},
            {QStringList(3000, "|http://a/|0").join(';'), many},
        };
        // clang-format on
        QTemporaryDir dir;
        const QString path = dir.filePath("g.vgp");
        for (const auto& [sites, reloaded] : rows)
        {
            writeFile(path, "[Other]\nx=1\n\n[VostelGroup]\nold=http://old/\n");
            TVostelGroup group(nullptr, path);
            QCOMPARE(group, QStringList{"old=http://old/"});
            group.clear();
            for (const QString& site : sites.split(';'))
                group.AddSite(site.section('|', 0, 0), site.section('|', 1, 1),
                              site.endsWith("|1"));
            QVERIFY(group.Save());
            QCOMPARE(QStringList(TVostelGroup(nullptr, path)), reloaded);
            QVERIFY(readFile(path).startsWith("[Other]\nx=1\n\n[VostelGroup]\n"));
        }
    }

    void saveAsks()
    {
        // clang-format off
        // News.vgp there ("" none, "/" a folder, else its text), the name
        // chosen in the save dialog ("" cancelled), the answer to whether to
        // replace it, that question asked, the group's file name afterwards,
        // saved.
        const QList<std::tuple<QByteArray, QString, bool, bool, QString, bool>> rows = {
            {"", "", true, false, "", false}, // cancelled
            {"[VostelGroup]\nold=x\n", "News.vgp", true, true, "News.vgp", true}, // replaced
            {"[VostelGroup]\nold=x\n", "News.vgp", false, true, "", false}, // kept
            {"[VostelGroup]\n", "News", true, true, "News.vgp", true}, // there once the suffix is added
            {"/", "News.vgp", true, true, "News.vgp", false}, // a folder in the way: reported
        };
        // clang-format on
        for (const auto& [existing, answer, yes, asked, fileName, saved] : rows)
        {
            QTemporaryDir dir;
            const QString news = dir.filePath("News.vgp");
            if (existing == "/")
                QVERIFY(QDir().mkpath(news));
            else if (!existing.isEmpty())
                writeFile(news, existing);
            ScriptedFileServices services;
            services.textFn = [](const QString& section, const QString& key)
            { return section + '>' + key + " %1"; };
            services.saveFileAnswer = answer.isEmpty() ? QString() : dir.filePath(answer);
            services.confirmAnswer = {yes, false};
            // A group read from a file that is not there has no name yet.
            TVostelGroup group(&services, dir.filePath("gone.vgp"));
            group.AddSite("A", "http://a/", false);

            QCOMPARE(group.Save(), saved);
            QCOMPARE(services.saveFileOfTypeRequests,
                     QStringList{"GLOBAL>VostelGroup %1|" + ProgramPaths::vostelGroupsFolder() +
                                 "|MAIN>VostelGroupFilter %1|vgp"});
            QCOMPARE(services.confirmCalls.size(), int(asked));
            if (asked)
                QCOMPARE(services.confirmCalls.first().prompt, "GLOBAL>VostelGroupDuplicate %1");
            const QString path = fileName.isEmpty() ? QString() : dir.filePath(fileName);
            QCOMPARE(group.FileName(), path);
            if (saved)
                QCOMPARE(readFile(path), "[VostelGroup]\nA=http://a/\n");
            else if (existing != "/")
                QCOMPARE(readFile(news), existing);
            // A failed write is told, with the reason; nothing else is.
            QCOMPARE(services.errors.size(), int(!saved && !path.isEmpty()));
            for (const QString& error : services.errors)
                QVERIFY2(error.startsWith("GLOBAL>VostelGroupNotSaved ") && error.contains(path),
                         qPrintable(error));
        }
    }

    void init()
    {
        store = std::make_unique<TestStore>();
        host = std::make_unique<TabSetHost>();
        pc = std::make_unique<TQWPageControl>();
        set = std::make_unique<TTabSet>(pc.get(), host.get(), &host->services,
                                        FakeBrowserControl::factory(), store->options.get());
        host->tabSet = set.get();
    }
    void cleanup()
    {
        set.reset();
        pc.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        host.reset();
        store.reset();
    }

    void groupOpensTabs()
    {
        const QStringList abc{"=http://A.test/", "=http://B.test/", "=http://C.test/"};
        // Tabs before, the group, closing first, tabs after, addresses refused.
        // clang-format off
        const QList<std::tuple<QStringList, QString, bool, QStringList, int>> rows = {
            {{"A", "B", "C"}, "one=http://1/;two=http://2/", true, {"one=http://1/", "two=http://2/"}, 0}, // the survivor shows the first page
            {{"A", "B", "C"}, "one=http://1/;two=http://2/", false, abc + QStringList{"one=http://1/", "two=http://2/"}, 0},
            {{"A"}, "blank7=http://1/;Blank8=http://2/", false, {"=http://A.test/", "=http://1/", "Blank8=http://2/"}, 0}, // blank names are no names; case counts
            {{"A"}, "x=*http://1/?a=b*c", true, {"x=*http://1/?a=b*c"}, 0},
            {{"A", "B", "C"}, "", true, abc, 0}, // an empty group closes nothing
            {{"A", "B"}, "s=javascript:alert(1);ok=http://1/", true, {"ok=http://1/"}, 1},
            {{"K", "B"}, "one=http://1/", true, {"=http://K.test/", "one=http://1/"}, 0}, // a kept tab keeps its page
        };
        // clang-format on
        for (const auto& [before, entries, closeFirst, after, refused] : rows)
        {
            cleanup();
            init();
            addTabs(before);
            set->OpenNewAtEnd = false;
            const auto opened =
                VostelGroupTabs::open(*set, writeGroup("g.vgp", entries), closeFirst, false);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCOMPARE(described(), after);
            QCOMPARE(opened.refused, refused);
            QVERIFY(!set->OpenNewAtEnd && !set->GroupOpening);
        }
    }

    // Tabs opened at start-up that have not reached their pages yet are
    // saved with those pages, names and locks: the file reads back the same.
    void savedTabsReadBackTheSame()
    {
        addTabs({"A"});
        const QString entries = "News=http://n/?q=a=b;blank2=*http://2/;Mail=http://m/";
        VostelGroupTabs::open(*set, writeGroup("in.vgp", entries), true, true);
        // A captured pop-up waiting to close is not part of the group.
        set->AddHiddenTab()->Killed = true;
        ScriptedFileServices services;
        services.saveFileAnswer = dir.filePath("out");

        TVostelGroup group = VostelGroupTabs::ofTabs(*set, &services);
        QVERIFY(group.Save());
        const TVostelGroup saved(nullptr, dir.filePath("out.vgp"));
        QCOMPARE(QStringList(saved), entries.split(';'));
    }

    void uniqueName()
    {
        // Names there, the name, the name given.
        // clang-format off
        const QList<std::tuple<QStringList, QString, QString>> rows = {
            {{"Mail"}, "News", "News"},
            {{"News"}, "news", "news (2)"},
            {{"News", "News (2)"}, "News", "News (3)"},
            {{"ab"}, "a=b", "a=b (2)"}, // '=' dropped before comparing
            {{}, "", "blank1"},
            {{"blank1", "blank3"}, "", "blank4"},
        };
        // clang-format on
        for (const auto& [names, name, unique] : rows)
        {
            TVostelGroup group;
            for (const QString& existing : names)
                group << existing + "=http://x/";
            QCOMPARE(VostelGroupTabs::uniqueName(group, name), unique);
        }
    }
};

QTEST_MAIN(tst_TfrmVostelGroup)
#include "tst_TfrmVostelGroup.moc"
