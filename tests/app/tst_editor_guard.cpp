#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>

// Starts the real editor twice with a private home, runtime and data folders,
// so nothing of the user's is touched or seen.
class TestEditorGuard : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    std::unique_ptr<QProcess> m_first;

    QString runtimeDir() const { return m_home.filePath(QStringLiteral("run")); }
    QString logDir() const { return m_home.filePath(QStringLiteral("data/korvel-mavu/Log")); }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), m_home.filePath(QStringLiteral("home")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), m_home.filePath(QStringLiteral("cache")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));
        return env;
    }

    // Every log line of every file of the log folder, in order.
    QStringList logLines() const
    {
        QStringList lines;
        const QDir dir(logDir());
        for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
            lines += QString::fromUtf8(testsupport::readAll(dir.filePath(name))).split(QStringLiteral("\r\n"));
        return lines.filter(QStringLiteral("<div class="));
    }

    int startsLogged() const
    {
        return logLines().filter(QStringLiteral("================progress start================")).size();
    }

    bool startFirst(int startsBefore, const QStringList &args = QStringList())
    {
        m_first = std::make_unique<QProcess>();
        m_first->setProcessEnvironment(environment());
        m_first->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_first->start(QStringLiteral(MAVU_EDITOR_PATH), args);
        if (!m_first->waitForStarted(10000))
            return false;
        // Up once it has logged its start and serves the rendezvous socket.
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 30000) {
            if (m_first->state() != QProcess::Running)
                return false;
            if (startsLogged() > startsBefore && QFileInfo::exists(runtimeDir() + QStringLiteral("/korvelMavu.socket")))
                return true;
            QTest::qWait(50);
        }
        return false;
    }

    // Starts a second copy; returns its exit code, or -1 when it did not end
    // by itself in time or crashed.
    int runSecond(const QStringList &args)
    {
        QProcess second;
        second.setProcessEnvironment(environment());
        second.start(QStringLiteral(MAVU_EDITOR_PATH), args);
        if (!second.waitForFinished(5000)) {
            second.kill();
            second.waitForFinished();
            return -1;
        }
        return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
    }

    void stopFirst()
    {
        if (!m_first)
            return;
        ::kill(pid_t(m_first->processId()), SIGCONT);
        m_first->kill();
        m_first->waitForFinished(10000);
        m_first.reset();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        QVERIFY(QDir().mkpath(runtimeDir()));
        QFile(runtimeDir()).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    void cleanup() { stopFirst(); }

    void firstCopyLogsItsStart()
    {
        QVERIFY(startFirst(0));
        const QDir dir(logDir());
        const QStringList files = dir.entryList(QDir::Files, QDir::Name);
        QVERIFY(!files.isEmpty()); // two when the hour turned meanwhile
        QVERIFY(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d_\\d\\d_log\\.html$")).match(files.first()).hasMatch());
        const QByteArray text = testsupport::readAll(dir.filePath(files.first()));
        QVERIFY(text.startsWith("\n<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>"));
        const QStringList lines = logLines();
        QVERIFY(!lines.isEmpty());
        QVERIFY2(lines.first().endsWith(QStringLiteral("================progress start================</div>")),
                 qPrintable(lines.first()));
    }

    void secondCopyHandsOverAndEnds()
    {
        const int before = startsLogged();
        QVERIFY(startFirst(before));
        const QString preset = m_home.filePath(QStringLiteral("my set.stm"));
        QCOMPARE(runSecond({preset}), 0);
        QCOMPARE(m_first->state(), QProcess::Running);
        // The running copy took the request and brought its window up; the
        // second copy wrote nothing into the log.
        const auto handovers = [this] { return logLines().filter(QStringLiteral("second start:")); };
        QTRY_COMPARE_WITH_TIMEOUT(handovers().size(), 1, 10000);
        const QString line = handovers().first();
        QVERIFY2(line.contains(QStringLiteral("window raised true")), qPrintable(line));
        QVERIFY2(line.contains(preset), qPrintable(line));
        QCOMPARE(startsLogged(), before + 1);

        QCOMPARE(runSecond({}), 0);
        QTRY_COMPARE_WITH_TIMEOUT(handovers().size(), 2, 10000);
        QCOMPARE(startsLogged(), before + 1);
    }

    void presetsFromTheCommandLineAreOpened()
    {
        // A file manager starts the editor with the file; a second start
        // hands its file to the copy that already runs.
        const QString first = m_home.filePath(QStringLiteral("first set.stm"));
        const QString second = m_home.filePath(QStringLiteral("second set.syx"));
        QCOMPARE(testsupport::run(QStringLiteral(MAVU_MAVUCTL_PATH), {QStringLiteral("defaults"), first}).exitCode, 0);
        QCOMPARE(testsupport::run(QStringLiteral(MAVU_MAVUCTL_PATH), {QStringLiteral("defaults"), second}).exitCode, 0);
        const auto opened = [this](const QString &path) {
            return logLines().filter(QStringLiteral("preset opened:")).filter(path).size();
        };

        QVERIFY(startFirst(startsLogged(), {first}));
        QTRY_COMPARE_WITH_TIMEOUT(opened(first), 1, 10000);

        QDir::setCurrent(m_home.path());
        QCOMPARE(runSecond({QStringLiteral("second set.syx")}), 0); // relative to the second's folder
        QTRY_COMPARE_WITH_TIMEOUT(opened(second), 1, 10000);
        QCOMPARE(opened(first), 1);
    }

    void killedCopyDoesNotBlockTheNextStart()
    {
        QVERIFY(startFirst(startsLogged()));
        ::kill(pid_t(m_first->processId()), SIGKILL);
        QVERIFY(m_first->waitForFinished(10000));
        m_first.reset();
        QVERIFY(QFileInfo::exists(runtimeDir() + QStringLiteral("/korvelMavu.socket"))); // left behind

        const int before = startsLogged();
        QVERIFY(startFirst(before));
        QCOMPARE(startsLogged(), before + 1);
        QCOMPARE(runSecond({}), 0);
        QCOMPARE(m_first->state(), QProcess::Running);
        QCOMPARE(startsLogged(), before + 1);
    }

    void stoppedCopyDoesNotHoldUpTheSecond()
    {
        QVERIFY(startFirst(startsLogged()));
        ::kill(pid_t(m_first->processId()), SIGSTOP);
        QCOMPARE(runSecond({}), 0);
        ::kill(pid_t(m_first->processId()), SIGCONT);
    }
};

QTEST_GUILESS_MAIN(TestEditorGuard)
#include "tst_editor_guard.moc"
