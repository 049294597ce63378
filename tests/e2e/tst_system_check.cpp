// The system check judged against the MIDI system in use (a missing ALSA
// sequencer beside JACK or the simulator, an offline firmware server: notes),
// mavuctl doctor's exit status on JACK, and both of the editor's checks (Help >
// System Check, the About box's) running behind the window, with Cancel.
#include "app/Editor.h"
#include "device/LoopbackMidi.h"
#include "device/MidiDoctor.h"
#include "firmware/Doctor.h"
#include "firmware/MyFtp.h"
#include "support/model/ScriptedPrompt.h"
#include "support/editor/EditorHarness.h"
#include "support/device/JackServer.h"
#include "support/TestSupport.h"

#include <QProgressDialog>
#include <QPushButton>
#include <QQmlContext>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

class TestSystemCheck : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    // Seen on a system without ALSA sequencer.
    void findingsFollowTheMidiSystemInUse_data()
    {
        QTest::addColumn<QString>("api");
        QTest::addColumn<QString>("setup"); // "controller", "answers" (the server), "failed" (the MIDI system)
        QTest::addColumn<QStringList>("marked"); // what is not plainly ok
        const QString seq = "No ALSA sequencer:", offline = "The firmware server";
        QTest::newRow("JACK, offline") << QString("jack") << "controller"
                                       << QStringList{"note " + seq, "note " + offline};
        QTest::newRow("simulator") << LoopbackMidi().apiName() << "controller answers" << QStringList{"note " + seq};
        QTest::newRow("ALSA") << QString("alsa") << "controller answers" << QStringList{"PROBLEM " + seq};
        QTest::newRow("JACK without controller")
            << QString("jack") << "answers" << QStringList{"note " + seq, "PROBLEM The controller's MIDI"};
        QTest::newRow("JACK did not start") << QString("jack") << "controller answers failed"
                                            << QStringList{"PROBLEM " + seq, "PROBLEM The MIDI system"};
    }
    void findingsFollowTheMidiSystemInUse()
    {
        QFETCH(QString, api);
        QFETCH(QString, setup);
        doctor::Inputs in;
        in.root = m_dir.path();
        in.midiApi = api;
        in.midiError = setup.contains("failed") ? "cannot connect to JACK" : "";
        in.midiProducts = QStringList(setup.contains("controller") ? "Korvel Mavu" : "Midi Through");
        const QList<doctor::Finding> findings = doctor::midiFindings(in, false)
            << doctor::serverFinding(setup.contains("answers") ? "" : "refused");
        QStringList seen;
        for (const doctor::Finding &f : findings) {
            if (!f.ok || f.note)
                seen << QString(f.ok ? "note " : "PROBLEM ") + f.text.section(' ', 0, 2);
        }
        QTEST(seen, "marked");
        QCOMPARE(doctor::allWell(findings), !seen.join(' ').contains("PROBLEM"));
    }

    // mavuctl doctor with JACK running and the controller found: all is well.
    void doctorOnJack()
    {
        JackServer jack;
        QString error;
        QVERIFY2(jack.start(&error), qPrintable(error));
        GuardedProcess sim;
        QVERIFY(startSimulator(sim));
        const auto r = testsupport::mavuctl(
            {"doctor", "--midi-api", "jack", "--root", m_dir.filePath("root"), "--firmware-server", "127.0.0.1:1"});
        QVERIFY2(r.exitCode == 0 && r.out.contains("note     No ALSA sequencer") && r.out.endsWith("All is well.\n"),
            r.out.constData());
    }

    // Both checks leave the window usable, say that they are checking and can
    // be cancelled; the report comes in the interface's language.
    void checksRunBehindTheWindow()
    {
        QCOMPARE(MyFtp::kDefaultTimeoutMs, firmwareserver::kAnswerLimitMs); // both checks give up alike
        QTcpServer server; // holds connections without a word, or turns them away
        bool silent = true;
        QList<QTcpSocket *> held;
        connect(&server, &QTcpServer::newConnection, this, [&] {
            QTcpSocket *socket = server.nextPendingConnection();
            silent ? void(held << socket) : socket->abort();
        });
        // Given up: the editor has dropped every connection it held.
        const auto givenUp = [&held] {
            for (QTcpSocket *socket : held)
                if (socket->state() == QAbstractSocket::ConnectedState)
                    return false;
            return true;
        };
        QVERIFY(server.listen(QHostAddress::LocalHost));
        LoopbackMidi midi;
        Editor editor(EditorSetup{&midi, QString(), QStringLiteral("http://127.0.0.1:%1/").arg(server.serverPort())});
        auto *prompt = new ScriptedPrompt;
        editor.setUserPrompt(std::unique_ptr<UserPrompt>(prompt));

        // The About box's check: busy with its caption and Cancel, which gives up.
        auto *ftp = qobject_cast<MyFtp *>(editor.engine().rootContext()->contextProperty("Ftp").value<QObject *>());
        ftp->setDeviceConnected(true);
        ftp->setCurrentVersion("1.0.0");
        ftp->checkOnLineFirmware();
        QObject *dialog = editor.engine().rootObjects().value(0)->findChild<QObject *>("progressDialog");
        QObject *checking = editorharness::child(dialog, "checking");
        QTRY_VERIFY(ftp->isBusy() && checking->property("visible").toBool());
        QTRY_COMPARE(held.size(), 1); // connected: what Cancel has to let go
        editorharness::click(checking->findChild<QObject *>("cancelCheck"));
        QVERIFY(!ftp->isBusy());
        QTRY_VERIFY(!dialog->property("visible").toBool() && givenUp());

        // Help > System Check: back at once, a box with Cancel meanwhile.
        editor.window().showSystemCheck();
        auto *box = editor.window().findChild<QProgressDialog *>();
        QVERIFY(box && box->isVisible() && prompt->asked().isEmpty());
        QTRY_COMPARE(held.size(), 2);
        box->findChild<QPushButton *>()->click();
        QTRY_VERIFY(!editor.window().findChild<QProgressDialog *>() && givenUp());

        // Once more in Chinese, with a server that hangs up.
        QObject *trans = editor.engine().rootContext()->contextProperty("Tran").value<QObject *>();
        QVERIFY(QMetaObject::invokeMethod(trans, "reTrans", Q_ARG(QString, "简体中文")));
        silent = false;
        editor.window().showSystemCheck();
        QTRY_COMPARE_WITH_TIMEOUT(prompt->asked().size(), 1, 5000);
        QVERIFY2(prompt->asked().first().contains("固件服务器"), qPrintable(prompt->asked().first()));
        QVERIFY(!prompt->asked().first().contains("firmware server"));
        QMetaObject::invokeMethod(trans, "reTrans", Q_ARG(QString, "English"));
    }
};

MAVU_EDITOR_TEST_MAIN(TestSystemCheck)
#include "tst_system_check.moc"
