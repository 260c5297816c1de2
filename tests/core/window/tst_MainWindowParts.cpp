#include "ModalDialogAnswerer.h"
#include "components/TQWStatusBar.h"
#include "core/dialogs/TfrmConfirm.h"
#include "core/window/TAppCommandFilter.h"
#include "core/window/TLogoPanel.h"
#include "core/window/WindowPlacement.h"

#include <QApplication>
#include <QCheckBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <climits>
#include <numeric>
#include <utility>

Q_DECLARE_METATYPE(TAppCommandFilter::AppCommand)

namespace
{
template <typename T> T* child(QWidget* parent, const char* name)
{
    return parent->findChild<T*>(QString::fromLatin1(name));
}
} // namespace

class tst_MainWindowParts : public QObject
{
    Q_OBJECT

private slots:
    void confirmHidesWhatHasNoText_data();
    void confirmHidesWhatHasNoText();
    void confirmLayout();
    void showConfirmReportsAnswer_data();
    void showConfirmReportsAnswer();

    void statusTextForHint_data();
    void statusTextForHint();
    void firstPanelTakesTheRest();

    void logoLayout_data();
    void logoLayout();
    void logoPanelFollowsItsHeight();

    void storedCoordinate_data();
    void storedCoordinate();
    void visibleRect_data();
    void visibleRect();

    void commandForKey_data();
    void commandForKey();
    void everyCommandHasOneKey();
    void commandForMouseButton_data();
    void commandForMouseButton();
    void realWindowDeliveryGivesOneCommand();
};

void tst_MainWindowParts::confirmHidesWhatHasNoText_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("okText");
    QTest::addColumn<QString>("cancelText");
    QTest::addColumn<QString>("checkText");

    // clang-format off
    QTest::newRow("everything")           << "Title" << "Yes" << "No"    << "Don't ask";
    QTest::newRow("notice: one button")   << ""      << "OK"  << ""      << "";
    QTest::newRow("no check box")         << "Title" << "Yes" << "No"    << "";
    QTest::newRow("only cancel")          << "Title" << ""    << "Close" << "";
    QTest::newRow("nothing but the text") << ""      << ""    << ""      << "";
    // clang-format on
}

void tst_MainWindowParts::confirmHidesWhatHasNoText()
{
    QFETCH(QString, title);
    QFETCH(QString, okText);
    QFETCH(QString, cancelText);
    QFETCH(QString, checkText);

    TfrmConfirm dialog;
    dialog.setTexts(QStringLiteral("Caption"), title, QStringLiteral("Explanation"), okText,
                    cancelText, checkText);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QCOMPARE(dialog.windowTitle(), QStringLiteral("Caption"));
    const struct
    {
        const char* name;
        QString text;
    } parts[] = {{"lblTitle", title},
                 {"cmdOK", okText},
                 {"cmdCancel", cancelText},
                 {"chkConfirm", checkText}};
    for (const auto& part : parts)
    {
        QWidget* widget = child<QWidget>(&dialog, part.name);
        QVERIFY2(widget, part.name);
        QVERIFY2(widget->isVisible() == !part.text.isEmpty(), part.name);
        if (!part.text.isEmpty())
            QCOMPARE(widget->property("text").toString(), part.text);
    }
    QCOMPARE(child<QPlainTextEdit>(&dialog, "mmoPrompt2")->toPlainText(),
             QStringLiteral("Explanation"));
    QVERIFY(child<QPlainTextEdit>(&dialog, "mmoPrompt2")->isReadOnly());
}

