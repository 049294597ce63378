#include "model/DataManagement.h"
#include "model/PresetFile.h"
#include "support/TestSupport.h"

#include <QMimeDatabase>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// The file manager must offer the editor for both preset forms. ".stm" also
// names Scream Tracker modules, so presets are told apart by their first bytes.
class TestPresetMimeType : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_data;
    QTemporaryDir m_files;

private slots:
    void initTestCase()
    {
        const QString packages = m_data.filePath("mime/packages");
        QVERIFY(QDir().mkpath(packages));
        QVERIFY(QFile::copy("/usr/share/mime/packages/freedesktop.org.xml", packages + "/freedesktop.org.xml"));
        QVERIFY(QFile::copy(MAVU_MIME_XML, packages + "/korvel-mavu.xml"));
        QCOMPARE(QProcess::execute("update-mime-database", {m_data.filePath("mime")}), 0);
        // Before the first QMimeDatabase, so that only this folder is read.
        qputenv("XDG_DATA_DIRS", m_data.path().toUtf8());
        qputenv("XDG_DATA_HOME", m_data.filePath("home").toUtf8());
    }

    void presetsAreRecognisedByContent()
    {
        DataManagement d;
        d.initDefaultData();
        const QString stm = m_files.filePath("bank.stm");
        const QString syx = m_files.filePath("bank.syx");
        const QString renamed = m_files.filePath("preset-without-ending");
        QVERIFY(preset::writeFile(stm, d.imageBytes(), nullptr));
        QVERIFY(preset::writeFile(syx, d.imageBytes(), nullptr));
        QVERIFY(preset::writeFile(renamed, d.imageBytes(), preset::Format::Stm, nullptr));

        QMimeDatabase db;
        QCOMPARE(db.mimeTypeForFile(stm).name(), QString("application/x-korvel-mavu-preset"));
        QCOMPARE(db.mimeTypeForFile(syx).name(), QString("application/x-midi-sysex"));
        QCOMPARE(db.mimeTypeForFile(renamed, QMimeDatabase::MatchContent).name(),
            QString("application/x-korvel-mavu-preset"));
    }
};

QTEST_GUILESS_MAIN(TestPresetMimeType)
#include "tst_preset_mime_type.moc"
