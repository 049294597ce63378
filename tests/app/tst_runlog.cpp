#include "ManualClock.h"
#include "app/LogFormat.h"
#include "app/LogHandler.h"
#include "app/RunLog.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <memory>

using testsupport::readAll;

namespace {

QDateTime at(const char *text)
{
    return QDateTime::fromString(QString::fromLatin1(text), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

QByteArray headerBytes()
{
    return (logformat::header() + QStringLiteral("\r\n")).toUtf8();
}

// The log lines of a file: what follows the header.
QList<QByteArray> linesOf(const QByteArray &file)
{
    QByteArray body = file;
    if (body.startsWith(headerBytes()))
        body = body.mid(headerBytes().size());
    QList<QByteArray> lines = body.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

class TestRunLog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        // Keep installLogHandler away from the user's own data folder.
        qputenv("XDG_DATA_HOME", m_home.filePath(QStringLiteral("data")).toUtf8());
        m_testHandler = qInstallMessageHandler(nullptr);
        qInstallMessageHandler(m_testHandler);
    }

    // The test framework's own handler comes back after every case.
    void cleanup() { qInstallMessageHandler(m_testHandler); }

    void headerHoldsThePageParts()
    {
        const QString &h = logformat::header();
        QVERIFY(h.startsWith(QStringLiteral("\n<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\n")));
        QVERIFY(h.contains(QStringLiteral("-//W3C//DTD XHTML 1.0 Strict//EN")));
        QVERIFY(h.contains(QStringLiteral("<title>Vendrasi log file</title>")));
        QVERIFY(h.contains(QStringLiteral("text/html; charset=utf-8")));
        QVERIFY(h.contains(QStringLiteral("<style type=\"text/css\" id=\"logCss\">")));
        QVERIFY(h.contains(QStringLiteral(">Tolvek Tablet Logger</a></h1>")));
        QVERIFY(h.contains(QStringLiteral("<script type=\"text/JavaScript\">")));
        for (const char *name : {"function objHide(obj)", "function objShow(obj)", "function selectType()"})
            QVERIFY2(h.contains(QLatin1String(name)), name);
        QVERIFY(h.contains(QStringLiteral(".f { background-color: #fc0808; color: #19242b; }")));
        QVERIFY(h.contains(QStringLiteral("<select id=\"typeSelect\" onchange=\"selectType()\">")));
        // The filter options, in order, "All" first and selected.
        const QRegularExpression option(QStringLiteral("<option value=\"(\\w)\"[^>]*>(\\w+)</option>"));
        QStringList options;
        for (auto it = option.globalMatch(h); it.hasNext();) {
            const auto m = it.next();
            options << m.captured(1) + QLatin1Char('=') + m.captured(2);
        }
        QCOMPARE(options, QStringList({"a=All", "d=Debug", "i=Info", "w=Warning", "c=Critical", "f=Fatal"}));
        QVERIFY(h.contains(QStringLiteral("<option value=\"a\" selected=\"selected\">All</option>")));
        QVERIFY(h.endsWith(QStringLiteral("</select>")));
        QVERIFY(!h.contains(QStringLiteral("\r"))); // its own breaks are single line feeds
        QVERIFY(!h.contains(QStringLiteral("</body>")));
    }

    void lineNamesFileAndLevel_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("letter");
        QTest::newRow("debug") << int(QtDebugMsg) << "d";
        QTest::newRow("warning") << int(QtWarningMsg) << "w";
        QTest::newRow("critical") << int(QtCriticalMsg) << "c";
        QTest::newRow("fatal") << int(QtFatalMsg) << "f";
        QTest::newRow("info") << int(QtInfoMsg) << "i";
    }

    void lineNamesFileAndLevel()
    {
        QFETCH(int, type);
        QFETCH(QString, letter);
        QTemporaryDir dir;
        auto clock = std::make_shared<ManualClock>(at("2026-12-04 13:05:09"));
        RunLog log(dir.path(), true, clock);
        const QString plain = log.write(QtMsgType(type), QStringLiteral("x"));
        QCOMPARE(plain, QStringLiteral("2026-12-04 13:05:09 x"));
        const QByteArray file = readAll(dir.filePath(QStringLiteral("2026-12-04_13_log.html")));
        QVERIFY(file.startsWith(headerBytes()));
        QCOMPARE(linesOf(file),
                 QList<QByteArray>({QStringLiteral("<div class=\"%1\">2026-12-04 13:05:09 x</div>\r").arg(letter).toUtf8()}));
    }

    // Device texts, server file names and release notes reach the log, and
    // the file is opened in a browser: none of it may become markup.
    void messagesAreEscaped()
    {
        QTemporaryDir dir;
        RunLog log(dir.path(), true, std::make_shared<ManualClock>(at("2026-12-04 13:05:09")));
        log.write(QtDebugMsg, QStringLiteral("<b>bold</b> & <script>alert(\"x\")</script> 中文"));
        const QList<QByteArray> lines = linesOf(readAll(dir.filePath(QStringLiteral("2026-12-04_13_log.html"))));
        QCOMPARE(lines.size(), 1);
        QCOMPARE(QString::fromUtf8(lines.first()),
                 QStringLiteral("<div class=\"d\">2026-12-04 13:05:09 &lt;b&gt;bold&lt;/b&gt; &amp; "
                                "&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt; 中文</div>\r"));
    }

    void changeOfHourStartsNewFileWithHeader_data()
    {
        QTest::addColumn<bool>("keepOpen");
        QTest::newRow("kept open") << true;
        QTest::newRow("per message") << false;
    }

    void changeOfHourStartsNewFileWithHeader()
    {
        QFETCH(bool, keepOpen);
        QTemporaryDir dir;
        auto clock = std::make_shared<ManualClock>(at("2026-12-04 13:59:58"));
        RunLog log(dir.path(), keepOpen, clock);
        log.write(QtDebugMsg, QStringLiteral("one"));
        clock->set(at("2026-12-04 13:59:59"));
        log.write(QtDebugMsg, QStringLiteral("two"));
        clock->set(at("2026-12-04 14:00:00"));
        log.write(QtInfoMsg, QStringLiteral("three"));

        QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
                 QStringList({"2026-12-04_13_log.html", "2026-12-04_14_log.html"}));
        const QByteArray first = readAll(dir.filePath(QStringLiteral("2026-12-04_13_log.html")));
        const QByteArray second = readAll(dir.filePath(QStringLiteral("2026-12-04_14_log.html")));
        QVERIFY(first.startsWith(headerBytes()));
        QVERIFY(second.startsWith(headerBytes()));
        QCOMPARE(first.count(headerBytes()), 1);
        QCOMPARE(linesOf(first).size(), 2);
        QCOMPARE(linesOf(second), QList<QByteArray>({"<div class=\"i\">2026-12-04 14:00:00 three</div>\r"}));
    }