void tst_MainWindowParts::confirmLayout()
{
    const auto shown = [](TfrmConfirm& dialog, const QString& title, const QString& text)
    {
        dialog.setTexts(QStringLiteral("C"), title, text, QStringLiteral("OK"), {}, {});
        dialog.adjustSize();
        dialog.show();
        return QTest::qWaitForWindowExposed(&dialog);
    };
    TfrmConfirm titled, untitled, longer;
    QVERIFY(shown(titled, QStringLiteral("A title"), QStringLiteral("One line.")));
    QVERIFY(shown(untitled, QString(), QStringLiteral("One line.")));
    QVERIFY(shown(longer, QString(), QStringLiteral("word ").repeated(200)));
    const auto prompt = [](TfrmConfirm& dialog)
    { return child<QPlainTextEdit>(&dialog, "mmoPrompt2")->geometry(); };

    // Without a title the explanation moves up into its place.
    const int titleTop = child<QLabel>(&titled, "lblTitle")->y();
    QVERIFY(prompt(titled).y() > titleTop);
    QVERIFY(prompt(untitled).y() <= titleTop);
    // The buttons follow the text with less than a line's room between, and
    // a long text makes the dialog higher.
    const int line = child<QPlainTextEdit>(&untitled, "mmoPrompt2")->fontMetrics().lineSpacing();
    const int gap = child<QPushButton>(&untitled, "cmdOK")->y() - prompt(untitled).bottom();
    QVERIFY2(gap < line, qPrintable(QString::number(gap)));
    QVERIFY(prompt(longer).height() > 4 * line);
}

void tst_MainWindowParts::showConfirmReportsAnswer_data()
{
    QTest::addColumn<bool>("startChecked");
    QTest::addColumn<bool>("toggle");
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("checked");

    // clang-format off
    QTest::newRow("yes")                         << false << false << "cmdOK"     << true  << false;
    QTest::newRow("no")                          << false << false << "cmdCancel" << false << false;
    QTest::newRow("no, do not ask again")        << false << true  << "cmdCancel" << false << true;
    QTest::newRow("yes, do not ask again")       << false << true  << "cmdOK"     << true  << true;
    QTest::newRow("box starts checked, left")    << true  << false << "cmdOK"     << true  << true;
    QTest::newRow("box starts checked, cleared") << true  << true  << "cmdCancel" << false << false;
    QTest::newRow("window closed")               << false << true  << "close"     << false << true;
    // clang-format on
}

void tst_MainWindowParts::showConfirmReportsAnswer()
{
    QFETCH(bool, startChecked);
    QFETCH(bool, toggle);
    QFETCH(QString, how);
    QFETCH(bool, ok);
    QFETCH(bool, checked);

    // The owner's font, its title bold; centred on the screen, but for the
    // platform's frame, which is known only once the dialog is shown.
    const QFont ownerFont(QStringLiteral("DejaVu Serif"), 13);
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    bool sawStartState = false;
    QFont font, titleFont, okFont;
    QPoint off;
    int frame = 0;
    ModalDialogAnswerer answerer(
        [&](QWidget* dialog)
        {
            auto* box = child<QCheckBox>(dialog, "chkConfirm");
            sawStartState = box->isChecked() == startChecked;
            font = dialog->font();
            titleFont = child<QLabel>(dialog, "lblTitle")->font();
            okFont = child<QPushButton>(dialog, "cmdOK")->font();
            off = dialog->frameGeometry().center() - screenCentre;
            frame = qMax(dialog->frameGeometry().width() - dialog->width(),
                         dialog->frameGeometry().height() - dialog->height());
            if (toggle)
                box->click();
            if (how == QLatin1String("close"))
                dialog->close();
            else
                child<QPushButton>(dialog, how.toLatin1().constData())->click();
        });
    const ConfirmResult result =
        ShowConfirm(nullptr, ownerFont, QStringLiteral("Caption"), startChecked,
                    QStringLiteral("Title"), QStringLiteral("Text"), QStringLiteral("Yes"),
                    QStringLiteral("No"), QStringLiteral("Don't ask me again"));
    QCOMPARE(answerer.count(), 1);
    QVERIFY(sawStartState);
    QCOMPARE(result.ok, ok);
    QCOMPARE(font.pointSize(), 13);
    QVERIFY(titleFont.bold() && !okFont.bold());
    QVERIFY2(qAbs(off.x()) <= frame + 1 && qAbs(off.y()) <= frame + 1,
             qPrintable(QStringLiteral("%1,%2 off the centre").arg(off.x()).arg(off.y())));
    QCOMPARE(result.checked, checked);
}

void tst_MainWindowParts::statusTextForHint_data()
{
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("shown");

    // clang-format off
    QTest::newRow("short, long and more")        << "short|long\nmore"  << "more";
    QTest::newRow("plain")                       << "plain"             << "plain";
    QTest::newRow("short and long")              << "Open|Opens a page" << "Opens a page";
    QTest::newRow("line break without bar")      << "first\nsecond"     << "second";
    QTest::newRow("only the first break counts") << "s|one\ntwo\nthree" << "two\nthree";
    QTest::newRow("only the first bar counts")   << "a|b|c"             << "b|c";
    QTest::newRow("empty long part")             << "short|"            << "";
    QTest::newRow("empty")                       << ""                  << "";
    QTest::newRow("bar after the break")         << "one\ntwo|three"    << "three";
    // clang-format on
}

