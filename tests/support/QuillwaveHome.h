#pragma once

#include "QuillwaveProcess.h"

#include <QList>
#include <QPair>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <vector>

// A private installation of the program for end-to-end tests, in the manner
// of a quteproc fixture: its own program folder (QUILLWAVE_HOME, which holds
// the settings store), runtime folder (mode 0700, where the single-instance
// channel lives), configuration, data and cache folders. Copies started from
// it see only these folders; the settings are read and written through the
// real quillwave-reg tool. Every copy started from it is ended when it goes
// away, so a test that fails half-way leaves nothing running.
//
// Helpers that wait or start say why they failed as a warning, so that a
// bare QVERIFY around them still reports the cause.
class QuillwaveHome
{
public:
    static constexpr int PatienceMs = QuillwaveProcess::PatienceMs;

    QuillwaveHome();
    ~QuillwaveHome();
    QuillwaveHome(const QuillwaveHome&) = delete;
    QuillwaveHome& operator=(const QuillwaveHome&) = delete;

    bool isValid() const { return m_valid; }
    QString homePath() const { return m_root.filePath(QStringLiteral("home")); }
    QString configPath() const { return m_root.filePath(QStringLiteral("config")); }
    // Where the copies of this home meet: the channel's socket and lock.
    QString channelFolder() const { return m_channelFolder; }

    // Stores values so that no question holds a copy up (default browser,
    // shut-down, pop-up notice, version check) and the open tabs are
    // remembered, then the values given; false when the store refused one.
    bool seedQuietStore(const QList<QPair<QString, QString>>& values = {}) const;

    // Copies started from now on show their windows on display (empty: none,
    // the offscreen platform).
    void setXDisplay(const QString& display) { m_xDisplay = display; }
    // From the next start on, every host name the engine looks up goes to
    // 127.0.0.1:port, so that "http://www.word.com/" reaches a test server
    // on that port, which sees the Host "www.word.com".
    void mapHostsTo(quint16 port) { m_hostPort = port; }
    QProcessEnvironment environment() const;

    // Starts program (default: `quillwave`) with arguments in workingFolder
    // (default: this process's); null when it could not be started. The
    // home owns the copy.
    QuillwaveProcess* launch(const QStringList& arguments = {}, const QString& workingFolder = {},
                             const QString& program = programPath());
    // launch(), then waitUntilUp(); null when it did not come up.
    QuillwaveProcess* launchUp(const QStringList& arguments = {}, const QString& workingFolder = {})
    {
        QuillwaveProcess* copy = launch(arguments, workingFolder);
        return copy && waitUntilUp(copy) ? copy : nullptr;
    }
    // A second copy hands arguments over to the running one and ends with 0.
    bool forward(const QStringList& arguments, const QString& workingFolder = {})
    {
        QuillwaveProcess* copy = launch(arguments, workingFolder);
        return copy && copy->endedCleanly();
    }

    // Runs `quillwave-reg` with arguments: its exit code (-1 when it did
    // not run to its end); its standard output goes to output.
    int reg(const QStringList& arguments, QString* output = nullptr) const;
    // `quillwave-reg export [key]`; empty when the tool failed.
    QString exportText(const QString& key = QString()) const;
    // The remembered tabs and the typed addresses as the store holds them
    // now, in the order of their value numbers.
    QStringList lastOpenSites() const;
    QStringList typedUrls() const;
    // The running program's user-agent token: the main window writes it
    // when it is created and removes it when it is destroyed.
    bool hasUserAgentToken() const;
    bool removeUserAgentToken() const;

    // Whether some copy listens on the channel: the socket accepts a
    // connection (a socket file left by a killed copy does not).
    bool isListening() const;
    // Waits until copy listens on the channel and its main window exists;
    // false when it ends first or the patience runs out.
    bool waitUntilUp(QuillwaveProcess* copy) const;

    static QString programPath() { return QStringLiteral(QW_BIN_DIR "/quillwave"); }

private:
    QStringList numberedValues(const QString& key) const;

    QTemporaryDir m_root;
    bool m_valid = false;
    QString m_channelFolder;
    QString m_xDisplay;
    quint16 m_hostPort = 0;
    // Declared last: the copies end before the folders go.
    std::vector<std::unique_ptr<QuillwaveProcess>> m_copies;
};
