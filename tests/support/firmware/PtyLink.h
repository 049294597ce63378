#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

#include <atomic>
#include <mutex>
#include <thread>

// A serial cable between two pseudo-terminals, the port and the peer: whatever
// one end writes the other reads, optionally at a fixed byte rate each way (a
// throttled line). A receiver like rb that exits right after its last ACK can
// take that ACK with it, as a controller restarting into new firmware can.
// The relay keeps the slave sides open, so a user may close and reopen its
// end; cut() pulls the cable on the port side.
class PtyLink
{
public:
    explicit PtyLink(int bytesPerSecond = 0);
    ~PtyLink() { close(); }
    PtyLink(const PtyLink &) = delete;
    PtyLink &operator=(const PtyLink &) = delete;

    bool open(QString *error = nullptr);
    QString portPath() const { return m_portPath; } // the sender's end
    QString peerPath() const { return m_peerPath; } // the receiver's terminal

    // Removes the port side's terminal, as if its USB cable were pulled.
    void cut();
    void close();

    // How many of this process's descriptors are open on a terminal, also
    // once it is gone (a pulled cable takes it with it).
    static int descriptorsOn(const QString &path);

    // Bytes carried so far from the port to the peer.
    long long forwarded() const { return m_forwarded; }

    // What crossed the line and when (seconds since open()), once asked to
    // keep it before open().
    struct Delivery {
        double seconds;
        bool forward; // port to peer
        QByteArray bytes;
    };
    void keepTraffic() { m_keep = true; }
    QVector<Delivery> traffic() const;

private:
    void run();

    int m_bytesPerSecond;
    int m_portMaster = -1;
    int m_portSlave = -1;
    int m_peerMaster = -1;
    int m_peerSlave = -1;
    int m_wake[2] = {-1, -1};
    QString m_portPath;
    QString m_peerPath;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_cut{false};
    std::atomic<bool> m_cutDone{false};
    std::atomic<long long> m_forwarded{0};
    std::atomic<long long> m_returned{0};
    bool m_keep = false;
    mutable std::mutex m_trafficMutex;
    QVector<Delivery> m_traffic;
};