void tst_MainWindowParts::statusTextForHint()
{
    QFETCH(QString, hint);
    QFETCH(QString, shown);
    QCOMPARE(TQWStatusBar::statusTextForHint(hint), shown);
}

void tst_MainWindowParts::firstPanelTakesTheRest()
{
    QMainWindow window;
    auto* bar = new TQWStatusBar(&window);
    window.setStatusBar(bar);
    window.setCentralWidget(new QWidget(&window));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // The other panels keep their widths; the first takes what is left.
    int wideFirst = 0;
    for (const int width : {900, 600})
    {
        window.resize(width, 300);
        QTRY_COMPARE(bar->width(), width);
        for (int i = 1; i < TQWStatusBar::PanelCount; ++i)
            QCOMPARE(bar->panel(i)->width(), TQWStatusBar::PanelWidths[i]);
        if (wideFirst == 0)
            wideFirst = bar->panel(0)->width();
        QTRY_COMPARE(bar->panel(0)->width(), wideFirst - (900 - width));
        QVERIFY(bar->panel(0)->geometry().right() < bar->panel(1)->x());
        QVERIFY(bar->panel(TQWStatusBar::PanelCount - 1)->geometry().right() < bar->width());
    }
    // What the bar keeps for itself (margins, spacing, size grip) is small.
    const int fixed = std::accumulate(std::begin(TQWStatusBar::PanelWidths),
                                      std::end(TQWStatusBar::PanelWidths), 0);
    QVERIFY2(wideFirst > 900 - fixed - 48, qPrintable(QString::number(wideFirst)));
}

void tst_MainWindowParts::logoLayout_data()
{
    QTest::addColumn<int>("panelHeight");
    QTest::addColumn<int>("bandHeight");
    QTest::addColumn<int>("panelWidth");
    QTest::addColumn<QRect>("bevel");
    QTest::addColumn<QRect>("closeButtons");
    QTest::addColumn<int>("closeTop");

    // Bevel 34 (32-pixel animation in a 1-pixel frame), buttons 16 high.
    // Tall: 36 wide, bevel at the left, a 21-pixel row at the bottom, buttons
    // 3 down. Short: 72 wide, bevel at the right edge, buttons 2 pixels above
    // the bottom of a row as high as the band container.
    // clang-format off
    QTest::newRow("tall, just")                  << 55 << 55 << 36 << QRect(0, 0, 34, 34)  << QRect(0, 34, 36, 21) << 3;
    QTest::newRow("tall")                        << 80 << 80 << 36 << QRect(0, 0, 34, 34)  << QRect(0, 59, 36, 21) << 3;
    QTest::newRow("short, just")                 << 54 << 54 << 72 << QRect(38, 0, 34, 34) << QRect(0, 0, 38, 54)  << 54 - 16 - 2;
    QTest::newRow("short")                       << 40 << 40 << 72 << QRect(38, 0, 34, 34) << QRect(0, 0, 38, 40)  << 22;
    QTest::newRow("short, lower band container") << 40 << 30 << 72 << QRect(38, 0, 34, 34) << QRect(0, 10, 38, 30) << 12;
    // clang-format on
}

void tst_MainWindowParts::logoLayout()
{
    QFETCH(int, panelHeight);
    QFETCH(int, bandHeight);
    QFETCH(int, panelWidth);
    QFETCH(QRect, bevel);
    QFETCH(QRect, closeButtons);
    QFETCH(int, closeTop);

    const LogoLayout layout = LogoLayout::compute(panelHeight, 34, bandHeight, 16);
    QCOMPARE(layout.panelWidth, panelWidth);
    QCOMPARE(layout.bevel, bevel);
    QCOMPARE(layout.closeButtons, closeButtons);
    QCOMPARE(layout.closeTop, closeTop);
    // Nothing sticks out of the panel, and the buttons sit inside their row.
    const QRect panel(0, 0, panelWidth, panelHeight);
    QVERIFY(panel.contains(layout.bevel));
    QVERIFY(panel.contains(layout.closeButtons));
    QVERIFY(layout.closeTop >= 0 && layout.closeTop + 16 <= layout.closeButtons.height());
}

