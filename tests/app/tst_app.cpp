// The program around the pages: its command line, the run log, one editor at
// a time, sleep and wake, and the languages.
#include "ManualClock.h"
#include "app/AppOptions.h"
#include "app/InstanceRendezvous.h"
#include "app/InstanceRequest.h"
#include "app/InstanceServer.h"
#include "app/LogFormat.h"
#include "app/LogHandler.h"
#include "app/RunLog.h"
#include "app/SceneGraphChoice.h"
#include "app/SingleInstance.h"
#include "i18n/Trans.h"
#include "support/EditorHarness.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QThread>
#include <QXmlStreamReader>
#include <QtTest>

#include <cstring>
#include <future>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

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

// Runs a blocking call off the GUI thread while this one serves the socket.
template <typename F>
auto served(F f)
{
    auto future = std::async(std::launch::async, f);
    QElapsedTimer timer;
    timer.start();
    while (future.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready && timer.elapsed() < 10000)
        QCoreApplication::processEvents();
    return future.get();
}

// "context|source" -> translation, "" when unfinished, of a catalogue source (.ts).
QMap<QString, QString> readCatalogue(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QXmlStreamReader xml(&file);
    QMap<QString, QString> messages;
    QString context, source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("source"))
            source = xml.readElementText();
        else if (xml.name() == QLatin1String("translation")) {
            const bool finished = xml.attributes().value(QLatin1String("type")).isEmpty();
            const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            messages.insert(context + '|' + source, finished ? text : QString());
        }
    }
    return messages;
}

QStringList placeholders(const QString &text)
{
    QStringList found;
    for (auto it = QRegularExpression(QStringLiteral("%L?\\d+")).globalMatch(text); it.hasNext();)
        found << it.next().captured();
    found.sort();
    return found;
}

} // namespace

