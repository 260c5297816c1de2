#include "TestStore.h"
#include "chrome/CoolBarBands.h"
#include "components/TCoolBar.h"

#include <QTest>

namespace
{
// The window's four bands behind a band that holds some other control and
// so is not stored.
void AddBands(TCoolBar& bar)
{
    bar.AddBand(new QWidget, QString(), {30, 23, 100, false, {}});
    bar.AddBand(new QWidget, QStringLiteral("Menu"), {45, 23, 626, false, {}});
    bar.AddBand(new QWidget, QStringLiteral("Tool"), {40, 27, 626, true, {}});
    bar.AddBand(new QWidget, QStringLiteral("Address"), {58, 23, 551, true, {}});
    bar.AddBand(new QWidget, QStringLiteral("Links"), {17, 23, 73, false, QStringLiteral("Links")});
}
} // namespace

class tst_CoolBarBands : public QObject
{
    Q_OBJECT
private slots:
    void aSavedLayoutComesBackOnAFreshBar()
    {
        TestStore test;
        TCoolBar used;
        AddBands(used);
        used.MoveBand(4, 2); // Links before Tool, Address beside Tool
        used.SetBandBreak(2, true);
        used.SetBandWidth(2, 200);
        used.SetBandBreak(4, false);
        QVERIFY(CoolBarBands::Save(used, *test.store));

        TCoolBar fresh;
        AddBands(fresh);
        CoolBarBands::Load(fresh, *test.store);
        QCOMPARE(CoolBarBands::Bands(fresh), CoolBarBands::Bands(used));
        QCOMPARE(fresh.BandName(3), QStringLiteral("Tool"));
    }
};

QTEST_MAIN(tst_CoolBarBands)
#include "tst_CoolBarBands.moc"
