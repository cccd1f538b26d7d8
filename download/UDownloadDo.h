#pragma once

// The transfer thread: one download of one program image. It owns its copy of
// the image, runs the protocol on its own thread and reports each trace line
// and, as its last act, the result (0 succeeded, 1 failed) through the
// handlers, called on the transfer thread; the owner hands them on to the GUI
// thread. Destroying the object stops the download and waits for the thread,
// so the port and the queue it uses must outlive it.

#include "download/ReceiveQueue.h"
#include "download/TransferPort.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

class TSendDataThread {
public:
    using TTraceHandler = std::function<void(const std::string&)>;
    using TDoneHandler = std::function<void(int result)>;

    // Starts at once.
    TSendDataThread(ITransferPort& port, TReceiveQueue& queue, std::vector<std::uint8_t> image,
                    TTraceHandler onTrace, TDoneHandler onDone);
    ~TSendDataThread();

    TSendDataThread(const TSendDataThread&) = delete;
    TSendDataThread& operator=(const TSendDataThread&) = delete;

    // Makes a running download fail at its next byte, wait or pause.
    void RequestStop();
    void Join();

    std::int32_t ImageLength() const { return Length; }

private:
    void Execute();

    ITransferPort& Port;
    TReceiveQueue& Queue;
    std::vector<std::uint8_t> Image;
    const std::int32_t Length;
    TTraceHandler OnTrace;
    TDoneHandler OnDone;
    std::atomic<bool> Stop{false};
    std::thread Worker; // last: starts once everything above is set
};
