#include "firmware/TransferEstimate.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cmath>
#include <memory>

namespace {

QString kilobytes(double bytes)
{
    return QString::number(bytes / 1024.0, 'f', 1);
}

} // namespace

TransferEstimate::TransferEstimate()
{
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    m_now = [clock] { return clock->elapsed(); };
}

void TransferEstimate::add(qint64 done, qint64 total)
{
    const qint64 now = m_now();
    if (done <= 0 || m_samples.isEmpty() || done < m_samples.last().second)
        m_samples.clear();
    m_total = total;
    m_samples.append({now, done});
    // Keep the last sample at or before the window's start as its left edge.
    while (m_samples.size() > 2 && m_samples.at(1).first <= now - kWindowMs)
        m_samples.removeFirst();
}

double TransferEstimate::bytesPerSecond() const
{
    if (m_samples.size() < 2)
        return 0;
    const qint64 ms = m_samples.last().first - m_samples.first().first;
    if (ms < kSettleMs)
        return 0;
    return double(m_samples.last().second - m_samples.first().second) * 1000.0 / double(ms);
}

int TransferEstimate::secondsLeft() const
{
    const double rate = bytesPerSecond();
    if (rate <= 0)
        return -1;
    return int(std::ceil(double(m_total - m_samples.last().second) / rate));
}

QString TransferEstimate::text() const
{
    const qint64 done = m_samples.isEmpty() ? 0 : m_samples.last().second;
    const QString amount = QCoreApplication::translate("TransferEstimate", "%1 of %2 KB")
                               .arg(kilobytes(double(done)), kilobytes(double(m_total)));
    const int left = secondsLeft();
    if (left < 0)
        return amount;
    const QString time = QStringLiteral("%1:%2").arg(left / 60).arg(left % 60, 2, 10, QLatin1Char('0'));
    return QCoreApplication::translate("TransferEstimate", "%1, %2 KB/s, %3 left")
        .arg(amount, kilobytes(bytesPerSecond()), time);
}
