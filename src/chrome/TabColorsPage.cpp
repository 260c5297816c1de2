#include "chrome/TabColorsPage.h"

#include "components/TQWPageControl.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace
{
const QColor DesignTabColor(0xAA, 0xAA, 0xAA);

QRadioButton* makeRadio(QWidget* parent, const char* name, const char* placeholder)
{
    auto* radio = new QRadioButton(QLatin1String(placeholder), parent);
    radio->setObjectName(QLatin1String(name));
    return radio;
}

QColor chooseColor(QWidget* parent, const QColor& current)
{
    const QColor chosen = QColorDialog::getColor(current, parent);
    return chosen.isValid() ? chosen : current;
}
} // namespace

TabColorsPage::TabColorsPage(const QString& activeText, const QString& inactiveText,
                             QWidget* parent)
    : QWidget(parent), m_activeText(activeText), m_inactiveText(inactiveText)
{
    CreateControls();
    Load(QStringLiteral("rev"), QColor(), QColor());
}

void TabColorsPage::CreateControls()
{
    radColorStandard = makeRadio(this, "radColorStandard", "__StandardColors");
    radColorReverse = makeRadio(this, "radColorReverse", "__ReverseColors");
    radColorCustom = makeRadio(this, "radColorCustom", "__CustomColors");
    auto* schemes = new QButtonGroup(this);
    for (QRadioButton* radio : {radColorStandard, radColorReverse, radColorCustom})
    {
        schemes->addButton(radio);
        connect(radio, &QRadioButton::clicked, this, &TabColorsPage::radColorClick);
    }

    pnlCustomColors = new QWidget(this);
    pnlCustomColors->setObjectName(QStringLiteral("pnlCustomColors"));
    auto* custom = new QGridLayout(pnlCustomColors);
    const auto addColorRow = [&](int row, const char* label, const char* panelName,
                                 const char* buttonName, QFrame*& panel, QPushButton*& button)
    {
        panel = new QFrame(pnlCustomColors);
        panel->setObjectName(QLatin1String(panelName));
        panel->setFrameShape(QFrame::Box);
        panel->setFixedSize(48, 20);
        panel->setAutoFillBackground(true);
        button = new QPushButton(QStringLiteral("__Browse"), pnlCustomColors);
        button->setObjectName(QLatin1String(buttonName));
        custom->addWidget(new QLabel(QLatin1String(label), pnlCustomColors), row, 0);
        custom->addWidget(panel, row, 1);
        custom->addWidget(button, row, 2);
    };
    addColorRow(0, "__TabColor", "pnlTabColor", "btnGetTabColor", pnlTabColor, btnGetTabColor);
    addColorRow(1, "__FontColor", "pnlFontColor", "btnGetFontColor", pnlFontColor, btnGetFontColor);
    custom->setColumnStretch(3, 1);
    connect(btnGetTabColor, &QPushButton::clicked, this, &TabColorsPage::btnGetTabColorClick);
    connect(btnGetFontColor, &QPushButton::clicked, this, &TabColorsPage::btnGetFontColorClick);

    pg = new TQWPageControl(this);
    pg->setObjectName(QStringLiteral("pg"));
    ts1 = new QWidget;
    ts1->setObjectName(QStringLiteral("ts1"));
    ts2 = new QWidget;
    ts2->setObjectName(QStringLiteral("ts2"));
    pg->addPage(ts1);
    pg->addPage(ts2);
    pg->setActivePage(ts1);
    pgChange(ts1);
    pg->setMinimumHeight(60);
    connect(pg, &TQWPageControl::pageChanged, this, &TabColorsPage::pgChange);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(radColorStandard);
    layout->addWidget(radColorReverse);
    layout->addWidget(radColorCustom);
    layout->addWidget(pnlCustomColors);
    layout->addWidget(pg);
    layout->addStretch(1);
}

void TabColorsPage::Load(const QString& scheme, const QColor& tabColor, const QColor& fontColor)
{
    const bool custom = scheme == QLatin1String("custom");
    m_tabColor = custom && tabColor.isValid() ? tabColor : DesignTabColor;
    m_fontColor = custom && fontColor.isValid() ? fontColor : palette().color(QPalette::WindowText);
    if (custom)
        radColorCustom->setChecked(true);
    else if (scheme == QLatin1String("std"))
        radColorStandard->setChecked(true);
    else
        radColorReverse->setChecked(true);
    ShowColors();
}

QString TabColorsPage::Scheme() const
{
    if (radColorStandard->isChecked())
        return QStringLiteral("std");
    if (radColorCustom->isChecked())
        return QStringLiteral("custom");
    return QStringLiteral("rev");
}

void TabColorsPage::radColorClick()
{
    ShowColors();
}

void TabColorsPage::btnGetTabColorClick()
{
    m_tabColor = chooseColor(this, m_tabColor);
    ShowColors();
}

void TabColorsPage::btnGetFontColorClick()
{
    m_fontColor = chooseColor(this, m_fontColor);
    ShowColors();
}

void TabColorsPage::pgChange(QWidget* page)
{
    pg->setPageCaption(ts1, page == ts1 ? m_activeText : m_inactiveText);
    pg->setPageCaption(ts2, page == ts2 ? m_activeText : m_inactiveText);
}

void TabColorsPage::ShowColors()
{
    SetPanelColor(pnlTabColor, m_tabColor);
    SetPanelColor(pnlFontColor, m_fontColor);
    const bool custom = radColorCustom->isChecked();
    pnlCustomColors->setVisible(custom);
    if (custom)
    {
        pg->SetInactiveTabColor(m_tabColor);
        pg->SetInactiveFontColor(m_fontColor);
    }
    else
        pg->ApplyColorScheme(Scheme(), 0, 0);
}

void TabColorsPage::SetPanelColor(QFrame* panel, const QColor& color)
{
    QPalette colors = panel->palette();
    colors.setColor(QPalette::Window, color);
    panel->setPalette(colors);
}
