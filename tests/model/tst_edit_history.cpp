// Undo and redo: every kind of edit taken back and done again in steps named
// after what changed.
#include "model/DataManagement.h"
#include "model/EditHistory.h"
#include "support/model/SettingsFixture.h"

#include <QtTest>

#include <functional>

using namespace layout;
using Data = DataManagement &;
using Edits = std::function<void(Data, EditHistory &)>;
Q_DECLARE_METATYPE(Edits)

class TestEditHistory : public SettingsFixture
{
    Q_OBJECT

private slots:
    // Each row: how many undos take the edits back, the menu's text, the edits.
    void undoAndRedoEveryEdit_data()
    {
        QTest::addColumn<int>("steps");
        QTest::addColumn<QString>("undoText");
        QTest::addColumn<Edits>("edits");
        const auto row = [](const char *name, int steps, const char *text, Edits edits) {
            QTest::newRow(name) << steps << QString(text) << edits;
        };
        const auto field = [](const char *key, int first, int second) {
            return [=](Data d, EditHistory &) {
                d.setPadInfo(2, "padData", first);
                d.setPadInfo(second < 0 ? 3 : 2, key, std::abs(second));
            };
        };
        const auto whole = [](const char *what) {
            return [what](Data d, EditHistory &h) {
                QByteArray other = d.imageBytes();
                other[padOffset(7) + 1] = 5;
                other[kCurveOffset] = 3;
                const EditHistory::Group step(&h, what);
                QString(what) == "restoreDefault" ? d.initDefaultData() : d.setImage(other.constData(), other.size());
            };
        };
        row("colour", 1, "Undo Pad B2 colour", [](Data d, EditHistory &) { d.setPadInfo(17, "padRGB", "#ff0000"); });
        row("knob field", 1, "Undo Knob B2 channel", [](Data d, EditHistory &) { d.setBQMInfo(5, "bqmCh", 3); });
        row("button field", 1, "Undo Button Stop mode",
            [](Data d, EditHistory &) { d.setWalkingBeltInfo(1, "wbMode", 1); });
        row("curve", 1, "Undo velocity curve", [](Data d, EditHistory &) { d.setCurveInten("curve", 2); });
        row("brightness", 1, "Undo several settings", [](Data d, EditHistory &) { d.setLum(3, 0.5f); });
        row("function page fills a bank", 1, "Undo fill bank B", [](Data d, EditHistory &h) {
            h.beginGroup("fillBank", 2);
            d.setPadBatch(2, "cc", true, "padData", 60);
            d.setPadBatchColor(2, "#00ff00");
            d.setLum(2, 0.5f);
            d.setBQMBatch(2, "pitch", "bqmCh", 4);
            d.setCurveInten("intensity", 90);
            h.endGroup();
        });
        row("a batch call alone", 1, "Undo several settings",
            [](Data d, EditHistory &) { d.setPadBatch(1, "note", false, "padCh", 5); });
        row("open preset", 1, "Undo open preset", whole("openPreset"));
        row("get from hardware", 1, "Undo get from hardware", whole("getFromHardware"));
        row("restore the default", 1, "Undo restore the default", whole("restoreDefault"));
        // Repeated edits of one setting merge, those of others do not.
        row("pad field typed twice", 1, "Undo Pad A3 note", field("padData", 40, 41));
        row("typed back as it was", 0, "Undo", field("padData", 40, 26));
        row("two fields of a pad", 2, "Undo Pad A3 channel", field("padCh", 40, 3));
        row("one field of two pads", 2, "Undo Pad A4 note", field("padData", 40, -40));
    }
    void undoAndRedoEveryEdit()
    {
        QFETCH(int, steps);
        QFETCH(QString, undoText);
        QFETCH(Edits, edits);
        m_data.setBQMInfo(0, "bqmCh", 9); // so that the defaults change something
        const QByteArray start = m_data.imageBytes();
        EditHistory history(&m_data);
        edits(m_data, history);
        const QByteArray after = m_data.imageBytes();
        QCOMPARE(history.undoText(), undoText);
        for (int i = 0; i < steps; ++i) {
            QVERIFY(m_data.imageBytes() != start);
            history.undo();
        }
        QCOMPARE(m_data.imageBytes(), start);
        QCOMPARE(history.canUndo(), false); // the undos took no steps of their own
        for (int i = 0; i < steps; ++i)
            history.redo();
        QCOMPARE(m_data.imageBytes(), after);
        QCOMPARE(history.canRedo(), false);
        if (steps == 0)
            return;
        history.undo();
        QCOMPARE(history.redoText(), QString(undoText).replace("Undo", "Redo"));
        m_data.setCurveInten("intensity", 77); // drops the step undone
        QCOMPARE(history.canRedo(), false);
        for (int i = 0; i < steps; ++i)
            history.undo();
        QCOMPARE(m_data.imageBytes(), start);
        QCOMPARE(history.canUndo(), false);
    }
};

QTEST_GUILESS_MAIN(TestEditHistory)
#include "tst_edit_history.moc"
