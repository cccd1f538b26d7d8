#pragma once

// The robot's framed, acknowledged packet protocol and the sequence of one
// download. Runs on the transfer thread; talks to the port only through
// ITransferPort and reads the robot's bytes from the receive queue.

#include "download/ReceiveQueue.h"
#include "download/TransferPort.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

inline constexpr std::uint8_t FrameAccepted = 0x5A;
inline constexpr std::uint8_t FrameRejected = 0xA5;
inline constexpr int PacketAttempts = 11;
inline constexpr std::size_t DataPacketSize = 64;
inline constexpr std::chrono::milliseconds GetCharWait{100};
inline constexpr std::chrono::milliseconds DataPacketPause{50};

struct TFrameChecksum {
    std::uint16_t Sum = 0;
    std::uint8_t Check = 0;
};

TFrameChecksum FrameChecksum(std::span<const std::uint8_t> data);

// The header packet: the image length's low 16 bits, then the filler 2..71.
std::vector<std::uint8_t> BuildHeaderPacket(std::uint32_t imageLength);

inline const std::vector<std::uint8_t> OpeningPacket = {0x00, 0x54, 0x43, 0xE8, 0x03, 0x00, 0xFA};

// Ends a download: a time-out, a stop request, or a fault of the port.
class ETransferError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TTransferProtocol {
public:
    using TTraceHandler = std::function<void(const std::string&)>;

    TTransferProtocol(ITransferPort& port, TReceiveQueue& queue, const std::atomic<bool>& stop);

    void PutChar(std::uint8_t byte);
    std::uint8_t GetChar();

    int SendFrame(std::span<const std::uint8_t> data);
    int ReceiveFrame(std::uint8_t (&buffer)[256], int* count);
    int SendPacket(std::span<const std::uint8_t> data);
    int ReceivePacket(std::uint8_t (&buffer)[256], int* count);

    // One whole download: 0 succeeded, 1 failed. Never throws; trace lines
    // go to trace as each step completes.
    int Run(std::span<const std::uint8_t> image, const TTraceHandler& trace);

private:
    void Pause(std::chrono::milliseconds duration);

    ITransferPort& Port;
    TReceiveQueue& Queue;
    const std::atomic<bool>& Stop;
};
