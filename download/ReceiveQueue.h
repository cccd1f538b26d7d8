#pragma once

// The bytes received from the robot, in order: appended by the GUI thread as
// the port reports them, taken by the transfer thread. One producer and one
// consumer; the consumer may wait for a byte with a time-out that ends as soon
// as a byte arrives or a stop is requested.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <span>

class TReceiveQueue {
public:
    void QueueByte(std::uint8_t byte);
    void QueueBytes(std::span<const std::uint8_t> bytes);

    // The first byte, or nullopt when the queue is empty.
    std::optional<std::uint8_t> DequeueByte();

    // The first byte, waiting up to timeout for one; nullopt on time-out or
    // once stop is set (a stopper sets it, then calls Wake).
    std::optional<std::uint8_t> WaitByte(std::chrono::milliseconds timeout,
                                         const std::atomic<bool>& stop);

    // Lets a waiting consumer look at its stop flag again.
    void Wake();

    void Clear();
    std::size_t Count() const;

private:
    mutable std::mutex Mutex;
    std::condition_variable Arrived;
    std::deque<std::uint8_t> Bytes;
};
