#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>

// The keyboard's and mouse's application-command keys (back, forward,
// refresh, search, favorites, home), seen application-wide so that they
// work while a page has the focus. The event still goes on to its target.
class TAppCommandFilter : public QObject
{
    Q_OBJECT
public:
    enum AppCommand
    {
        None,
        Back,
        Forward,
        Refresh,
        Search,
        Favorites,
        Home
    };
    Q_ENUM(AppCommand)

    explicit TAppCommandFilter(QObject* parent = nullptr);

    // Only a key pressed without modifiers is a command.
    static AppCommand commandForKey(int key, Qt::KeyboardModifiers modifiers);
    static AppCommand commandForMouseButton(Qt::MouseButton button);

signals:
    void command(TAppCommandFilter::AppCommand command);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One press reaches the filter once for its window and once per widget
    // it travels up through; it is acted on at the first of them only.
    // Qt reuses event objects (a key event keeps its address from one press
    // to the next) and makes new ones on the way up (a mouse event is copied
    // for each parent), so neither the address nor a new address tells a
    // new press: a press continues the last one when it has the same kind
    // and time stamp and reaches the last receiver's window or parent.
    bool continuesLastDelivery(const QObject* watched, const QEvent* event) const;

    struct Delivery
    {
        const QEvent* event = nullptr;
        QEvent::Type type = QEvent::None;
        quint64 timestamp = 0;
        int keyOrButton = 0;
        QPointer<QObject> receiver;
    };
    Delivery m_last;
};
