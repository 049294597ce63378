#pragma once

#include <QList>
#include <QPair>
#include <QString>

#include <functional>

// Rate and time left of a transfer, from the bytes the receiver has
// acknowledged and when. The clock is replaceable, so the arithmetic can be
// driven with chosen times.
class TransferEstimate
{
public:
    // The rate is taken over about this much of the latest transfer...
    static constexpr qint64 kWindowMs = 5000;
    // ...and not given before this much has passed.
    static constexpr qint64 kSettleMs = 500;

    TransferEstimate();
    // Milliseconds on a steady clock.
    void setClock(std::function<qint64()> nowMs) { m_now = std::move(nowMs); }

    // done bytes of total acknowledged now; 0 (or fewer than before) starts afresh.
    void add(qint64 done, qint64 total);

    double bytesPerSecond() const; // 0 while not known
    int secondsLeft() const; // -1 while not known
    // "48.0 of 96.0 KB, 11.2 KB/s, 0:05 left", or only the first part while
    // the rate is not known.
    QString text() const;

private:
    std::function<qint64()> m_now;
    QList<QPair<qint64, qint64>> m_samples; // (ms, bytes), oldest first
    qint64 m_total = 0;
};
