#include "components/TQWStatusBar.h"

#include <QIcon>
#include <QLabel>

TQWStatusBar::TQWStatusBar(QWidget* parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("sbStatus"));
    for (int i = 0; i < PanelCount; ++i)
    {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("sbPanel%1").arg(i));
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        if (i == 0)
        {
            label->setMinimumWidth(1);
            label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            addWidget(label, 1);
        }
        else
        {
            label->setFixedWidth(PanelWidths[i]);
            label->setAlignment(Qt::AlignCenter);
            addPermanentWidget(label);
        }
        m_panels.append(label);
    }
}

QString TQWStatusBar::panelText(int index) const
{
    const QLabel* label = m_panels.value(index);
    return label ? label->text() : QString();
}

void TQWStatusBar::setPanelText(int index, const QString& text)
{
    if (index == 0)
        m_message = text;
    if (QLabel* label = m_panels.value(index))
        label->setText(text);
}

void TQWStatusBar::setPanelIcon(int index, const QIcon& icon)
{
    if (QLabel* label = m_panels.value(index))
        label->setPixmap(icon.isNull() ? QPixmap() : icon.pixmap(16, 16));
}

QString TQWStatusBar::statusTextForHint(const QString& hint)
{
    const int bar = hint.indexOf(QLatin1Char('|'));
    QString text = bar >= 0 ? hint.mid(bar + 1) : hint;
    const int lineBreak = text.indexOf(QLatin1Char('\n'));
    if (lineBreak >= 0)
        text = text.mid(lineBreak + 1);
    return text;
}

void TQWStatusBar::showHint(const QString& hint)
{
    m_panels[0]->setText(hint.isEmpty() ? m_message : hint);
}