void tst_MainWindowParts::logoPanelFollowsItsHeight()
{
    QWidget host;
    TLogoPanel panel(&host);
    host.resize(200, 100);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));

    // The panel lays itself out by the rule above as its height changes.
    for (const int height : {70, 40})
    {
        panel.resize(panel.width(), height);
        const LogoLayout layout = LogoLayout::compute(height, 34, height, 16);
        QCOMPARE(panel.width(), layout.panelWidth);
        QCOMPARE(panel.pnlLogoBevel->geometry(), layout.bevel);
        QCOMPARE(panel.pnlCloseButtons->geometry(), layout.closeButtons);
        QCOMPARE(panel.spdClose->y(), layout.closeTop);
        QCOMPARE(panel.spdCloseAll->y(), panel.spdClose->y());
    }
}

void tst_MainWindowParts::storedCoordinate_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("stored");

    // clang-format off
    QTest::newRow("negative")      << -5      << 0;
    QTest::newRow("far negative")  << INT_MIN << 0;
    QTest::newRow("zero")          << 0       << 0;
    QTest::newRow("positive")      << 5000    << 5000;
    // clang-format on
}

void tst_MainWindowParts::storedCoordinate()
{
    QFETCH(int, value);
    QFETCH(int, stored);
    QCOMPARE(WindowPlacement::storedCoordinate(value), stored);
}

void tst_MainWindowParts::visibleRect_data()
{
    QTest::addColumn<QRect>("stored");
    QTest::addColumn<QList<QRect>>("screens");
    QTest::addColumn<bool>("untouched");

    const QList<QRect> one{QRect(0, 0, 1280, 1024)};
    const QList<QRect> two{QRect(0, 0, 1280, 1024), QRect(1280, 0, 1024, 768)};

    // clang-format off
    QTest::newRow("on screen")                                 << QRect(10, 10, 800, 600)       << one            << true;
    QTest::newRow("mostly off to the right, still reachable")  << QRect(1280 - 100, 100, 800, 600) << one         << true;
    QTest::newRow("on the second screen")                      << QRect(1500, 100, 600, 400)    << two            << true;
    QTest::newRow("no screens known")                          << QRect(-5000, -5000, 800, 600) << QList<QRect>() << true;
    QTest::newRow("far above and left")                        << QRect(-5000, -5000, 800, 600) << one            << false;
    QTest::newRow("off to the right")                          << QRect(2000, 100, 800, 600)    << one            << false;
    QTest::newRow("a sliver left on screen")                   << QRect(1280 - 20, 100, 800, 600) << one          << false;
    QTest::newRow("where an unplugged screen was")             << QRect(2400, 100, 600, 400)    << two            << false;
    QTest::newRow("larger than the screen and off it")         << QRect(5000, 5000, 3000, 3000) << one            << false;
    // clang-format on
}

void tst_MainWindowParts::visibleRect()
{
    QFETCH(QRect, stored);
    QFETCH(QList<QRect>, screens);
    QFETCH(bool, untouched);

    const QRect placed = WindowPlacement::visibleRect(stored, screens);
    if (untouched)
    {
        QCOMPARE(placed, stored);
        return;
    }
    // Brought back whole onto the first screen, keeping its size where it fits.
    QVERIFY2(screens.first().contains(placed), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                              .arg(placed.x())
                                                              .arg(placed.y())
                                                              .arg(placed.width())
                                                              .arg(placed.height())));
    QCOMPARE(placed.width(), qMin(stored.width(), screens.first().width() - 20));
    QCOMPARE(placed.height(), qMin(stored.height(), screens.first().height() - 20));
}

