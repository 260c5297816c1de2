#include "DrivenCopy.h"

#include "QuillwaveHome.h"
#include "QuillwaveProcess.h"
#include "XSession.h"

#include "core/engine/THistoryIndexReader.h"
#include "core/store/RegistryKeys.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <map>

namespace
{
const QString MainWindowTitle = QStringLiteral("Quillwave");

bool isWhite(QRgb pixel)
{
    return qRed(pixel) >= 0xF8 && qGreen(pixel) >= 0xF8 && qBlue(pixel) >= 0xF8;
}

// The address box's edit field in a picture of the main window: the first
// white band, at least a line of text high, across the middle of the window
// near its top. Above it lie only the grey menu and tool bars; the page
// below it is separated from it by the box's frame.
std::optional<QPoint> addressBoxIn(const QImage& window)
{
    if (window.isNull() || window.width() < 100)
        return std::nullopt;
    const QList<int> columns{window.width() * 55 / 100, window.width() * 65 / 100,
                             window.width() * 75 / 100};
    const int bottom = qMin(window.height(), 240);
    constexpr int MinimumHeight = 10;
    int runStart = -1;
    for (int y = 0; y < bottom; ++y)
    {
        const bool white = std::all_of(columns.cbegin(), columns.cend(),
                                       [&](int x) { return isWhite(window.pixel(x, y)); });
        if (white && runStart < 0)
            runStart = y;
        if (!white && runStart >= 0)
        {
            if (y - runStart >= MinimumHeight)
                return QPoint(columns.at(1), (runStart + y) / 2);
            runStart = -1;
        }
    }
    return std::nullopt;
}
} // namespace

DrivenCopy::DrivenCopy(XSession& session, QuillwaveHome& home) : m_x(session), m_home(home) {}

DrivenCopy::~DrivenCopy()
{
    if (QTest::currentTestFailed() && isRunning())
    {
        if (m_x.screenshot(screenshotPath()))
            qInfo("The screen when the test failed: %s", qPrintable(screenshotPath()));
        else
            qInfo("No picture of the screen could be taken.");
    }
}

void DrivenCopy::mapHostsTo(quint16 port)
{
    m_hostPort = port;
}

bool DrivenCopy::isRunning() const
{
    return m_process && m_process->isRunning();
}

