#pragma once

#include <QString>

#include <atomic>
#include <thread>

// A serial cable from a pseudo-terminal (the port) to a peer: whatever one end
// writes the other reads, optionally at a fixed byte rate each way (a
// throttled line). The peer is a second pseudo-terminal or a pair of pipes for
// a program's standard input and output. Pipes suit lrzsz: on a terminal rb
// flushes its output as it exits, which can swallow its last ACK before the
// relay has read it. The relay keeps the slave sides open, so a user may close
// and reopen its end; cut() pulls the cable on the port side.
class PtyLink
{
public:
    enum class Peer { Terminal, Pipes };

    explicit PtyLink(int bytesPerSecond = 0, Peer peer = Peer::Pipes);
    ~PtyLink();
    PtyLink(const PtyLink &) = delete;
    PtyLink &operator=(const PtyLink &) = delete;

    bool open(QString *error = nullptr);
    QString portPath() const { return m_portPath; } // the sender's end
    QString peerPath() const { return m_peerPath; } // the receiver's terminal (Peer::Terminal)
    // Paths that give a child process its end of the pipes (Peer::Pipes).
    QString peerInputPath() const;
    QString peerOutputPath() const;
    bool usesPipes() const { return m_peer == Peer::Pipes; }

    // Removes the port side's terminal, as if its USB cable were pulled.
    void cut();
    void close();

    // Bytes carried so far from the port to the peer and back.
    long long forwarded() const { return m_forwarded; }
    long long returned() const { return m_returned; }

private:
    void run();

    int m_bytesPerSecond;
    Peer m_peer;
    bool m_trace; // MAVU_PTYLINK_TRACE: log the traffic on stderr
    int m_portMaster = -1;
    int m_portSlave = -1;
    int m_peerMaster = -1;
    int m_peerSlave = -1;
    int m_toPeer[2] = {-1, -1};
    int m_fromPeer[2] = {-1, -1};
    int m_wake[2] = {-1, -1};
    QString m_portPath;
    QString m_peerPath;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_cut{false};
    std::atomic<bool> m_cutDone{false};
    std::atomic<long long> m_forwarded{0};
    std::atomic<long long> m_returned{0};
};
