#include "device/SysExQueue.h"

#include <cstring>

static_assert(std::atomic<std::size_t>::is_always_lock_free, "the queue's counters must not take a lock");

SysExQueue::SysExQueue(int slotCount)
    : m_count(std::size_t(slotCount > 0 ? slotCount : 1))
    , m_slots(new Slot[m_count])
{ }

bool SysExQueue::push(const unsigned char *data, std::size_t len)
{
    if (len == 0)
        return false;
    if (len > std::size_t(kSlotBytes)) {
        m_tooLong.fetch_add(1, std::memory_order_relaxed);
        return false;
    }
    const std::size_t written = m_written.load(std::memory_order_relaxed);
    if (written - m_read.load(std::memory_order_acquire) == m_count) {
        m_full.fetch_add(1, std::memory_order_relaxed);
        return false;
    }
    Slot &slot = m_slots[written % m_count];
    std::memcpy(slot.bytes, data, len);
    slot.len = int(len);
    m_written.store(written + 1, std::memory_order_release);
    return true;
}

int SysExQueue::pop(char *out)
{
    const std::size_t read = m_read.load(std::memory_order_relaxed);
    if (read == m_written.load(std::memory_order_acquire))
        return 0;
    const Slot &slot = m_slots[read % m_count];
    const int len = slot.len;
    std::memcpy(out, slot.bytes, std::size_t(len));
    m_read.store(read + 1, std::memory_order_release);
    return len;
}
