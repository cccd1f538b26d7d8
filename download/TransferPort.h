#pragma once

// What the transfer needs of a serial port, called from the transfer thread
// while the port's owner receives on the GUI thread. Failures throw.

#include <cstdint>

class ITransferPort {
public:
    virtual ~ITransferPort() = default;
    // Queues one byte for sending.
    virtual void WriteByte(std::uint8_t byte) = 0;
    // Bytes queued but not yet sent; 0 once all have left.
    virtual int PendingOutput() = 0;
};
