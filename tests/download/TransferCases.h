#pragma once

// Downloads against a scripted robot that every link (the in-process fake
// port and the real port layer on a pseudo-terminal) must finish the same way.

#include "tests/download/RobotEmulator.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

struct TTransferCase {
    std::string Name;
    TRobotScript Script;
    std::size_t ImageSize = 39;
    int Result = 0;                                // the transfer result
    int OpeningFrames = 1;                         // opening frames the robot saw
    std::vector<std::uint8_t> Acks = {0x5A, 0x5A}; // this side's answers to the robot
};

inline void PrintTo(const TTransferCase& c, std::ostream* os) {
    *os << c.Name;
}

inline std::vector<std::uint8_t> TestImage(std::size_t size) {
    std::vector<std::uint8_t> image(size);
    for (std::size_t i = 0; i < size; ++i)
        image[i] = std::uint8_t(i * 7 + 3);
    return image;
}

inline std::vector<TTransferCase> TransferCases() {
    std::vector<TTransferCase> cases;
    const auto add = [&](std::string name, auto edit) {
        TTransferCase c;
        c.Name = std::move(name);
        edit(c);
        cases.push_back(std::move(c));
    };
    add("Accepted", [](TTransferCase&) {});
    add("EmptyListingImage", [](TTransferCase& c) { c.ImageSize = 3; });
    add("ExactlyOnePacket", [](TTransferCase& c) { c.ImageSize = 64; });
    add("ExactlyTwoPackets", [](TTransferCase& c) { c.ImageSize = 128; });
    add("FirstReplyOf256Bytes", [](TTransferCase& c) { c.Script.FirstReply = TestImage(256); });
    add("RobotSilent", [](TTransferCase& c) {
        c.Script.Silent = true;
        c.Result = 1;
        c.OpeningFrames = 0;
        c.Acks = {};
    });
    add("OpeningRejected11Times", [](TTransferCase& c) {
        c.Script.RejectOpening = 11;
        c.Result = 1;
        c.OpeningFrames = 11;
        c.Acks = {};
    });
    add("OpeningRejected10Times", [](TTransferCase& c) {
        c.Script.RejectOpening = 10;
        c.OpeningFrames = 11;
    });
    add("AnswerNeitherAcceptNorReject", [](TTransferCase& c) {
        c.Script.OddAnswerOnce = 0x00;
        c.OpeningFrames = 2;
    });
    add("ReplyWithWrongSum", [](TTransferCase& c) {
        c.Script.CorruptFirstReplySumOnce = true;
        c.Acks = {0xA5, 0x5A, 0x5A};
    });
    add("ReplyWithWrongCheckByte", [](TTransferCase& c) {
        c.Script.CorruptFirstReplyCheckOnce = true;
        c.Acks = {0xA5, 0x5A, 0x5A};
    });
    add("HeaderReplyOfOneByte", [](TTransferCase& c) {
        c.Script.HeaderReply = {0xAA};
        c.Result = 1;
    });
    add("HeaderReplyABAA", [](TTransferCase& c) {
        c.Script.HeaderReply = {0xAB, 0xAA};
        c.Result = 1;
    });
    add("LinkDroppedDuringHeader", [](TTransferCase& c) {
        c.Script.HangUpAfterBytes = 11 + 20;
        c.Result = 1;
        c.Acks = {0x5A};
    });
    return cases;
}
