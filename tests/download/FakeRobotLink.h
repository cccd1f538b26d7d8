#pragma once

// An in-process link between the transfer and the robot emulator: the
// transfer's writes go to a queue the emulator reads on its own thread, the
// emulator's replies go into the transfer's receive queue, as the GUI thread
// would put them there.

#include "download/ReceiveQueue.h"
#include "download/TransferPort.h"
#include "tests/download/RobotEmulator.h"

#include <atomic>
#include <memory>
#include <stdexcept>

class TFakeRobotLink : public ITransferPort {
public:
    explicit TFakeRobotLink(const TRobotScript& script)
        : Robot(
              script,
              [this](std::chrono::milliseconds wait) { return ToRobot.WaitByte(wait, Never); },
              [this](std::span<const std::uint8_t> bytes) {
                  if (!Dropped.load())
                      Received.QueueBytes(bytes);
              },
              [this] { Dropped.store(true); }) {
        Robot.Start();
    }
    // The robot's thread reads the members below: it must end first.
    ~TFakeRobotLink() override { Robot.Finish(); }

    void WriteByte(std::uint8_t byte) override {
        if (Dropped.load())
            throw std::runtime_error("link dropped");
        ToRobot.QueueByte(byte);
        // Pretend the byte needs a few polls to leave, as on a real line.
        Pending.store(3);
    }
    int PendingOutput() override {
        if (Dropped.load())
            throw std::runtime_error("link dropped");
        const int left = Pending.load();
        if (left > 0)
            Pending.store(left - 1);
        return left;
    }

    TReceiveQueue Received; // what the transfer reads
    TRobotEmulator Robot;

private:
    TReceiveQueue ToRobot;
    const std::atomic<bool> Never{false};
    std::atomic<bool> Dropped{false};
    std::atomic<int> Pending{0};
};
