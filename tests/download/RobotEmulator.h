#pragma once

// The robot's side of the download protocol, for tests and benchmarks. It
// reads this side's bytes and writes its own through functions supplied by
// the link it runs on (an in-process fake port, or a pseudo-terminal), on a
// thread of its own. A script says how the robot misbehaves; the log says what
// it saw.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <thread>
#include <vector>

struct TRobotScript {
    bool Silent = false;                       // never answers anything
    int RejectOpening = 0;                     // answers A5 to that many opening frames
    std::optional<std::uint8_t> OddAnswerOnce; // first answer to the opening frame
    std::vector<std::uint8_t> FirstReply = {0x01};
    bool CorruptFirstReplySumOnce = false;   // sum wrong, check byte right
    bool CorruptFirstReplyCheckOnce = false; // check byte wrong, sum right
    std::vector<std::uint8_t> HeaderReply = {0xAA, 0xAA};
    int HangUpAfterBytes = -1; // drops the link after that many bytes
};

struct TRobotLog {
    std::vector<std::uint8_t> Wire;                // every byte this side sent
    std::vector<std::vector<std::uint8_t>> Frames; // data of every frame received
    std::vector<std::uint8_t> Acks;                // answers to the robot's frames
    std::vector<std::uint8_t> Image;               // the data packets, joined
    int OpeningFrames = 0;
    int DataFrames = 0;
    bool Completed = false;
    std::chrono::nanoseconds ReplyTime{0}; // spent between a last byte read and the reply written
};

class TRobotEmulator {
public:
    using TRead = std::function<std::optional<std::uint8_t>(std::chrono::milliseconds)>;
    using TWrite = std::function<void(std::span<const std::uint8_t>)>;
    using THangUp = std::function<void()>;

    TRobotEmulator(TRobotScript script, TRead read, TWrite write, THangUp hangUp = {})
        : Script(std::move(script)), Read(std::move(read)), Write(std::move(write)),
          HangUp(std::move(hangUp)) {}
    ~TRobotEmulator() { Finish(); }

    void Start() {
        Worker = std::thread([this] {
            try {
                Play();
            } catch (const TEnd&) {
            }
        });
    }

    // Stops waiting for bytes and joins; the log is complete afterwards.
    void Finish() {
        Stop.store(true);
        if (Worker.joinable())
            Worker.join();
    }

    const TRobotLog& Log() const { return RobotLog; }

private:
    struct TEnd {};
    static constexpr std::uint8_t Accept = 0x5A;
    static constexpr std::uint8_t Reject = 0xA5;

    std::uint8_t Next() {
        // Idle limit: this side never pauses for more than a GetChar wait or
        // a data packet pause, so a long silence means it gave up.
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (!Stop.load() && std::chrono::steady_clock::now() < giveUp) {
            if (const auto byte = Read(std::chrono::milliseconds(10))) {
                RobotLog.Wire.push_back(*byte);
                if (Script.HangUpAfterBytes >= 0 &&
                    int(RobotLog.Wire.size()) >= Script.HangUpAfterBytes) {
                    if (HangUp)
                        HangUp();
                    throw TEnd{};
                }
                LastRead = std::chrono::steady_clock::now();
                return *byte;
            }
        }
        throw TEnd{};
    }

    void Reply(std::span<const std::uint8_t> bytes) {
        Write(bytes);
        RobotLog.ReplyTime += std::chrono::steady_clock::now() - LastRead;
    }

    static void Checksum(std::span<const std::uint8_t> data, std::uint16_t& sum,
                         std::uint8_t& check) {
        sum = 0;
        check = 0;
        for (const std::uint8_t b : data) {
            sum = std::uint16_t(sum + b);
            check ^= b;
        }
    }

    // Reads one frame; true when its sums hold.
    bool ReadFrame(std::vector<std::uint8_t>& data) {
        int n = Next();
        if (n == 0)
            n = 256;
        data.clear();
        for (int i = 0; i < n; ++i)
            data.push_back(Next());
        const std::uint8_t sumLow = Next();
        const std::uint8_t sumHigh = Next();
        const std::uint8_t check = Next();
        RobotLog.Frames.push_back(data);
        std::uint16_t sum;
        std::uint8_t expected;
        Checksum(data, sum, expected);
        return sum == std::uint16_t(sumLow | (sumHigh << 8)) && check == expected;
    }

    std::vector<std::uint8_t> ReceiveOpening() {
        std::vector<std::uint8_t> data;
        int rejectsLeft = Script.RejectOpening;
        int odd = Script.OddAnswerOnce ? int(*Script.OddAnswerOnce) : -1;
        for (;;) {
            const bool good = ReadFrame(data);
            ++RobotLog.OpeningFrames;
            std::uint8_t answer = Accept;
            if (!good || rejectsLeft > 0) {
                answer = Reject;
                if (good)
                    --rejectsLeft;
            } else if (odd >= 0) {
                answer = std::uint8_t(odd);
                odd = -1;
            }
            const std::uint8_t reply[] = {answer};
            Reply(reply);
            if (answer == Accept)
                return data;
        }
    }

    std::vector<std::uint8_t> Receive() {
        std::vector<std::uint8_t> data;
        for (;;) {
            const bool good = ReadFrame(data);
            const std::uint8_t reply[] = {good ? Accept : Reject};
            Reply(reply);
            if (good)
                return data;
        }
    }

    void Send(std::span<const std::uint8_t> data, bool corruptSum, bool corruptCheck) {
        for (;;) {
            std::uint16_t sum;
            std::uint8_t check;
            Checksum(data, sum, check);
            if (corruptSum)
                sum = std::uint16_t(sum + 1);
            if (corruptCheck)
                check ^= 0x80;
            corruptSum = corruptCheck = false;
            std::vector<std::uint8_t> frame;
            frame.push_back(std::uint8_t(data.size() & 0xFF));
            frame.insert(frame.end(), data.begin(), data.end());
            frame.push_back(std::uint8_t(sum & 0xFF));
            frame.push_back(std::uint8_t(sum >> 8));
            frame.push_back(check);
            Reply(frame);
            const std::uint8_t ack = Next();
            RobotLog.Acks.push_back(ack);
            if (ack == Accept)
                return;
        }
    }

    void Play() {
        if (Script.Silent) {
            for (;;)
                Next();
        }
        ReceiveOpening();
        Send(Script.FirstReply, Script.CorruptFirstReplySumOnce, Script.CorruptFirstReplyCheckOnce);
        const std::vector<std::uint8_t> header = Receive();
        Send(Script.HeaderReply, false, false);
        if (Script.HeaderReply.size() < 2 || Script.HeaderReply[0] != 0xAA ||
            Script.HeaderReply[1] != 0xAA)
            return;
        const std::size_t length = header.size() >= 2 ? header[0] | (header[1] << 8) : 0;
        const std::size_t packets = (length + 63) / 64;
        for (std::size_t k = 0; k < packets; ++k) {
            const std::vector<std::uint8_t> data = Receive();
            ++RobotLog.DataFrames;
            RobotLog.Image.insert(RobotLog.Image.end(), data.begin(), data.end());
        }
        RobotLog.Completed = true;
    }

    TRobotScript Script;
    TRead Read;
    TWrite Write;
    THangUp HangUp;
    std::atomic<bool> Stop{false};
    std::chrono::steady_clock::time_point LastRead = std::chrono::steady_clock::now();
    TRobotLog RobotLog;
    std::thread Worker;
};
