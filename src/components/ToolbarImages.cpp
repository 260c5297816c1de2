#include "components/ToolbarImages.h"

#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

namespace
{
// Made at the size asked for, so the grey pictures follow whatever sizes and
// screen scales the colour icon has.
class GreyIconEngine : public QIconEngine
{
public:
    explicit GreyIconEngine(const QIcon& colour) : m_colour(colour) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override
    {
        // A bar repaints its buttons often; each look is made once per size.
        const QString key = QStringLiteral("%1x%2@%3/%4/%5")
                                .arg(size.width())
                                .arg(size.height())
                                .arg(scale)
                                .arg(int(mode))
                                .arg(int(state));
        if (const auto made = m_made.constFind(key); made != m_made.constEnd())
            return *made;
        QPixmap picture = m_colour.pixmap(size, scale, QIcon::Normal, state);
        if (mode != QIcon::Active)
        {
            // A disabled button must read as such at a glance: a dark picture
            // (a stop sign) only greyed would look as live as a light one.
            QPixmap grey = QPixmap::fromImage(
                ToolbarImages::Desaturated(picture.toImage(), mode == QIcon::Disabled ? 0.4 : 1.0));
            grey.setDevicePixelRatio(picture.devicePixelRatio());
            picture = grey;
        }
        m_made.insert(key, picture);
        return picture;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal scale = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, scaledPixmap(rect.size(), mode, state, scale));
    }

    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return m_colour.actualSize(size, mode, state);
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return m_colour.availableSizes(mode, state);
    }

    bool isNull() override { return m_colour.isNull(); }
    QString key() const override { return QStringLiteral("ToolbarGrey"); }
    QIconEngine* clone() const override { return new GreyIconEngine(m_colour); }

private:
    QIcon m_colour;
    QHash<QString, QPixmap> m_made;
};
} // namespace

QIcon ToolbarImages::ForBar(const QIcon& colour, bool showColor)
{
    return showColor ? colour : Grey(colour);
}

QIcon ToolbarImages::Grey(const QIcon& colour)
{
    if (colour.isNull())
        return colour;
    return QIcon(new GreyIconEngine(colour));
}

QImage ToolbarImages::Desaturated(const QImage& image, qreal opacity)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y)
    {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
        {
            const int grey = qGray(line[x]);
            line[x] = qRgba(grey, grey, grey, qRound(qAlpha(line[x]) * opacity));
        }
    }
    return result;
}
