// What the editor decides as it starts: its command line, the renderer, and
// one editor at a time (the request a later start hands over, a running copy
// brought to the front and not fooled by a killed copy's leftovers, a claim
// that what the editor starts does not inherit).
#include "app/AppOptions.h"
#include "app/InstanceRendezvous.h"
#include "app/InstanceRequest.h"
#include "app/InstanceServer.h"
#include "app/SceneGraphChoice.h"
#include "app/ScreenScale.h"

#include <QQuickWindow>
#include <QScreen>
#include <QSGRendererInterface>
#include <QSignalSpy>
#include <QtTest>

#include <cstring>
#include <future>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A desktop scaled by 2, as Qt is told before the application starts.
const bool kScaledDesktop = qputenv("QT_SCALE_FACTOR", "2");

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

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QQuickWindow::setSceneGraphBackend(QStringLiteral("software")); } // no OpenGL offscreen

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

    // A program the editor starts (a browser from Help) outlives it; the
    // claim must end with the editor all the same.
    void claimIsNotInheritedByWhatTheEditorStarts()
    {
        QTemporaryDir dir;
        auto first = std::make_unique<LocalRendezvous>(QStringLiteral("korvelMavu"), dir.path());
        QVERIFY(first->claim());
        QProcess browser;
        browser.start(QStringLiteral("sleep"), {QStringLiteral("60")});
        QVERIFY(browser.waitForStarted());
        first.reset();
        LocalRendezvous next(QStringLiteral("korvelMavu"), dir.path());
        QVERIFY(next.claim());
        browser.kill();
        browser.waitForFinished();
    }

    // Qt's own options (-platform xcb, the usual Wayland workaround, -style,
    // -reverse, session restore's -session ID) are taken as every Qt program
    // takes them, beside the editor's own.
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
        QTest::newRow("platform") << QStringList{"-platform", "xcb", "a.stm"} << " | a.stm";
        QTest::newRow("two dashes, with =") << QStringList{"--platform=wayland", "-style=Fusion"} << " | ";
        QTest::newRow("style, reverse, session")
            << QStringList{"-style", "Fusion", "-reverse", "-session", "1f_2"} << " | ";
        QTest::newRow("beside the editor's")
            << QStringList{"--simulator", "-platform", "offscreen", "-v", "b.syx"} << "sim version | b.syx";
        QTest::newRow("others still refused") << QStringList{"-platforms", "xcb"} << "error | xcb";
    }
    void commandLine()
    {
        QFETCH(QStringList, args);
        for (const char *name : {"KORVEL_MAVU_MIDI_API", "KORVEL_MAVU_UPDATE_PORT", "KORVEL_MAVU_FIRMWARE_SERVER"})
            qunsetenv(name);
        const AppOptions o = AppOptions::parse(QStringList{"korvel-mavu"} + args);
        QStringList seen{o.simulator ? "sim" : "", o.midiApi, o.updatePort, o.firmwareServer,
            o.showVersion ? "version" : "", o.showHelp ? "help" : "", o.error.isEmpty() ? "" : "error"};
        seen.removeAll(QString());
        QTEST(seen.join(' ') + " | " + o.files.join(','), "options");
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

    // Qt draws the window by the screen's pixel ratio: the editor's own
    // factor leaves that out, or a scaled desktop gets it twice.
    void windowScaledOnce()
    {
        QVERIFY(kScaledDesktop);
        const QScreen *screen = QGuiApplication::primaryScreen();
        QCOMPARE(screen->devicePixelRatio() * ScreenScale::primaryFactor(),
            2.0 * screen->logicalDotsPerInch() / ScreenScale::kReferenceDpi);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
