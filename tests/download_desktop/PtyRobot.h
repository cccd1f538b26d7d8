#pragma once

// The robot emulator on the far end of a pseudo-terminal: open DevicePath()
// with the real port layer, and the emulator answers as the robot would (or
// misbehaves as its script says). Header-only so any test can use it.

#include "tests/download/RobotEmulator.h"

#include <QString>

#include <memory>
#include <stdexcept>
#include <string>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

class TPtyRobot {
public:
    explicit TPtyRobot(TRobotScript script = {}) {
        char name[256] = {};
        if (::openpty(&Master, &Slave, name, nullptr, nullptr) != 0)
            throw std::runtime_error("openpty failed");
        Path = QString::fromLocal8Bit(name);
        // Raw from the start, so nothing this side sends is echoed or changed
        // before the port layer sets the line up itself.
        termios tio{};
        ::tcgetattr(Slave, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(Slave, TCSANOW, &tio);
        Robot = std::make_unique<TRobotEmulator>(
            std::move(script), [this](std::chrono::milliseconds wait) { return ReadByte(wait); },
            [this](std::span<const std::uint8_t> bytes) { WriteBytes(bytes); },
            [this] { CloseMaster(); });
        Robot->Start();
    }

    ~TPtyRobot() {
        Robot->Finish();
        CloseMaster();
        if (Slave >= 0)
            ::close(Slave);
    }

    // The device name to open, such as /dev/pts/3.
    QString DevicePath() const { return Path; }
    // Ends the emulator; its log is complete afterwards.
    void Finish() { Robot->Finish(); }
    const TRobotLog& Log() const { return Robot->Log(); }

private:
    std::optional<std::uint8_t> ReadByte(std::chrono::milliseconds wait) {
        if (Next < Filled)
            return Buffer[Next++];
        if (Master < 0)
            return std::nullopt;
        pollfd p{Master, POLLIN, 0};
        if (::poll(&p, 1, int(wait.count())) != 1 || !(p.revents & POLLIN))
            return std::nullopt;
        const ssize_t n = ::read(Master, Buffer, sizeof Buffer);
        if (n <= 0)
            return std::nullopt;
        Filled = std::size_t(n);
        Next = 0;
        return Buffer[Next++];
    }

    void WriteBytes(std::span<const std::uint8_t> bytes) {
        std::size_t done = 0;
        while (Master >= 0 && done < bytes.size()) {
            const ssize_t n = ::write(Master, bytes.data() + done, bytes.size() - done);
            if (n > 0)
                done += std::size_t(n);
            else if (errno != EINTR && errno != EAGAIN)
                return;
        }
    }

    // Only the emulator's own thread, or the destructor after it has ended,
    // closes the master: that is what the port sees as the robot unplugged.
    void CloseMaster() {
        if (Master >= 0) {
            ::close(Master);
            Master = -1;
        }
        // Without our slave descriptor the port layer's is the last one.
        if (Slave >= 0) {
            ::close(Slave);
            Slave = -1;
        }
    }

    int Master = -1;
    int Slave = -1;
    QString Path;
    std::uint8_t Buffer[4096];
    std::size_t Filled = 0;
    std::size_t Next = 0;
    std::unique_ptr<TRobotEmulator> Robot;
};
