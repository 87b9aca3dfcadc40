// Unplugging the programmer in the middle of a job, and the programmer coming back.
#include <gtest/gtest.h>

#include <functional>

#include "engine_fixture.h"

namespace tarvik::scenario {
namespace {

struct UnplugCase {
    const char* name;
    void (TMainForm::*job)();
    int silentCommand;         // the command left unanswered when the cable goes
    std::uint8_t waitingState; // the job's state then
    Bytes commands;            // the whole job when it runs again
    std::size_t readSize = 0;  // bytes a read delivers
};

const UnplugCase kCases[] = {
    {"Erase", &TMainForm::bLoeschClick, 3, stErase, {1, 8, 2}},
    {"Program", &TMainForm::bProgClick, 4, stWrite, {1, 8, 2, 3, 3, 4, 4}},
    {"Verify", &TMainForm::bVerglClick, 3, stVerify, {1, 8, 4, 4}},
    {"Read", &TMainForm::bAuslesenClick, 3, stRead, {1, 8, 5}, 8192},
    {"ReadEeprom", &TMainForm::breadeepromClick, 2, stReadFuses, {1, 8, 10}, 512},
    {"ProgramEeprom", &TMainForm::bprogeepromClick, 3, stWrite, {1, 8, 9, 9}},
    {"WriteFuses", &TMainForm::bWriteFuseClick, 1, stWriteFuses, {7, 8}},
    {"Detect", &TMainForm::bDetectDeviceClick, 1, stSignature, {1, 8}},
};

class Unplug : public EngineTest, public ::testing::WithParamInterface<UnplugCase> {};

TEST_P(Unplug, AbandonsTheJobAndTheNextOneStartsAfresh) {
    const UnplugCase& c = GetParam();
    form.nAVRISPClick();
    form.updatebuffer.checked = false;
    form.nverifynachprogrammieren.checked = true;
    s.setBuffer(patternBytes(100)); // two chunks
    programmer->fuseValues = {0xFF, 0xE1, 0xD9, 1, 2, 3, 4};
    programmer->readImage = patternBytes(c.readSize);
    programmer->silentCommand = c.silentCommand;
    std::invoke(c.job, form);
    ASSERT_TRUE(s.runUntilState(c.waitingState));
    s.runUntil([] { return false; }, 20ms); // the unanswered command is out

    s.unplug();
    EXPECT_EQ(form.ProgrammerDevice, nullptr);
    EXPECT_EQ(form.ProtocolState, c.waitingState);
    EXPECT_TRUE(s.log().empty());
    EXPECT_EQ(form.StatusBar.panels[0], "Программатор не подключен!");
    for (const Button* button :
         {&form.bProg, &form.bVergl, &form.bAuslesen, &form.bLoesch, &form.bDetectDevice,
          &form.bWriteFuse, &form.bprogeeprom, &form.breadeeprom}) {
        EXPECT_FALSE(button->enabled);
    }
    EXPECT_FALSE(form.nAuswahl.enabled);
    EXPECT_TRUE(form.nSetup.enabled);
    EXPECT_EQ(form.Gauge1.progress, 0);

    auto fresh = std::make_shared<AnsweringProgrammer>();
    fresh->fuseValues = programmer->fuseValues;
    fresh->readImage = programmer->readImage;
    s.plug(fresh);
    EXPECT_EQ(form.StatusBar.panels[0], "Программатор к работе готов.");
    EXPECT_TRUE(form.bAuslesen.enabled);
    EXPECT_TRUE(form.bDetectDevice.enabled);
    ASSERT_TRUE(s.run(c.job));
    EXPECT_EQ(fresh->commands(), c.commands);
    EXPECT_EQ(s.log().at(0),
              c.commands[0] == 7 ? "programming fuse/lock bis..." : "reading signature byte...");
    EXPECT_EQ(s.log().at(s.log().size() - 2), "Successfully finished.");
}

INSTANTIATE_TEST_SUITE_P(EveryJob, Unplug, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProgrammerPresence, WindowStartsWithoutAndFollowsThePlugging) {
    Scenario s;
    EXPECT_EQ(s.form->StatusBar.panels[0], "Программатор не подключен!");
    EXPECT_FALSE(s.form->bAuslesen.enabled);
    EXPECT_FALSE(s.form->nDatei.enabled);
    s.plug(std::make_shared<AnsweringProgrammer>());
    EXPECT_EQ(s.form->StatusBar.panels[0], "Программатор к работе готов.");
    EXPECT_TRUE(s.form->bAuslesen.enabled);
    EXPECT_TRUE(s.form->nDatei.enabled);
    EXPECT_FALSE(s.form->bWriteFuse.enabled); // only a toggled fuse mark offers the write
}

TEST(ProgrammerPresence, AProgrammerThisUserMayNotOpenIsNotReady) {
    Scenario s;
    EmulatedDeviceOptions denied;
    denied.readWriteAccess = false;
    const auto handle =
        s.backend.plug(std::make_shared<AnsweringProgrammer>(), Latency::None, denied);
    ASSERT_TRUE(s.runUntil([&] { return s.controller.DeviceList().size() == 1; }));
    s.dispatcher.runPending();
    EXPECT_EQ(s.form->ProgrammerDevice, nullptr);
    EXPECT_EQ(s.form->StatusBar.panels[0], "Programmer connected, but this user may not open it!");
    EXPECT_EQ(s.log(),
              (std::vector<std::string>{
                  "This user may not open emulated:1 (the programmer) for reading and writing.",
                  "Remedy in language 1:", "    remedy-command"}));
    EXPECT_FALSE(s.form->bAuslesen.enabled);
    EXPECT_FALSE(s.form->bDetectDevice.enabled);
    EXPECT_FALSE(s.form->nAuswahl.enabled);

    // The status follows the language; the ready and missing texts have none.
    s.form->sDeutschClick();
    EXPECT_EQ(s.form->StatusBar.panels[0],
              "Programmiergerät angeschlossen, aber dieser Benutzer darf es nicht öffnen!");
    s.form->sFranceClick();
    EXPECT_EQ(s.form->StatusBar.panels[0],
              "Программатор подключен, но у этого пользователя нет к нему доступа!");

    // Re-plugged once the rule is in: taken as usual.
    s.backend.unplug(handle);
    ASSERT_TRUE(s.runUntil([&] { return s.controller.DeviceList().empty(); }));
    EXPECT_EQ(s.form->StatusBar.panels[0], "Программатор не подключен!");
    s.plug(std::make_shared<AnsweringProgrammer>());
    EXPECT_EQ(s.form->StatusBar.panels[0], "Программатор к работе готов.");
    EXPECT_TRUE(s.log().empty());
    EXPECT_TRUE(s.form->bAuslesen.enabled);
}

} // namespace
} // namespace tarvik::scenario
