#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// Collects the program's debug lines while started, so a test can count the
// writes the settings model reports.
class LogProbe : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~LogProbe() override;

    Q_INVOKABLE void start();
    Q_INVOKABLE void stop();
    // Lines that contain every one of the given parts.
    Q_INVOKABLE int count(const QStringList &parts) const;
    Q_INVOKABLE QStringList lines() const { return m_lines; }

private:
    QStringList m_lines;
};
