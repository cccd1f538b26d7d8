#include "download/TransferProtocol.h"

#include <algorithm>
#include <thread>

namespace {

// A port without flow control empties its transmit queue within a byte time;
// a queue that stays full this long belongs to a port that no longer sends.
constexpr auto DrainLimit = std::chrono::seconds(2);

} // namespace

TFrameChecksum FrameChecksum(std::span<const std::uint8_t> data) {
    TFrameChecksum result;
    for (const std::uint8_t byte : data) {
        result.Sum = std::uint16_t(result.Sum + byte);
        result.Check ^= byte;
    }
    return result;
}

std::vector<std::uint8_t> BuildHeaderPacket(std::uint32_t imageLength) {
    std::vector<std::uint8_t> header(72);
    header[0] = std::uint8_t(imageLength & 0xFF);
    header[1] = std::uint8_t((imageLength >> 8) & 0xFF);
    for (std::size_t i = 2; i < header.size(); ++i)
        header[i] = std::uint8_t(i);
    return header;
}

TTransferProtocol::TTransferProtocol(ITransferPort& port, TReceiveQueue& queue,
                                     const std::atomic<bool>& stop)
    : Port(port), Queue(queue), Stop(stop) {}

void TTransferProtocol::PutChar(std::uint8_t byte) {
    if (Stop.load())
        throw ETransferError("transfer stopped");
    Port.WriteByte(byte);
    const auto deadline = std::chrono::steady_clock::now() + DrainLimit;
    while (Port.PendingOutput() > 0) {
        if (Stop.load())
            throw ETransferError("transfer stopped");
        if (std::chrono::steady_clock::now() > deadline)
            throw ETransferError("PutChar Timeout");
        std::this_thread::sleep_for(std::chrono::microseconds(20));
    }
}

std::uint8_t TTransferProtocol::GetChar() {
    if (const auto byte = Queue.WaitByte(GetCharWait, Stop))
        return *byte;
    throw ETransferError(Stop.load() ? "transfer stopped" : "GetChar Timeout");
}

int TTransferProtocol::SendFrame(std::span<const std::uint8_t> data) {
    const TFrameChecksum checksum = FrameChecksum(data);
    PutChar(std::uint8_t(data.size() & 0xFF)); // 256 travels as 0
    for (const std::uint8_t byte : data)
        PutChar(byte);
    PutChar(std::uint8_t(checksum.Sum & 0xFF));
    PutChar(std::uint8_t(checksum.Sum >> 8));
    PutChar(checksum.Check);
    return GetChar() == FrameAccepted ? 0 : 3;
}

int TTransferProtocol::ReceiveFrame(std::uint8_t (&buffer)[256], int* count) {
    int n = GetChar();
    if (n == 0)
        n = 256;
    for (int i = 0; i < n; ++i)
        buffer[i] = GetChar();
    const std::uint8_t sumLow = GetChar();
    const std::uint8_t sumHigh = GetChar();
    const std::uint8_t check = GetChar();
    const TFrameChecksum expected = FrameChecksum(std::span<const std::uint8_t>(buffer, size_t(n)));
    if (count)
        *count = n;
    if (expected.Sum == std::uint16_t(sumLow | (sumHigh << 8)) && expected.Check == check) {
        PutChar(FrameAccepted);
        return 0;
    }
    PutChar(FrameRejected);
    return 3;
}

int TTransferProtocol::SendPacket(std::span<const std::uint8_t> data) {
    for (int attempt = 0; attempt < PacketAttempts; ++attempt)
        if (SendFrame(data) == 0)
            return 0;
    return 1;
}

int TTransferProtocol::ReceivePacket(std::uint8_t (&buffer)[256], int* count) {
    for (int attempt = 0; attempt < PacketAttempts; ++attempt)
        if (ReceiveFrame(buffer, count) == 0)
            return 0;
    return 1;
}

void TTransferProtocol::Pause(std::chrono::milliseconds duration) {
    // Sleeps in short steps so that a stop request does not wait for the
    // whole pause.
    const auto until = std::chrono::steady_clock::now() + duration;
    while (!Stop.load()) {
        const auto left = until - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero())
            return;
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(left, std::chrono::milliseconds(5)));
    }
}

int TTransferProtocol::Run(std::span<const std::uint8_t> image, const TTraceHandler& trace) {
    const auto emit = [&](const std::string& line) {
        if (trace)
            trace(line);
    };
    try {
        std::uint8_t reply[256];
        int replyCount = 0;
        if (SendPacket(OpeningPacket) != 0)
            return 1;
        emit("1");
        if (ReceivePacket(reply, &replyCount) != 0)
            return 1;
        emit("2");
        if (SendPacket(BuildHeaderPacket(std::uint32_t(image.size()))) != 0)
            return 1;
        emit("3");
        if (ReceivePacket(reply, &replyCount) != 0)
            return 1;
        emit("4");
        if (replyCount < 2 || reply[0] != 0xAA || reply[1] != 0xAA)
            return 1;
        const std::size_t packets = (image.size() + DataPacketSize - 1) / DataPacketSize;
        for (std::size_t k = 1; k <= packets; ++k) {
            const std::size_t offset = DataPacketSize * (k - 1);
            const std::size_t size = std::min(DataPacketSize, image.size() - offset);
            if (SendPacket(image.subspan(offset, size)) != 0)
                return 1;
            emit("5:" + std::to_string(k));
            Pause(DataPacketPause);
        }
        return Stop.load() ? 1 : 0;
    } catch (const std::exception&) {
        return 1;
    }
}
