#pragma once

#include <QTimer>
#include <QWidget>

class QSvgRenderer;

// The busy animation beside the bands: the program's logo, with a sweeping
// arc drawn round it while active. Clicking it is reported, not handled.
class TQWAnimate : public QWidget
{
    Q_OBJECT
public:
    explicit TQWAnimate(QWidget* parent = nullptr);

    bool active() const { return m_timer.isActive(); }
    void setActive(bool active);
    int frame() const { return m_frame; }

    QSize sizeHint() const override { return {32, 32}; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QSvgRenderer* m_logo;
    QTimer m_timer;
    int m_frame = 0;
};
