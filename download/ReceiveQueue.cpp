#include "download/ReceiveQueue.h"

void TReceiveQueue::QueueByte(std::uint8_t byte) {
    QueueBytes(std::span(&byte, 1));
}

void TReceiveQueue::QueueBytes(std::span<const std::uint8_t> bytes) {
    if (bytes.empty())
        return;
    {
        std::lock_guard lock(Mutex);
        Bytes.insert(Bytes.end(), bytes.begin(), bytes.end());
    }
    Arrived.notify_one();
}

std::optional<std::uint8_t> TReceiveQueue::DequeueByte() {
    std::lock_guard lock(Mutex);
    if (Bytes.empty())
        return std::nullopt;
    const std::uint8_t byte = Bytes.front();
    Bytes.pop_front();
    return byte;
}

std::optional<std::uint8_t> TReceiveQueue::WaitByte(std::chrono::milliseconds timeout,
                                                    const std::atomic<bool>& stop) {
    std::unique_lock lock(Mutex);
    Arrived.wait_for(lock, timeout, [&] { return !Bytes.empty() || stop.load(); });
    if (Bytes.empty() || stop.load())
        return std::nullopt;
    const std::uint8_t byte = Bytes.front();
    Bytes.pop_front();
    return byte;
}

void TReceiveQueue::Wake() {
    // Taking the lock orders the stopper's flag store before a waiter's check,
    // so the notification cannot fall between the check and the wait.
    { std::lock_guard lock(Mutex); }
    Arrived.notify_all();
}

void TReceiveQueue::Clear() {
    std::lock_guard lock(Mutex);
    Bytes.clear();
}

std::size_t TReceiveQueue::Count() const {
    std::lock_guard lock(Mutex);
    return Bytes.size();
}
