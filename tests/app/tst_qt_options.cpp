// Qt's own options on the editor's command line (-platform xcb, the usual
// Wayland workaround, -style, -reverse, session restore's -session ID) are
// taken as every Qt program takes them, beside the editor's own.
#include "app/AppOptions.h"
#include "support/EditorHarness.h"

#include <QtTest>

class TestQtOptions : public QObject
{
    Q_OBJECT

private slots:
    void qtOptionsAreTaken_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("seen"); // the editor's own options | files, or "error"
        QTest::newRow("platform") << QStringList{"-platform", "xcb", "a.stm"} << " | a.stm";
        QTest::newRow("two dashes, with =") << QStringList{"--platform=wayland", "-style=Fusion"} << " | ";
        QTest::newRow("style, reverse, session")
            << QStringList{"-style", "Fusion", "-reverse", "-session", "1f_2"} << " | ";
        QTest::newRow("beside the editor's")
            << QStringList{"--simulator", "-platform", "offscreen", "-v", "b.syx"} << "sim version | b.syx";
        QTest::newRow("others still refused") << QStringList{"-platforms", "xcb"} << "error";
    }
    void qtOptionsAreTaken()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, seen);
        const AppOptions o = AppOptions::parse(QStringList{"korvel-mavu"} + args);
        if (!o.error.isEmpty())
            QCOMPARE(QString("error"), seen);
        else
            QCOMPARE(QStringList({o.simulator ? "sim" : "", o.showVersion ? "version" : ""}).join(' ').trimmed() + " | "
                    + o.files.join(','),
                seen);
    }

    // The program itself: Qt takes them off before the editor starts.
    void editorStartsWithThem()
    {
        EditorProcess editor;
        QVERIFY(editor.start({"-platform", "offscreen", "-reverse", "-session", "1f_2", "--simulator"}));
        QVERIFY(editor.isRunning());
    }
};

QTEST_GUILESS_MAIN(TestQtOptions)
#include "tst_qt_options.moc"
