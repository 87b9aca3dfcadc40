// The programmer protocol's codes: protocol states, requested jobs, target families,
// command codes and response codes, and the layout of the reports in both directions.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tarvik {

// State of the running job (ProtocolState).
enum TProtocolState : std::uint8_t {
    stSignature = 0,
    stErase = 1,
    stWrite = 2,
    stWriteFuses = 3,
    stReadFuses = 4,
    stVerify = 5,
    stLockBit1 = 6,
    stLockBit2 = 7,
    stRead = 8,
    stIdle = 9,
    // A job waiting for the user's answer to a question; no report is outstanding.
    stAskUser = 10,
};

// The job the user asked for (RequestedJob).
enum TRequestedJob : std::uint8_t {
    jobErase = 0,
    jobVerify = 1,
    jobProgram = 2,
    jobReadFlash = 3,
    jobReadEeprom = 4,
    jobProgramEeprom = 5,
    jobWriteFuses = 6,
    jobDetect = 7,
};

// Target family, report offset 1.
enum class Family : std::uint8_t {
    AT89Cx051 = 1,
    AT89C5x = 2,
    SerialEeprom = 3,
    AT90S = 4,
    AvrIsp = 5,
};

// Command code, report offset 2.
enum class Command : std::uint8_t {
    ReadSignature = 1,
    Erase = 2,
    WriteFlash = 3,
    Verify = 4,
    ReadFlash = 5,
    WriteLockBit = 6,
    WriteFuses = 7,
    ReadFuses = 8,
    WriteEeprom = 9,
    ReadEeprom = 10,
};

// Response code, first payload byte of an input report (outside stRead).
enum Response : std::uint8_t {
    rspNextChunk = '*',
    rspError = '!',
    rspSignature = 's',
    rspErased = 'e',
    rspWritten = 'w',
    rspVerified = 'v',
    rspLockBit1Done = '1',
    rspLockBit2Done = '2',
    rspFusesWritten = 'f',
    rspFuses = 'r',
};

// Output report: report id, family, command, three parameters, 58 data bytes, one spare.
namespace report {
constexpr std::size_t kOutputLength = 65;
constexpr std::size_t kInputLength = 65; // report id + 64 payload bytes
constexpr std::size_t kReportId = 0;
constexpr std::size_t kFamily = 1;
constexpr std::size_t kCommand = 2;
constexpr std::size_t kParam1 = 3;
constexpr std::size_t kParam2 = 4;
constexpr std::size_t kParam3 = 5;
constexpr std::size_t kData = 6;
constexpr std::size_t kDataCapacity = 58;
constexpr std::size_t kFuseEntries = 4;       // fuse entry k occupies 4 + 3k .. 6 + 3k
constexpr std::size_t kMaxReadPerReport = 63; // count byte + up to 63 data bytes
} // namespace report

using OutputReportBytes = std::array<std::uint8_t, report::kOutputLength>;
using InputReportBytes = std::array<std::uint8_t, report::kInputLength>;

// The programmer's USB identity.
constexpr std::uint16_t kProgrammerVendorId = 0x0451;
constexpr std::uint16_t kProgrammerProductId = 0x3210;

} // namespace tarvik