    // Each line is on disk as soon as write() returns, also while the file
    // stays open; a restart within the hour appends without a second header.
    void linesReachDiskAndRestartAppends()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("2026-12-04_13_log.html"));
        auto clock = std::make_shared<ManualClock>(at("2026-12-04 13:00:00"));
        {
            RunLog log(dir.path(), true, clock);
            for (int i = 0; i < 50; ++i) {
                log.write(QtDebugMsg, QStringLiteral("line %1 of a run that keeps its file open").arg(i));
                QCOMPARE(linesOf(readAll(path)).size(), i + 1);
            }
        }
        RunLog restarted(dir.path(), true, clock);
        restarted.write(QtDebugMsg, QStringLiteral("after restart"));
        const QByteArray file = readAll(path);
        QCOMPARE(file.count(headerBytes()), 1);
        QCOMPARE(linesOf(file).size(), 51);
        QVERIFY(linesOf(file).last().contains("after restart"));
    }

    void unwritableFolderLosesLinesQuietly()
    {
        QTemporaryDir dir;
        RunLog log(dir.filePath(QStringLiteral("missing/deeper")), true,
                   std::make_shared<ManualClock>(at("2026-12-04 13:00:00")));
        QCOMPARE(log.write(QtWarningMsg, QStringLiteral("lost")), QStringLiteral("2026-12-04 13:00:00 lost"));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("missing"))));
    }

    void pruningKeepsTheNewestFiles()
    {
        QTemporaryDir dir;
        QStringList names;
        for (int i = 0; i < 1030; ++i) {
            const QDateTime hour = at("2026-01-01 00:00:00").addSecs(3600 * i);
            names << hour.toString(QStringLiteral("yyyy-MM-dd_hh")) + QStringLiteral("_log.html");
        }
        // Created in shuffled order: only the names count.
        for (int i = 0; i < names.size(); ++i)
            testsupport::writeAll(dir.filePath(names.at((i * 7) % names.size())), "x");
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1030);

        QCOMPARE(RunLog::prune(dir.path(), 1024), 6);
        const QStringList left = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
        QCOMPARE(left, names.mid(6));
        QCOMPARE(RunLog::prune(dir.path(), 1024), 0);
    }

    // Installed as Qt's handler: the folder lies in the application's local
    // data, and two threads logging at once leave every line whole.
    void installedHandlerTakesMessagesFromThreads()
    {
        const QString folder =
            m_home.filePath(QStringLiteral("data/%1/ThreadLog").arg(QCoreApplication::applicationName()));
        QDir().mkpath(folder);
        for (int i = 0; i < 3; ++i)
            testsupport::writeAll(folder + QStringLiteral("/old%1.html").arg(i), "old");

        auto clock = std::make_shared<ManualClock>(at("2026-12-04 13:05:09"));
        installLogHandler(QStringLiteral("ThreadLog"), 2, true, clock);
        QCOMPARE(logFolderPath(), folder);
        QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name), QStringList({"old1.html", "old2.html"}));

        constexpr int kLines = 2000;
        auto writer = [](const char *who) {
            return QThread::create([who] {
                for (int i = 0; i < kLines; ++i)
                    qWarning("%s %d <%d>", who, i, i);
            });
        };
        std::unique_ptr<QThread> a(writer("alpha")), b(writer("beta"));
        a->start();
        b->start();
        QVERIFY(a->wait(60000));
        QVERIFY(b->wait(60000));
        qInstallMessageHandler(m_testHandler);

        const QByteArray file = readAll(folder + QStringLiteral("/2026-12-04_13_log.html"));
        QCOMPARE(file.count(headerBytes()), 1);
        const QList<QByteArray> lines = linesOf(file);
        QCOMPARE(lines.size(), 2 * kLines);
        const QRegularExpression shape(
            QStringLiteral("^<div class=\"w\">2026-12-04 13:05:09 (alpha|beta) (\\d+) &lt;(\\d+)&gt;</div>\r$"));
        int next[2] = {0, 0};
        for (const QByteArray &line : lines) {
            const auto m = shape.match(QString::fromUtf8(line));
            QVERIFY2(m.hasMatch(), line.constData());
            QCOMPARE(m.captured(2), m.captured(3));
            // Each thread's lines stay in its own order.
            int &expected = next[m.captured(1) == QLatin1String("beta")];
            QCOMPARE(m.captured(2).toInt(), expected);
            ++expected;
        }
    }

    void perMessageModeThroughHandler()
    {
        auto clock = std::make_shared<ManualClock>(at("2026-12-04 09:00:00"));
        installLogHandler(QStringLiteral("OnceLog"), 1024, false, clock);
        qDebug() << "first";
        qInfo() << "second";
        qInstallMessageHandler(m_testHandler);
        const QByteArray file = readAll(logFolderPath() + QStringLiteral("/2026-12-04_09_log.html"));
        QCOMPARE(linesOf(file), QList<QByteArray>({"<div class=\"d\">2026-12-04 09:00:00 first</div>\r",
                                                  "<div class=\"i\">2026-12-04 09:00:00 second</div>\r"}));
    }

private:
    QTemporaryDir m_home;
    QtMessageHandler m_testHandler = nullptr;
};

QTEST_GUILESS_MAIN(TestRunLog)
#include "tst_runlog.moc"
