// The run log: a file per hour, lines on disk at once and never markup,
// names that sort by time, pruning, and lines from several threads.
#include "ManualClock.h"
#include "app/LogFormat.h"
#include "app/LogHandler.h"
#include "app/RunLog.h"
#include "support/TestSupport.h"

#include <QRegularExpression>
#include <QThread>
#include <QtTest>

using testsupport::readAll;

namespace {

QDateTime at(const char *text)
{
    return QDateTime::fromString(QString::fromLatin1(text), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

// The log lines of a file, which must start with exactly one header.
QList<QByteArray> linesOf(const QByteArray &file)
{
    const QByteArray header = (logformat::header() + QStringLiteral("\r\n")).toUtf8();
    if (!file.startsWith(header) || file.count(header) != 1)
        return {"no single header"};
    QList<QByteArray> lines = file.mid(header.size()).split('\n');
    lines.removeLast(); // after the last "\r\n"
    return lines;
}

} // namespace

class TestRunLog : public QObject
{
    Q_OBJECT
    QTemporaryDir m_home;
    QtMessageHandler m_testHandler = nullptr;

private slots:
    void initTestCase()
    {
        qputenv("XDG_DATA_HOME", m_home.filePath(QStringLiteral("data")).toUtf8());
        m_testHandler = qInstallMessageHandler(nullptr);
        qInstallMessageHandler(m_testHandler);
    }
    void cleanup() { qInstallMessageHandler(m_testHandler); }

    // A new hour starts a new file; a restart within the hour appends to its
    // file, and each line is on disk as soon as write() returns. Device texts,
    // server file names and release notes reach the log, and the file is
    // opened in a browser: none of it may become markup.
    void runLogFilesFollowTheHour()
    {
        for (const bool keepOpen : {true, false}) { // kept open, or opened per message
            QTemporaryDir dir;
            const QString first = dir.filePath(QStringLiteral("2026-12-04_13_log.html"));
            auto clock = std::make_shared<ManualClock>(at("2026-12-04 13:59:58"));
            {
                RunLog log(dir.path(), keepOpen, clock);
                for (int i = 0; i < 3; ++i) {
                    log.write(QtDebugMsg, QStringLiteral("line %1").arg(i));
                    QCOMPARE(linesOf(readAll(first)).size(), i + 1);
                }
            }
            RunLog restarted(dir.path(), keepOpen, clock);
            restarted.write(QtDebugMsg, QStringLiteral("after restart"));
            clock->set(at("2026-12-04 14:00:00"));
            const QString markup = QStringLiteral("<b>bold</b> & <script>alert(\"x\")</script> 中文");
            QCOMPARE(restarted.write(QtInfoMsg, markup), QStringLiteral("2026-12-04 14:00:00 ") + markup);
            QCOMPARE(linesOf(readAll(first)).size(), 4);
            QCOMPARE(linesOf(readAll(dir.filePath(QStringLiteral("2026-12-04_14_log.html")))),
                QList<QByteArray>{"<div class=\"i\">2026-12-04 14:00:00 &lt;b&gt;bold&lt;/b&gt; &amp; "
                                  "&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt; 中文</div>\r"});
            // Where nothing can be written the lines are lost quietly.
            RunLog homeless(dir.filePath("missing/deeper"), keepOpen, clock);
            QCOMPARE(homeless.write(QtWarningMsg, "lost"), QStringLiteral("2026-12-04 14:00:00 lost"));
            QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                QStringList({"2026-12-04_13_log.html", "2026-12-04_14_log.html"}));
        }
    }

    // Installed as Qt's handler: the folder lies in the application's local
    // data and is pruned to the newest files by name; two threads logging at
    // once leave every line whole and in order.
    void runLogHandlerPrunesAndTakesMessagesFromThreads()
    {
        const QString folder
            = m_home.filePath(QStringLiteral("data/%1/ThreadLog").arg(QCoreApplication::applicationName()));
        QDir().mkpath(folder);
        for (int i : {3, 0, 4, 1, 2})
            testsupport::writeAll(folder + QStringLiteral("/2026-01-0%1_00_log.html").arg(i + 1), "old");
        installLogHandler(
            QStringLiteral("ThreadLog"), 3, true, std::make_shared<ManualClock>(at("2026-12-04 13:05:09")));
        QCOMPARE(logFolderPath(), folder);
        QCOMPARE(QDir(folder).entryList(QDir::Files),
            QStringList({"2026-01-03_00_log.html", "2026-01-04_00_log.html", "2026-01-05_00_log.html"}));
        constexpr int kLines = 300;
        auto writer = [](const char *who) {
            return QThread::create([who] {
                for (int i = 0; i < kLines; ++i)
                    qWarning("%s %d <%d>", who, i, i);
            });
        };
        std::unique_ptr<QThread> a(writer("alpha")), b(writer("beta"));
        a->start();
        b->start();
        QVERIFY(a->wait(60000) && b->wait(60000));
        qInstallMessageHandler(m_testHandler);
        const QList<QByteArray> lines = linesOf(readAll(folder + QStringLiteral("/2026-12-04_13_log.html")));
        QCOMPARE(lines.size(), 2 * kLines);
        const QRegularExpression shape(
            QStringLiteral("^<div class=\"w\">2026-12-04 13:05:09 (alpha|beta) (\\d+) &lt;(\\d+)&gt;</div>\r$"));
        int next[2] = {0, 0};
        for (const QByteArray &line : lines) {
            const auto m = shape.match(QString::fromUtf8(line));
            QVERIFY2(m.hasMatch() && m.captured(2) == m.captured(3), line.constData());
            QCOMPARE(m.captured(2).toInt(), next[m.captured(1) == QLatin1String("beta")]++);
        }
    }

    // The pruning deletes by name order: the names sort as the times they stand for.
    void runLogFileNamesSortByTime()
    {
        const auto name = [](const char *time) { return logformat::fileName("log", at(time)); };
        // 9 and 10 o'clock, the 9th and the 10th, September and October.
        for (const auto &pair : {std::make_pair("2026-12-04 09:59:59", "2026-12-04 10:00:00"),
                 std::make_pair("2026-12-09 23:00:00", "2026-12-10 00:00:00"),
                 std::make_pair("2026-09-30 23:00:00", "2026-10-01 00:00:00")})
            QVERIFY2(name(pair.first) < name(pair.second), qPrintable(name(pair.first) + " " + name(pair.second)));
    }
};

QTEST_GUILESS_MAIN(TestRunLog)
#include "tst_run_log.moc"
