// One editor at a time: the request a later start hands over, the
// rendezvous, the running copy's answer, and the real program started twice.
#include "app/InstanceRendezvous.h"
#include "app/InstanceRequest.h"
#include "app/InstanceServer.h"
#include "app/SingleInstance.h"
#include "support/EditorHarness.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QtTest>

#include <cstring>
#include <future>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

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

class FakeRendezvous : public InstanceRendezvous
{
public:
    explicit FakeRendezvous(bool free)
        : m_free(free)
    { }
    bool claim() override { return m_free; }
    QByteArray deliver(const QByteArray &request, int) override
    {
        m_requests << request;
        return QByteArray();
    }
    qintptr takeListeningSocket() override { return -1; }
    bool m_free;
    QList<QByteArray> m_requests;
};

// A running copy: the claim, its server and its minimised main window.
struct RunningCopy {
    QTemporaryDir dir;
    LocalRendezvous rendezvous{QStringLiteral("korvelMavu"), dir.path()};
    InstanceServer server;
    QSignalSpy files{&server, &InstanceServer::filesRequested};
    QQuickWindow window;
    bool start()
    {
        window.setTitle(QStringLiteral("korvelMavuwidonw"));
        window.showMinimized();
        return rendezvous.claim() && server.listen(rendezvous.takeListeningSocket());
    }
    bool minimised() const { return window.windowStates() & Qt::WindowMinimized; }
};

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software); }

    void requests()
    {
        const QStringList files{QStringLiteral("/home/u/my set.stm"), QStringLiteral("/tmp/预设\nnew line.syx")};
        const QByteArray line = instancerequest::encode(files);
        QVERIFY(line.endsWith('\n') && line.count('\n') == 1); // one line, whatever the names hold
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

    void secondStartHandsAbsoluteFilesOver()
    {
        FakeRendezvous free(true);
        QVERIFY(!isAppRunning(free, {QStringLiteral("a.stm")}));
        QVERIFY(free.m_requests.isEmpty());
        FakeRendezvous taken(false);
        QVERIFY(isAppRunning(taken, {QStringLiteral("a.stm"), QStringLiteral("/abs/b.syx")}));
        QStringList files;
        QVERIFY(taken.m_requests.size() == 1 && instancerequest::decode(taken.m_requests.first(), &files));
        QCOMPARE(files,
            QStringList({QDir::current().absoluteFilePath(QStringLiteral("a.stm")), QStringLiteral("/abs/b.syx")}));
    }

    void claimIsExclusiveAndEndsWithItsHolder()
    {
        QTemporaryDir dir;
        auto first = std::make_unique<LocalRendezvous>(QStringLiteral("korvelMavu"), dir.path());
        QVERIFY(first->claim());
        QVERIFY(!LocalRendezvous(QStringLiteral("korvelMavu"), dir.path()).claim());
        QVERIFY(LocalRendezvous(QStringLiteral("somethingElse"), dir.path()).claim());
        first.reset();
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("korvelMavu.socket"))));
        QVERIFY(LocalRendezvous(QStringLiteral("korvelMavu"), dir.path()).claim());
        // Without a usable runtime folder no lock can be had: the editor starts rather than never.
        LocalRendezvous homeless(QStringLiteral("korvelMavu"), dir.filePath(QStringLiteral("gone")));
        QVERIFY(homeless.claim());
        QCOMPARE(homeless.takeListeningSocket(), qintptr(-1));
        QVERIFY(homeless.deliver(instancerequest::encode({}), 100).isEmpty());
    }

    // A killed copy leaves its lock file and socket behind; neither may look like a running copy.
    void leftoversOfAKilledCopyDoNotBlock()
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

        LocalRendezvous next(QStringLiteral("korvelMavu"), dir.path());
        QVERIFY(next.claim());
        InstanceServer server;
        QVERIFY(server.listen(next.takeListeningSocket()));
        LocalRendezvous later(QStringLiteral("korvelMavu"), dir.path());
        QCOMPARE(served([&later] { return later.deliver(instancerequest::encode({}), 5000); }),
            instancerequest::acceptedReply());
    }

    void runningCopyComesToFrontAndTakesFiles()
    {
        RunningCopy running;
        QVERIFY(running.start());
        QQuickWindow other;
        other.showMinimized();
        LocalRendezvous second(QStringLiteral("korvelMavu"), running.dir.path());
        QVERIFY(served([&second] { return isAppRunning(second, {QStringLiteral("preset one.stm")}); }));
        QTRY_COMPARE(running.files.count(), 1);
        QCOMPARE(running.files.first().first().toStringList(),
            QStringList{QDir::current().absoluteFilePath(QStringLiteral("preset one.stm"))});
        QVERIFY(running.window.isVisible() && !running.minimised());
        QVERIFY(other.windowStates() & Qt::WindowMinimized);

        // Without files the window still comes up and nothing is offered;
        // anything else on the socket is refused and changes nothing.
        running.window.showMinimized();
        QCOMPARE(served([&second] { return second.deliver("{\"request\":\"shutdown\"}\n", 5000); }),
            instancerequest::rejectedReply());
        QVERIFY(running.minimised());
        QCOMPARE(served([&second] { return second.deliver(instancerequest::encode({}), 5000); }),
            instancerequest::acceptedReply());
        QTRY_VERIFY(!running.minimised());
        QCOMPARE(running.files.count(), 1);
    }

    // A running copy that never answers (hung, or stopped) must not hold the
    // second one: it gives up and ends all the same.
    void silentRunningCopyDoesNotHoldUpTheSecond()
    {
        QTemporaryDir dir;
        LocalRendezvous running(QStringLiteral("korvelMavu"), dir.path());
        QVERIFY(running.claim()); // listening, but nobody serves the socket
        LocalRendezvous second(QStringLiteral("korvelMavu"), dir.path());
        QVERIFY(served([&second] { return isAppRunning(second, {}); }));
    }

    // The program: a preset on its command line is opened; a second start
    // hands its file (relative to its own folder) over and ends at once.
    void theProgramStartedTwice()
    {
        EditorProcess editor;
        const QString first = editor.folder(QStringLiteral("first set.stm"));
        const QString second = editor.folder(QStringLiteral("second set.syx"));
        for (const QString &file : {first, second})
            QCOMPARE(
                testsupport::run(QStringLiteral(MAVU_MAVUCTL_PATH), {QStringLiteral("defaults"), file}).exitCode, 0);
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
};

QTEST_MAIN(TestSingleInstance)
#include "tst_single_instance.moc"
