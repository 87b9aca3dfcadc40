// The record's memory, measured with glibc's heap statistics (mallinfo2).
#include <gtest/gtest.h>

#include <malloc.h>

#include "host.h"

namespace tarvik::emulator::test {
namespace {

// A programmer nobody asked to record (as serve-emulator serves it for hours) stays the same
// size however many reports it answers.
TEST(Record, NoneIsKeptUnlessAsked) {
    VirtualProgrammer programmer("ATmega8");
    Host host{programmer, Family::AvrIsp};
    const auto request = host.report(Command::ReadSignature);
    host.send(request);
    const std::size_t heapBefore = ::mallinfo2().uordblks;
    for (int i = 0; i < 1'000'000; ++i)
        (void)programmer.onOutputReport(request);
    const std::size_t heapAfter = ::mallinfo2().uordblks;
    EXPECT_EQ(programmer.reportsReceived(), 1'000'001U);
    EXPECT_TRUE(programmer.record().empty());
    EXPECT_LT(heapAfter, heapBefore + 1024 * 1024);
}

} // namespace
} // namespace tarvik::emulator::test
