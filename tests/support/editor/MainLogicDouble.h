#pragma once

#include <QColor>
#include <QMap>
#include <QObject>
#include <QString>

// Counts the calls the pages make, by slot name.
class CallCounter : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    Q_INVOKABLE int calls(const QString &slot) const { return m_calls.value(slot); }

signals:
    void called(const QString &slot);

protected:
    void count(const char *slot)
    {
        ++m_calls[QLatin1String(slot)];
        emit called(QLatin1String(slot));
    }

private:
    QMap<QString, int> m_calls;
};

// Stands in for the document as "Document".
class DocumentDouble : public CallCounter
{
    Q_OBJECT
public:
    using CallCounter::CallCounter;

signals:
    void commitEditsRequested();

public slots:
    void save() { count("save"); }
    void saveAs() { count("saveAs"); }
    void openFile() { count("openFile"); }
    void restoreDefault() { count("restoreDefault"); }
    bool confirmClose() { return true; }
};

// Stands in for the main window as "MainLogic": records the calls the pages
// make and lets a test raise the window's signals.
class MainLogicDouble : public CallCounter
{
    Q_OBJECT
public:
    using CallCounter::CallCounter;

    Q_INVOKABLE void raiseDevStateChanged(bool state) { emit devStateChanged(state); }
    Q_INVOKABLE void raiseUpdateModeFound() { emit updateModeFound(); }
    Q_INVOKABLE void raiseControlHit(const QString &kind, int index) { emit controlHit(kind, index); }

signals:
    void showHint(bool isSend, bool isSuccess);
    void screenChanged();
    void devStateChanged(bool state);
    void updateModeFound();
    void s_snNum(QString snStr);
    void controlHit(QString kind, int index);

public slots:
    void sendData() { count("sendData"); }
    void getData() { count("getData"); }
    QString rgbtoStr(int r, int g, int b)
    {
        const QColor color(r, g, b, 255);
        return color.isValid() ? color.name() : QStringLiteral("#000000");
    }
    double getScalingRate() { return 1.0; }
    void updateProgra(int, int) { count("updateProgra"); }
    QString getSoftVersion() { return QStringLiteral("1.0.1.1"); }
    double getScreenScaleFactor() { return 1.0; }
    double zoom() const { return m_zoom; }
    void setZoom(double zoom) { m_zoom = zoom; }
    void showSystemCheck() { count("showSystemCheck"); }
    void setShownBanks(int, int) { count("setShownBanks"); }
    void openWebPage(const QString &) { count("openWebPage"); }

private:
    double m_zoom = 1.0;
};
