// Which commands each job sends for each chip family, in order: the whole job table.
#include <gtest/gtest.h>

#include <functional>

#include "engine_fixture.h"

namespace tarvik::scenario {
namespace {

// Command codes by step.
constexpr std::uint8_t S = 1, E = 2, W = 3, V = 4, R = 5, L = 6, WF = 7, F = 8, WE = 9, RE = 10;

struct JobCase {
    const char* name;
    void (TMainForm::*select)();
    Bytes signature;
    Bytes fuseValues; // the fuse read's answer
    bool lockBitsTicked;
    bool verifyAfterWrite;
    void (TMainForm::*job)();
    std::size_t readSize; // bytes the read delivers
    Bytes commands;       // one per step; a chunked step once
};

std::uint8_t familyOf(void (TMainForm::*select)()) {
    if (select == &TMainForm::n89Cx051Click) {
        return 1;
    }
    if (select == &TMainForm::n89C5xClick || select == &TMainForm::n89SxxClick) {
        return 2;
    }
    if (select == &TMainForm::N24AA512Click) {
        return 3;
    }
    return select == &TMainForm::N90S1200Click ? 4 : 5;
}

// AT89C2051 (1E 21), AT89C51 at 12 V (1E 51 FF), AT89S53 (1E 53), AT90S/LS2323 in the socket
// (1E 91 02, which has a fuse read; R1 = 0x3F ticks both lock bits), AT90S2313 in the socket
// (no fuse read), ATmega8 on ISP, 24AA512.
// clang-format off
using Form = TMainForm;
const Bytes k2051{0x1E, 0x21, 0}, k51{0x1E, 0x51, 0xFF}, kS53{0x1E, 0x53, 0}, k2323{0x1E, 0x91, 0x02},
    k2313{0x1E, 0x91, 0x01}, kMega8{0x1E, 0x93, 0x07};
const Bytes kSocketFuses{0x3F}, kMega8Fuses{0xFF, 0xE1, 0xD9};
const JobCase kCases[] = {
    // name                    select                signature fuses        locks  verify job                       read   commands
    {"Cx051Erase",            &Form::n89Cx051Click, k2051,  {},           true,  true,  &Form::bLoeschClick,       0,     {S, E}},
    {"Cx051Program",          &Form::n89Cx051Click, k2051,  {},           true,  true,  &Form::bProgClick,         0,     {S, E, W, V, L, L}},
    {"Cx051ProgramNoVerify",  &Form::n89Cx051Click, k2051,  {},           true,  false, &Form::bProgClick,         0,     {S, E, W, L, L}},
    {"Cx051ProgramNoLocks",   &Form::n89Cx051Click, k2051,  {},           false, true,  &Form::bProgClick,         0,     {S, E, W, V}},
    {"Cx051Verify",           &Form::n89Cx051Click, k2051,  {},           true,  true,  &Form::bVerglClick,        0,     {S, V}},
    {"Cx051Read",             &Form::n89Cx051Click, k2051,  {},           true,  true,  &Form::bAuslesenClick,     2048,  {S, R}},
    {"Cx051Detect",           &Form::n89Cx051Click, k2051,  {},           true,  true,  &Form::bDetectDeviceClick, 0,     {S}},
    {"C5xErase",              &Form::n89C5xClick,   k51,    {},           true,  true,  &Form::bLoeschClick,       0,     {S, E}},
    {"C5xProgram",            &Form::n89C5xClick,   k51,    {},           true,  true,  &Form::bProgClick,         0,     {S, E, W, V, L, L}},
    {"C5xVerify",             &Form::n89C5xClick,   k51,    {},           true,  true,  &Form::bVerglClick,        0,     {S, V}},
    {"C5xRead",               &Form::n89C5xClick,   k51,    {},           true,  true,  &Form::bAuslesenClick,     4096,  {S, R}},
    {"C5xDetect",             &Form::n89C5xClick,   k51,    {},           true,  true,  &Form::bDetectDeviceClick, 0,     {S}},
    {"SxxErase",              &Form::n89SxxClick,   kS53,   {},           false, true,  &Form::bLoeschClick,       0,     {S, E}},
    {"SxxProgram",            &Form::n89SxxClick,   kS53,   {},           true,  true,  &Form::bProgClick,         0,     {S, E, W, V}},
    {"SxxVerify",             &Form::n89SxxClick,   kS53,   {},           false, true,  &Form::bVerglClick,        0,     {S, V}},
    {"SxxRead",               &Form::n89SxxClick,   kS53,   {},           false, true,  &Form::bAuslesenClick,     12288, {S, R}},
    {"SxxDetect",             &Form::n89SxxClick,   kS53,   {},           false, true,  &Form::bDetectDeviceClick, 0,     {S}},
    {"SocketErase",           &Form::N90S1200Click, k2323,  kSocketFuses, false, true,  &Form::bLoeschClick,       0,     {S, F, E}},
    {"SocketProgram",         &Form::N90S1200Click, k2323,  kSocketFuses, false, true,  &Form::bProgClick,         0,     {S, F, E, W, V, L, L}},
    {"SocketProgramNoVerify", &Form::N90S1200Click, k2323,  kSocketFuses, false, false, &Form::bProgClick,         0,     {S, F, E, W, L, L}},
    {"SocketVerify",          &Form::N90S1200Click, k2323,  kSocketFuses, false, true,  &Form::bVerglClick,        0,     {S, F, V}},
    {"SocketRead",            &Form::N90S1200Click, k2323,  kSocketFuses, false, true,  &Form::bAuslesenClick,     2048,  {S, F, R}},
    {"SocketReadEeprom",      &Form::N90S1200Click, k2323,  kSocketFuses, false, true,  &Form::breadeepromClick,   128,   {S, F, RE}},
    {"SocketProgramEeprom",   &Form::N90S1200Click, k2323,  kSocketFuses, false, true,  &Form::bprogeepromClick,   0,     {S, F, WE}},
    {"SocketWriteFuses",      &Form::N90S1200Click, k2323,  {0xFF},       false, true,  &Form::bWriteFuseClick,    0,     {WF, F}},
    {"SocketDetect",          &Form::N90S1200Click, k2323,  kSocketFuses, false, true,  &Form::bDetectDeviceClick, 0,     {S, F}},
    {"Socket2313Program",     &Form::N90S1200Click, k2313,  {},           true,  true,  &Form::bProgClick,         0,     {S, E, W, V, L, L}},
    {"Socket2313Detect",      &Form::N90S1200Click, k2313,  {},           false, true,  &Form::bDetectDeviceClick, 0,     {S}},
    {"IspErase",              &Form::nAVRISPClick,  kMega8, kMega8Fuses,  false, true,  &Form::bLoeschClick,       0,     {S, F, E}},
    {"IspProgram",            &Form::nAVRISPClick,  kMega8, kMega8Fuses,  false, true,  &Form::bProgClick,         0,     {S, F, E, W, V}},
    {"IspProgramNoVerify",    &Form::nAVRISPClick,  kMega8, kMega8Fuses,  false, false, &Form::bProgClick,         0,     {S, F, E, W}},
    {"IspVerify",             &Form::nAVRISPClick,  kMega8, kMega8Fuses,  false, true,  &Form::bVerglClick,        0,     {S, F, V}},
    {"IspRead",               &Form::nAVRISPClick,  kMega8, kMega8Fuses,  false, true,  &Form::bAuslesenClick,     8192,  {S, F, R}},
    {"IspReadEeprom",         &Form::nAVRISPClick,  kMega8, kMega8Fuses,  false, true,  &Form::breadeepromClick,   512,   {S, F, RE}},
    {"IspProgramEeprom",      &Form::nAVRISPClick,  kMega8, kMega8Fuses,  false, true,  &Form::bprogeepromClick,   0,     {S, F, WE}},
    {"IspWriteFuses",         &Form::nAVRISPClick,  kMega8, kMega8Fuses,  false, true,  &Form::bWriteFuseClick,    0,     {WF, F}},
    {"IspDetect",             &Form::nAVRISPClick,  kMega8, kMega8Fuses,  false, true,  &Form::bDetectDeviceClick, 0,     {S, F}},
    {"Isp2313HasNoFuseRead",  &Form::nAVRISPClick,  k2313,  {},           false, true,  &Form::bLoeschClick,       0,     {S, E}},
    {"EepromErase",           &Form::N24AA512Click, {},     {},           false, true,  &Form::bLoeschClick,       0,     {E}},
    {"EepromProgram",         &Form::N24AA512Click, {},     {},           false, true,  &Form::bProgClick,         0,     {W, V}},
    {"EepromProgramNoVerify", &Form::N24AA512Click, {},     {},           false, false, &Form::bProgClick,         0,     {W}},
    {"EepromVerify",          &Form::N24AA512Click, {},     {},           false, true,  &Form::bVerglClick,        0,     {V}},
    {"EepromRead",            &Form::N24AA512Click, {},     {},           false, true,  &Form::bAuslesenClick,     65536, {R}},
};
// clang-format on

class JobSequence : public EngineTest, public ::testing::WithParamInterface<JobCase> {};

TEST_P(JobSequence, SendsTheStepsOfTheJobInOrder) {
    const JobCase& c = GetParam();
    std::invoke(c.select, form);
    s.setBuffer(patternBytes(30)); // one chunk in every transfer
    form.updatebuffer.checked = false;
    form.nverifynachprogrammieren.checked = c.verifyAfterWrite;
    for (std::size_t i = 0; i < form.FuseList.items.size() && i < 2; ++i) {
        form.FuseList.items[i].checked = c.lockBitsTicked;
    }
    programmer->signature = c.signature;
    programmer->fuseValues = c.fuseValues;
    programmer->readImage = patternBytes(c.readSize, 3);

    ASSERT_TRUE(s.run(c.job));

    EXPECT_EQ(programmer->commands(), c.commands);
    for (const Bytes& report : programmer->reports()) {
        ASSERT_EQ(report.size(), 65u);
        EXPECT_EQ(report[0], 0);
        EXPECT_EQ(report[1], familyOf(c.select)) << "command " << int(report[2]);
    }
    EXPECT_EQ(s.log().at(s.log().size() - 2), "Successfully finished.");
    if (c.readSize > 0) {
        EXPECT_EQ(form.Hexeditor.bytes(), programmer->readImage);
    }
}

INSTANTIATE_TEST_SUITE_P(AllFamilies, JobSequence, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tarvik::scenario