void tst_MainWindowParts::commandForKey_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<TAppCommandFilter::AppCommand>("command");

    using F = TAppCommandFilter;
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    // clang-format off
    QTest::newRow("back") << int(Qt::Key_Back) << none << F::Back;
    QTest::newRow("home page") << int(Qt::Key_HomePage) << none << F::Home;
    QTest::newRow("keypad flag is no modifier") << int(Qt::Key_Back) << Qt::KeyboardModifiers(Qt::KeypadModifier) << F::Back;
    QTest::newRow("shift+back") << int(Qt::Key_Back) << Qt::KeyboardModifiers(Qt::ShiftModifier) << F::None;
    QTest::newRow("ctrl+refresh") << int(Qt::Key_Refresh) << Qt::KeyboardModifiers(Qt::ControlModifier) << F::None;
    QTest::newRow("alt+home page") << int(Qt::Key_HomePage) << Qt::KeyboardModifiers(Qt::AltModifier) << F::None;
    QTest::newRow("meta+forward") << int(Qt::Key_Forward) << Qt::KeyboardModifiers(Qt::MetaModifier) << F::None;
    QTest::newRow("the Home key is not the home page") << int(Qt::Key_Home) << none << F::None;
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << none << F::None;
    QTest::newRow("F5") << int(Qt::Key_F5) << none << F::None;
    QTest::newRow("letter") << int(Qt::Key_A) << none << F::None;
    // clang-format on
}

void tst_MainWindowParts::commandForKey()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(TAppCommandFilter::AppCommand, command);
    QCOMPARE(TAppCommandFilter::commandForKey(key, modifiers), command);
}

void tst_MainWindowParts::everyCommandHasOneKey()
{
    // Every key Qt can report, printable and special: each application
    // command is reached by exactly one of them.
    QHash<TAppCommandFilter::AppCommand, int> keys;
    for (const auto& [from, to] : {std::pair{0x20, 0xff}, std::pair{0x01000000, 0x0100ffff},
                                   std::pair{0x01100000, 0x0110ffff}})
        for (int key = from; key <= to; ++key)
            ++keys[TAppCommandFilter::commandForKey(key, Qt::NoModifier)];
    for (int command = TAppCommandFilter::None + 1; command <= TAppCommandFilter::Home; ++command)
        QCOMPARE(keys.value(TAppCommandFilter::AppCommand(command)), 1);
}

void tst_MainWindowParts::commandForMouseButton_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<TAppCommandFilter::AppCommand>("command");

    // clang-format off
    QTest::newRow("back")    << Qt::BackButton    << TAppCommandFilter::Back;
    QTest::newRow("forward") << Qt::ForwardButton << TAppCommandFilter::Forward;
    QTest::newRow("left")    << Qt::LeftButton    << TAppCommandFilter::None;
    QTest::newRow("middle")  << Qt::MiddleButton  << TAppCommandFilter::None;
    // clang-format on
}

void tst_MainWindowParts::commandForMouseButton()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(TAppCommandFilter::AppCommand, command);
    QCOMPARE(TAppCommandFilter::commandForMouseButton(button), command);
}

void tst_MainWindowParts::realWindowDeliveryGivesOneCommand()
{
    TAppCommandFilter filter;
    qApp->installEventFilter(&filter);
    QSignalSpy spy(&filter, &TAppCommandFilter::command);

    QWidget top;
    auto* layout = new QVBoxLayout(&top);
    auto* inner = new QWidget(&top);
    auto* edit = new QLineEdit(inner);
    layout->addWidget(inner);
    top.resize(300, 200);
    top.show();
    QVERIFY(QTest::qWaitForWindowExposed(&top));
    top.activateWindow();
    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());

    // Through the platform window, as the keyboard and mouse deliver them.
    QTest::keyClick(top.windowHandle(), Qt::Key_Forward);
    QTest::keyClick(top.windowHandle(), Qt::Key_Forward);
    QCOMPARE(spy.count(), 2);
    spy.clear();
    const QPoint onInner = inner->mapTo(&top, inner->rect().center());
    QTest::mousePress(top.windowHandle(), Qt::BackButton, {}, onInner);
    QTest::mouseRelease(top.windowHandle(), Qt::BackButton, {}, onInner);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.first().first().value<TAppCommandFilter::AppCommand>(), TAppCommandFilter::Back);
    spy.clear();
    QTest::mouseClick(top.windowHandle(), Qt::LeftButton, {}, onInner);
    QCOMPARE(spy.count(), 0);
    qApp->removeEventFilter(&filter);
}

QTEST_MAIN(tst_MainWindowParts)
#include "tst_MainWindowParts.moc"