bool DrivenCopy::start(const QStringList& arguments)
{
    m_window.clear();
    m_addressBox.reset();
    m_problem.clear();
    QProcessEnvironment env = m_home.environment(QuillwaveHome::Display::X11);
    env.insert(QStringLiteral("DISPLAY"), m_x.display());
    if (m_hostPort != 0)
    {
        // The engine reads its switches from here; a value with blanks is
        // one switch when it stands in double quotes.
        const QString rules =
            QStringLiteral("--host-resolver-rules=\"MAP * 127.0.0.1:%1, EXCLUDE localhost\"")
                .arg(m_hostPort);
        const QString before = env.value(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS"));
        env.insert(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS"),
                   before.isEmpty() ? rules : before + QLatin1Char(' ') + rules);
    }
    m_process = std::make_unique<QuillwaveProcess>(QuillwaveHome::programPath(), arguments, env);
    if (!m_process->start())
    {
        m_problem = QStringLiteral("the program could not be started");
        return false;
    }
    if (!m_home.waitUntilUp(m_process.get(), PatienceMs))
    {
        m_problem = QStringLiteral("the program did not come up");
        return false;
    }
    m_window = m_x.waitForSettledWindow(m_process->pid(), MainWindowTitle, PatienceMs);
    if (m_window.isEmpty())
    {
        m_problem = QStringLiteral("no main window was shown");
        return false;
    }
    return m_x.parkPointer() && focusWindow();
}

bool DrivenCopy::focusWindow()
{
    if (m_x.focusWindow(m_window, PatienceMs))
        return true;
    m_problem = QStringLiteral("the main window %1 did not get the focus (it is at %2)")
                    .arg(m_window, m_x.focusedWindow());
    return false;
}

std::optional<QPoint> DrivenCopy::findAddressBox()
{
    if (m_addressBox)
        return m_addressBox;
    // The window may not have painted its bands yet.
    const QDeadlineTimer deadline(PatienceMs);
    while (!deadline.hasExpired())
    {
        m_addressBox = addressBoxIn(m_x.grabWindow(m_window));
        if (m_addressBox)
            return m_addressBox;
        QTest::qWait(200);
    }
    m_problem = QStringLiteral("no address box was found in the window");
    return std::nullopt;
}

bool DrivenCopy::focusAddressBox()
{
    const std::optional<QPoint> box = findAddressBox();
    if (!box)
        return false;
    // Home with Shift selects the whole line without a shortcut that the
    // program might take for the page (Ctrl+A).
    if (!m_x.click(m_window, *box) ||
        !m_x.key({QStringLiteral("End"), QStringLiteral("shift+Home")}))
    {
        m_problem = QStringLiteral("xdotool failed to click into the address box");
        return false;
    }
    return true;
}

bool DrivenCopy::submitAddress(const QString& text, const QString& stroke)
{
    return focusAddressBox() && m_x.type(text) && m_x.key(stroke);
}

bool DrivenCopy::type(const QString& text) const
{
    return m_x.type(text);
}

bool DrivenCopy::key(const QString& stroke) const
{
    return m_x.key(stroke);
}

bool DrivenCopy::key(const QStringList& strokes) const
{
    return m_x.key(strokes);
}

bool DrivenCopy::keyDown(const QString& name) const
{
    return m_x.keyDown(name);
}

bool DrivenCopy::keyUp(const QString& name) const
{
    return m_x.keyUp(name);
}

bool DrivenCopy::strokeHolding(const QStringList& modifiers, const QString& stroke,
                               const std::function<bool()>& done) const
{
    QStringList held;
    bool sent = true;
    for (const QString& modifier : modifiers)
    {
        if (!m_x.keyDown(modifier))
        {
            sent = false;
            break;
        }
        held.prepend(modifier);
    }
    sent = sent && m_x.key(stroke);
    const bool result = sent && QTest::qWaitFor(done, PatienceMs);
    for (const QString& modifier : std::as_const(held))
        m_x.keyUp(modifier);
    return result;
}

QStringList DrivenCopy::popups() const
{
    if (!isRunning())
        return {};
    QStringList windows = m_x.visibleWindows(m_process->pid());
    windows.removeAll(m_window);
    return windows;
}

bool DrivenCopy::forward(const QString& address)
{
    QuillwaveProcess* second = m_home.launch({address});
    if (!second)
    {
        m_problem = QStringLiteral("the forwarding copy could not be started");
        return false;
    }
    if (!second->waitForExit(PatienceMs) || !second->exitedNormally() || second->exitCode() != 0)
    {
        m_problem = QStringLiteral("forwarding copy: ") + second->describe();
        return false;
    }
    return true;
}

bool DrivenCopy::endCleanly()
{
    if (!m_process)
        return false;
    m_process->terminate();
    if (!m_process->waitForExit(PatienceMs) || !m_process->exitedNormally() ||
        m_process->exitCode() != 0)
    {
        m_problem = QStringLiteral("the program did not end cleanly");
        return false;
    }
    return true;
}

bool DrivenCopy::waitForCompletedVisit(const QString& url, const QDateTime& since)
{
    // Visit times may be kept to the second.
    const qint64 earliest = since.toMSecsSinceEpoch() / 1000 * 1000;
    const QString root = m_home.homePath() + QStringLiteral("/History");
    const auto visited = [&]
    {
        const QList<THistoryIndexReader::Entry> entries = THistoryIndexReader::allEntries(root);
        return std::any_of(entries.cbegin(), entries.cend(),
                           [&](const THistoryIndexReader::Entry& entry)
                           { return entry.url == url && entry.visitedMs >= earliest; });
    };
    if (QTest::qWaitFor([&] { return visited() || !isRunning(); }, PatienceMs) && visited())
        return true;
    m_problem = QStringLiteral("%1 never completed").arg(url);
    return false;
}

QStringList DrivenCopy::numberedValues(const QString& key) const
{
    static const QRegularExpression line(QStringLiteral("^\"url(\\d+)\"=\"(.*)\"$"),
                                         QRegularExpression::MultilineOption);
    std::map<int, QString> byNumber;
    auto matches = line.globalMatch(m_home.exportText(key));
    while (matches.hasNext())
    {
        const QRegularExpressionMatch match = matches.next();
        byNumber[match.captured(1).toInt()] = match.captured(2);
    }
    QStringList values;
    for (const auto& entry : byNumber)
        values << entry.second;
    return values;
}

QStringList DrivenCopy::lastOpenSites() const
{
    return numberedValues(RegistryKeys::ValueKey + QLatin1Char('\\') + RegistryKeys::LastOpenSites);
}

QStringList DrivenCopy::typedUrls() const
{
    return numberedValues(RegistryKeys::TypedUrls);
}

QString DrivenCopy::screenshotPath() const
{
    // Beside the home's temporary folder, which goes when the test ends.
    QString name = QString::fromLatin1(QTest::currentTestFunction());
    if (const char* tag = QTest::currentDataTag())
        name += QLatin1Char('-') + QString::fromLatin1(tag);
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9_-]+"));
    name.replace(unsafe, QStringLiteral("_"));
    return QFileInfo(m_home.homePath()).absolutePath() + QLatin1Char('-') + name +
           QStringLiteral(".png");
}

QString DrivenCopy::describe()
{
    QString text = m_problem.isEmpty() ? QString() : m_problem + QStringLiteral("; ");
    text += m_process ? m_process->describe() : QStringLiteral("not started");
    if (isRunning())
        text += QStringLiteral("; the screen: ") + screenshotPath();
    return text;
}
