#pragma once

#include <atomic>
#include <cstddef>
#include <memory>

// Hands received MIDI messages from one producer thread (JACK's real-time
// process thread) to one consumer thread without a lock or an allocation on
// the producer's side: a ring of slots allocated up front, each big enough
// for the controller's 458-byte settings image with room to spare.
class SysExQueue
{
public:
    static constexpr int kSlotBytes = 1024;

    explicit SysExQueue(int slotCount);
    SysExQueue(const SysExQueue &) = delete;
    SysExQueue &operator=(const SysExQueue &) = delete;

    // Producer. Copies the message into a free slot. A message longer than a
    // slot, or one that finds every slot taken, is dropped and counted; an
    // empty one is not queued.
    bool push(const unsigned char *data, std::size_t len);

    // Consumer. Copies the oldest message into out (kSlotBytes long) and
    // returns its length; 0 when nothing is waiting.
    int pop(char *out);

    // Consumer. Messages dropped so far, for the consumer to report.
    unsigned droppedTooLong() const { return m_tooLong.load(std::memory_order_relaxed); }
    unsigned droppedFull() const { return m_full.load(std::memory_order_relaxed); }

private:
    struct Slot {
        int len = 0;
        char bytes[kSlotBytes];
    };

    const std::size_t m_count;
    std::unique_ptr<Slot[]> m_slots;
    // Messages ever written and read; each side writes only its own.
    std::atomic<std::size_t> m_written{0};
    std::atomic<std::size_t> m_read{0};
    std::atomic<unsigned> m_tooLong{0};
    std::atomic<unsigned> m_full{0};
};
