// The page-properties dialog and the rules behind its rows, with a scripted
// browser control: no engine runs here.

#include "FakeBrowserControl.h"

#include "chrome/TLanguage.h"
#include "core/dialogs/TfrmProperties.h"
#include "core/engine/PagePropertiesReader.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QVariantMap>

#include <algorithm>
#include <memory>

namespace
{
const QString Languages = QStringLiteral(QW_SOURCE_DIR "/data/Languages/");

QVariantMap answer(const QString& type, double body, double serialized, double modified, double now)
{
    return {{"type", type},
            {"body", body},
            {"serialized", serialized},
            {"modified", modified},
            {"now", now}};
}

PageProperties sample()
{
    PageProperties properties;
    properties.title = QStringLiteral("Example & <b>Co</b>");
    properties.url = QStringLiteral("https://www.example.test/docs/page.html?x=1");
    properties.mimeType = QStringLiteral("text/html");
    properties.size = 12345;
    properties.modified = QDateTime(QDate(2015, 10, 21), QTime(7, 28), Qt::UTC);
    return properties;
}

// The properties dialog the parent holds, when there is exactly one.
TfrmProperties* openDialog(QWidget* parent)
{
    const QList<TfrmProperties*> dialogs = parent->findChildren<TfrmProperties*>();
    return dialogs.size() == 1 ? dialogs.first() : nullptr;
}
} // namespace

class tst_TfrmProperties : public QObject
{
    Q_OBJECT

private:
    TLanguage english;
    TLanguage german;
    std::unique_ptr<QWidget> owner;

private slots:
    void initTestCase()
    {
        QVERIFY(english.Load(Languages + "qweng.ini"));
        QVERIFY(german.Load(Languages + "qwdeu.ini"));
    }

    void init() { owner = std::make_unique<QWidget>(); }
    void cleanup() { owner.reset(); }

    void texts()
    {
        for (const auto& [url, expected] : std::initializer_list<std::pair<QString, QString>>{
                 {"HTTPS://A.TEST/", "HyperText Transfer Protocol with Privacy"},
                 {"quillwave:start?f=home", "Quillwave Page"},
                 {"www.example.test/page", "Unknown"}}) // no scheme
            QCOMPARE(TfrmProperties::ProtocolText(url, english), expected);
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        QCOMPARE(TfrmProperties::SizeText(-1, english, us), QStringLiteral("Unknown"));
        QCOMPARE(TfrmProperties::SizeText(12345, english, us), QStringLiteral("12,345 bytes"));
        QCOMPARE(
            TfrmProperties::SizeText(12345, german, QLocale(QLocale::German, QLocale::Germany)),
            QStringLiteral("12.345 Bytes"));
    }

    void readerTakesTheScriptAnswer()
    {
        const double now = 1700000000000.0;
        const double date = 1445412480000.0; // 21 Oct 2015 07:28 UTC
        const QVariantMap malformed{{"type", " image/png "},
                                    {"body", "lots"},
                                    {"serialized", qQNaN()},
                                    {"modified", qInf()}};
        // answer, type, size, modified (ms since the epoch; -1 invalid)
        const QList<std::tuple<QVariant, QString, qint64, qint64>> rows = {
            // clang-format off
            {QVariant(), "", -1, -1},
            {answer("text/html", 5120, -1, date, now), "text/html", 5120, qint64(date)},
            {answer("text/html", 0, 321, -1, now), "text/html", 321, -1}, // empty body: the text's length
            {answer("text/html", 10, -1, now - 300, now), "text/html", 10, -1}, // the date is the page's clock
            {answer("text/html", 10, -1, now - 5000, now), "text/html", 10, qint64(now - 5000)},
            {malformed, "image/png", -1, -1},
            // clang-format on
        };
        for (const auto& [result, type, size, modified] : rows)
        {
            const PageProperties properties =
                PagePropertiesReader::fromScriptResult("A page", "https://a.test/page", result);
            QCOMPARE(properties.mimeType, type);
            QCOMPARE(properties.size, size);
            QCOMPARE(properties.modified.isValid() ? properties.modified.toMSecsSinceEpoch() : -1,
                     modified);
        }
    }

