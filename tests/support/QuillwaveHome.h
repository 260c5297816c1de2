#pragma once

#include "QuillwaveProcess.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <vector>

// A private installation of the program for end-to-end tests, in the manner
// of a quteproc fixture: its own program folder (QUILLWAVE_HOME, which holds
// the settings store), runtime folder (mode 0700, where the single-instance
// channel lives), configuration, data and cache folders. Copies started from
// it see only these folders, and the settings are read and written through
// the real quillwave-reg tool. Every copy started from it is killed when it
// goes away, so a test that fails half-way leaves nothing running.
class QuillwaveHome
{
public:
    enum class Display
    {
        Offscreen, // QT_QPA_PLATFORM=offscreen
        X11        // the platform plugin Qt picks for $DISPLAY
    };

    QuillwaveHome();
    ~QuillwaveHome();
    QuillwaveHome(const QuillwaveHome&) = delete;
    QuillwaveHome& operator=(const QuillwaveHome&) = delete;

    bool isValid() const { return m_valid; }

    QString homePath() const;
    QString runtimePath() const;
    QString configPath() const;
    QString dataPath() const;
    QString databasePath() const;
    // Where the copies of this home meet: the channel folder, its socket and lock.
    QString channelFolder() const { return m_channelFolder; }
    QString socketPath() const;

    QProcessEnvironment environment(Display display = Display::Offscreen) const;
    // The X display copies started with Display::X11 use (default: $DISPLAY).
    void setXDisplay(const QString& display) { m_xDisplay = display; }

    // Starts `quillwave` with arguments; null when it could not be started.
    // The home owns the copy.
    QuillwaveProcess* launch(const QStringList& arguments = {},
                             Display display = Display::Offscreen);
    // The same, started in workingFolder as a shell in that folder starts it.
    QuillwaveProcess* launchIn(const QString& workingFolder, const QStringList& arguments);

    // Runs `quillwave-reg` with arguments and returns its exit code (-1 when
    // it did not run to its end); its standard output goes to output.
    int reg(const QStringList& arguments, QString* output = nullptr) const;
    // The program's own values (the CurrentVersion key).
    bool setValue(const QString& name, const QString& text) const;
    std::optional<QString> value(const QString& name) const;
    // `quillwave-reg export [key]`; empty when the tool failed.
    QString exportText(const QString& key = QString()) const;
    // Whether the running program's user-agent token is in the store: the
    // main window writes it when it is created and removes it when destroyed.
    bool hasUserAgentToken() const;
    bool removeUserAgentToken() const;

    // Whether some copy listens on the channel: the socket accepts a
    // connection (a socket file left by a killed copy does not).
    bool isListening() const;
    // Waits until copy listens on the channel and its main window exists.
    // False when copy ends first or timeoutMs passes.
    bool waitUntilUp(QuillwaveProcess* copy, int timeoutMs = 20000) const;

    static QString programPath();
    static QString regToolPath();
    static QString valueKey();
    static QString userAgentKey();

private:
    QTemporaryDir m_root;
    bool m_valid = false;
    QString m_channelFolder;
    QString m_xDisplay;
    // Declared last: the copies end before the folders go.
    std::vector<std::unique_ptr<QuillwaveProcess>> m_copies;
};