class TestApp : public QObject
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

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("options");
        QTest::newRow("simulator and files") << QStringList{"--simulator", "a.stm", "b.syx"} << "sim | a.stm,b.syx";
        QTest::newRow("values") << QStringList{"--midi-api=jack", "--update-port", "/dev/x", "--firmware-server",
            "h:21"} << "jack /dev/x h:21 | ";
        QTest::newRow("unknown") << QStringList{"--bogus", "a.stm"} << "error | a.stm";
        QTest::newRow("missing value") << QStringList{"a.stm", "--update-port"} << "error | a.stm";
        QTest::newRow("after --") << QStringList{"-v", "--", "-x.stm"} << "version | -x.stm";
    }
    void commandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, options);
        for (const char *name : {"KORVEL_MAVU_MIDI_API", "KORVEL_MAVU_UPDATE_PORT", "KORVEL_MAVU_FIRMWARE_SERVER"})
            qunsetenv(name);
        const AppOptions o = AppOptions::parse(QStringList{"korvel-mavu"} + args);
        QStringList seen{o.simulator ? "sim" : "", o.midiApi, o.updatePort, o.firmwareServer,
            o.showVersion ? "version" : "", o.showHelp ? "help" : "", o.error.isEmpty() ? "" : "error"};
        seen.removeAll(QString());
        QCOMPARE(seen.join(' ') + " | " + o.files.join(','), options);
    }

    // A new hour starts a new file; a restart within the hour appends to its
    // file, and each line is on disk as soon as write() returns. Device texts,
    // server file names and release notes reach the log, and the file is
    // opened in a browser: none of it may become markup.
    void runLogFilesFollowTheHour_data()
    {
        QTest::addColumn<bool>("keepOpen");
        QTest::newRow("kept open") << true;
        QTest::newRow("per message") << false;
    }
    void runLogFilesFollowTheHour()
    {
        QFETCH(bool, keepOpen);
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

    // The request a later start hands over: one line, whatever the names hold.
    void instanceRequests()
    {
        const QStringList files{QStringLiteral("/home/u/my set.stm"), QStringLiteral("/tmp/预设\nnew line.syx")};
        const QByteArray line = instancerequest::encode(files);
        QVERIFY(line.endsWith('\n') && line.count('\n') == 1);
        QStringList back;
        QVERIFY(instancerequest::decode(line, &back));
        QCOMPARE(back, files);
        const QList<QByteArray> bad = {"\n", "raise please\n", "[\"a\"]\n", "{\"request\":\"shutdown\",\"files\":[]}\n",
            "{\"request\":\"korvelMavu.open\"}\n", "{\"request\":\"korvelMavu.open\",\"files\":[3]}\n",
            "{\"request\":\"korvelMavu.open\",\"files\":[\"\"]}\n",
            instancerequest::encode({QString(instancerequest::kMaxSize, QLatin1Char('a'))})};
        for (const QByteArray &request : bad) {
            QString error;
            QVERIFY2(
                !instancerequest::decode(request, &back, &error) && !error.isEmpty(), request.left(60).constData());
            QCOMPARE(back, files);
        }
    }

    // A killed copy leaves its lock file and socket behind; neither may look
    // like a running copy. The running copy comes to the front for a proper
    // request only.
    void instanceRunningCopyComesToFront()
    {
        QTemporaryDir dir;
        QFile lock(dir.filePath(QStringLiteral("korvelMavu.lock")));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray native = QFile::encodeName(dir.filePath(QStringLiteral("korvelMavu.socket")));
        std::memcpy(address.sun_path, native.constData(), size_t(native.size()));
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)), 0);
        QCOMPARE(::listen(fd, 1), 0);
        ::close(fd); // the file stays, nobody listens
        LocalRendezvous rendezvous(QStringLiteral("korvelMavu"), dir.path());
        InstanceServer server;
        QSignalSpy files(&server, &InstanceServer::filesRequested);
        QQuickWindow window, other;
        window.setTitle(QStringLiteral("korvelMavuwidonw"));
        window.showMinimized();
        other.showMinimized();
        QVERIFY(rendezvous.claim() && server.listen(rendezvous.takeListeningSocket()));
        LocalRendezvous second(QStringLiteral("korvelMavu"), dir.path());
        QCOMPARE(served([&second] { return second.deliver("{\"request\":\"shutdown\"}\n", 5000); }),
            instancerequest::rejectedReply()); // anything else on the socket changes nothing
        QVERIFY(window.windowStates() & Qt::WindowMinimized);
        QCOMPARE(served([&second] { return second.deliver(instancerequest::encode({}), 5000); }),
            instancerequest::acceptedReply());
        QTRY_VERIFY(!(window.windowStates() & Qt::WindowMinimized));
        QVERIFY(window.isVisible() && (other.windowStates() & Qt::WindowMinimized));
        QCOMPARE(files.count(), 0); // without files nothing is offered
    }

    // The program: a preset on its command line is opened; a second start
    // hands its file (relative to its own folder) over and ends at once.
    void instanceProgramStartedTwice()
    {
        EditorProcess editor;
        const QString first = editor.folder(QStringLiteral("first set.stm"));
        const QString second = editor.folder(QStringLiteral("second set.syx"));
        for (const QString &file : {first, second})
            QCOMPARE(testsupport::run(QStringLiteral(MAVU_MAVUCTL_PATH), {"defaults", file}).exitCode, 0);
        QVERIFY(editor.start({first}));
        const auto opened = [&editor](const QString &file) {
            return editor.log().contains(("preset opened: &quot;" + file).toUtf8());
        };
        QTRY_VERIFY_WITH_TIMEOUT(opened(first), 10000);
        QCOMPARE(editor.runSecond({QStringLiteral("second set.syx")}), 0);
        QTRY_VERIFY_WITH_TIMEOUT(opened(second), 10000);
        QVERIFY(editor.isRunning());
        QCOMPARE(editor.log().count("progress start"), 1);
    }

    // logind's announcements reach the run log; a private bus stands in for the system bus.
    void powerEventsReachTheRunLog()
    {
        QTemporaryDir dir;
        QProcess bus;
        bus.start(QStringLiteral("dbus-daemon"),
            {"--session", "--nofork", "--print-address", "--address=unix:dir=" + dir.path()});
        const auto stop = qScopeGuard([&bus] {
            bus.kill();
            bus.waitForFinished();
        });
        QVERIFY2(bus.waitForReadyRead(10000), "dbus-daemon (Debian package dbus-daemon) is needed");
        const QString address = QString::fromUtf8(bus.readLine()).trimmed();
        qputenv("KORVEL_MAVU_POWER_BUS", address.toUtf8());
        EditorProcess editor;
        qunsetenv("KORVEL_MAVU_POWER_BUS");
        QVERIFY(editor.start());
        QTRY_VERIFY_WITH_TIMEOUT(editor.log().contains("power events: listening"), 10000);
        QDBusConnection logind = QDBusConnection::connectToBus(address, QStringLiteral("stand-in logind"));
        const auto announce = [&logind](const char *name, bool start) {
            QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/login1"),
                QStringLiteral("org.freedesktop.login1.Manager"), QLatin1String(name));
            QVERIFY(logind.send(signal << start));
        };
        const QRegularExpression lines(QStringLiteral(" (======[a-z ,]+======)<"));
        const auto logged = [&editor, &lines] {
            QStringList found;
            for (auto it = lines.globalMatch(QString::fromUtf8(editor.log())); it.hasNext();)
                found << it.next().captured(1);
            return found.join(' ');
        };
        announce("PrepareForShutdown", false); // called off: nothing
        announce("PrepareForSleep", true);
        QTRY_COMPARE_WITH_TIMEOUT(logged(), QStringLiteral("======xiu mian======"), 10000);
        announce("PrepareForSleep", false);
        announce("PrepareForShutdown", true);
        QTRY_COMPARE_WITH_TIMEOUT(logged(),
            QStringLiteral("======xiu mian====== ======huan xing====== ======system poweroff,reboot or logoff======"),
            10000);
        QVERIFY(editor.isRunning());
    }

    // OpenGL is probed only when the user has not chosen a backend; without
    // it the software renderer draws instead of the program aborting.
    void sceneGraphBackend()
    {
        int probed = 0;
        const auto probe = [&probed](bool works) { return [&probed, works] { return ++probed, works; }; };
        QCOMPARE(scenegraph::chooseBackend(QString(), probe(false)), QStringLiteral("software"));
        QCOMPARE(scenegraph::chooseBackend(QString(), probe(true)), QString());
        QCOMPARE(scenegraph::chooseBackend(QStringLiteral("openvg"), probe(false)), QString());
        QCOMPARE(probed, 2);
    }

    void languageSwitchRetranslatesThePages()
    {
        QQmlEngine engine;
        Trans trans(&engine);
        QCOMPARE(trans.languageList(), QStringList({"English", "简体中文"}));
        QCOMPARE(trans.getLanguage(), QString()); // nothing stored at first
        QQmlComponent component(&engine);
        // qsTr takes the file's base name as its context.
        component.setData("import QtQml 2.12\nQtObject { property string hint: qsTr(\"Failed to get data\") }",
            QUrl(QStringLiteral("qrc:/qml/main.qml")));
        std::unique_ptr<QObject> page(component.create());
        QVERIFY2(page, qPrintable(component.errorString()));
        trans.reTrans(QStringLiteral("English"));
        QSignalSpy changed(&trans, &Trans::currentLanguageChanged);
        trans.reTrans(QStringLiteral("简体中文"));
        QCOMPARE(page->property("hint").toString(), QStringLiteral("获取数据失败"));
        trans.reTrans(QStringLiteral("简体中文")); // the active one, or none: nothing happens
        trans.reTrans(QString());
        QCOMPARE(changed.count(), 1);
        trans.reTrans(QStringLiteral("English"));
        QCOMPARE(QCoreApplication::translate("ProgressDialog", "固件升级"), QStringLiteral("Firmware update"));
        QCOMPARE(changed.count(), 2);
        // The choice is stored apart, in an INI file under the maker's name, without switching.
        trans.setLanguage(QStringLiteral("简体中文"));
        QCOMPARE(trans.currentLanguage() + trans.getLanguage(), QStringLiteral("English简体中文"));
        QSettings file(qEnvironmentVariable("XDG_CONFIG_HOME") + "/Korvel/korvelMavu.conf", QSettings::IniFormat);
        QCOMPARE(file.value(QStringLiteral("Language")).toString(), QStringLiteral("简体中文"));
        trans.setLanguage(QString());
    }

    // lupdate over the pages and the native classes, held against the
    // catalogues' sources: every text has its finished Chinese entry, every
    // Chinese text its English one, and no entry loses a %n marker.
    void languageCataloguesKeepUpWithTheTexts()
    {
        const QString source = qEnvironmentVariable("MAVU_TEST_SOURCE_DIR");
        QTemporaryDir dir;
        QStringList args{"-silent", "-locations", "none", "-extensions", "cpp,h,qml,js", "-I", source};
        for (const char *folder : {"qml", "app", "model", "device", "firmware", "workflows", "i18n"})
            args << source + '/' + folder;
        QCOMPARE(QProcess::execute(QStringLiteral(MAVU_LUPDATE_PATH), args << "-ts" << dir.filePath("used.ts")), 0);
        const QMap<QString, QString> used = readCatalogue(dir.filePath("used.ts"));
        const QMap<QString, QString> zh = readCatalogue(source + "/i18n/i18n_zh.ts");
        const QMap<QString, QString> en = readCatalogue(source + "/i18n/i18n_en.ts");
        QVERIFY(used.size() > 50 && used.contains("Trans|TargetLanguage"));
        QStringList wrong;
        for (const QString &key : used.keys()) {
            if (zh.value(key).isEmpty())
                wrong << "i18n_zh.ts lacks " + key;
            if (key.contains(QRegularExpression(QStringLiteral("[\\x{4e00}-\\x{9fff}]"))) && en.value(key).isEmpty())
                wrong << "i18n_en.ts lacks " + key;
        }
        for (const auto *catalogue : {&zh, &en}) {
            for (auto it = catalogue->begin(); it != catalogue->end(); ++it) {
                if (it.value().isEmpty() || placeholders(it.key().section('|', 1)) != placeholders(it.value()))
                    wrong << "unfinished or a %n marker changed: " + it.key();
            }
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join('\n')));
    }
};

MAVU_EDITOR_TEST_MAIN(TestApp)
#include "tst_app.moc"