    void readerTakesALocalFileFromTheDisk()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("page.html"));
        QFile file(path);
        const QDateTime stamp(QDate(2019, 3, 4), QTime(5, 6, 7), Qt::UTC);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(777, 'x')) == 777 &&
                file.flush() && file.setFileTime(stamp, QFileDevice::FileModificationTime));
        file.close();
        const QString url = QUrl::fromLocalFile(path).toString();

        // The page measures its text, not the file, and reads its own clock.
        const PageProperties answered = PagePropertiesReader::fromScriptResult(
            {}, url, answer("text/html", 0, 30, 1700000000000.0, 1700000000000.0));
        QCOMPARE(answered.size, qint64(777));
        QCOMPARE(answered.modified, stamp);
        QCOMPARE(answered.mimeType, QStringLiteral("text/html"));

        // Without an answer the file still tells its type.
        const PageProperties unanswered = PagePropertiesReader::fromScriptResult({}, url, {});
        QCOMPARE(unanswered.size, qint64(777));
        QCOMPARE(unanswered.mimeType, QStringLiteral("text/html"));

        const PageProperties missing = PagePropertiesReader::fromScriptResult(
            {}, QUrl::fromLocalFile(dir.filePath("gone.html")).toString(), {});
        QCOMPARE(missing.size, qint64(-1));
        QVERIFY(!missing.modified.isValid());
    }

    void dialogShowsTheControlsPage()
    {
        FakeBrowserControl control;
        control.pageProperties = sample();
        TfrmProperties::ShowForControl(&control, &english, owner.get(),
                                       [](TfrmProperties& dialog)
                                       { dialog.SetZoneText(QStringLiteral("Internet")); });
        QCOMPARE(control.propertyQueries, 1);
        TfrmProperties* dialog = openDialog(owner.get());
        QVERIFY(dialog && dialog->isVisible() && dialog->isModal());
        QCOMPARE(dialog->lblTitleValue->text(), sample().title);
        QCOMPARE(dialog->lblSizeValue->text(), TfrmProperties::SizeText(12345, english, QLocale()));
        QVERIFY(dialog->lblZoneValue->isVisibleTo(dialog));
        QCOMPARE(dialog->lblZoneValue->text(), QStringLiteral("Internet"));
        // Every caption was translated; every value can be copied, and what
        // the page chose is never read as markup.
        for (const QLabel* label : dialog->findChildren<QLabel*>())
        {
            QVERIFY2(!label->text().startsWith(QLatin1String("__")), qPrintable(label->text()));
            if (label->objectName().endsWith(QLatin1String("Value")))
                QVERIFY(label->textInteractionFlags() & Qt::TextSelectableByMouse);
        }
        QCOMPARE(dialog->lblTitleValue->textFormat(), Qt::PlainText);
        QTest::mouseClick(dialog->cmdOK, Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
    }

    void dialogWaitsForTheAnswer()
    {
        TfrmProperties::ShowForControl(nullptr, &english, owner.get());
        QVERIFY(!openDialog(owner.get()));
        FakeBrowserControl control;
        control.holdPropertyQueries = true;
        TfrmProperties::ShowForControl(&control, &english, owner.get());
        QVERIFY(!openDialog(owner.get()));
        control.pageProperties = sample();
        control.answerPropertyQueries();
        QPointer<TfrmProperties> dialog = openDialog(owner.get());
        QVERIFY(dialog && !dialog->lblZoneValue->isVisibleTo(dialog));
        QTest::keyClick(dialog.data(), Qt::Key_Escape);
        QTRY_VERIFY(dialog.isNull()); // freed when it closes

        // An answer after the window went shows nothing.
        TfrmProperties::ShowForControl(&control, &english, owner.get());
        owner.reset();
        control.answerPropertyQueries();
        const QWidgetList windows = QApplication::topLevelWidgets();
        QVERIFY(std::none_of(windows.cbegin(), windows.cend(),
                             [](QWidget* widget)
                             { return qobject_cast<TfrmProperties*>(widget) != nullptr; }));
    }
};

QTEST_MAIN(tst_TfrmProperties)
#include "tst_TfrmProperties.moc"
