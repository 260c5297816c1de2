#pragma once

#include <QObject>

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
    // One key press reaches the filter once per widget in its path; it is
    // acted on once.
    const QEvent* m_lastEvent = nullptr;
};
