// Naming the chip from its signature: the row classes, the AT89C5x voltage suffix, the locked
// chip, the fuse lists the identification builds and the socket's renaming.
#include <gtest/gtest.h>

#include <functional>

#include <cstdio>

#include "engine_fixture.h"

namespace tarvik::scenario {
namespace {

struct IdCase {
    const char* name;
    void (TMainForm::*select)();
    Bytes signature;
    const char* autoDevice;
    const char* codeSize; // after the job; the size edit starts at "777"
    std::size_t fuseEntries;
    Bytes commands;
    bool error;
};

// clang-format off
using Form = TMainForm;
const IdCase kCases[] = {
    // name                          select                 signature            AutoDevice          CodeSize  fuses commands error
    {"At89ByS2",                     &Form::n89Cx051Click, {0x1E, 0x21, 0x00}, "AT89C2051",        "2048",   2,  {1},    false},
    {"At89OtherVendor",              &Form::n89Cx051Click, {0x55, 0x21, 0x00}, "AT89C2051",        "2048",   2,  {1},    false},
    {"At89OtherVendor4051",          &Form::n89Cx051Click, {0x55, 0x41, 0x07}, "AT89C4051",        "4096",   2,  {1},    false},
    {"OtherVendorUnknown",           &Form::n89Cx051Click, {0x55, 0x22, 0x00}, "Error",            "",       2,  {1},    true},
    {"AtmelUnknown",                 &Form::nAVRISPClick,  {0x1E, 0x99, 0x01}, "Error",            "",       0,  {1},    true},
    {"ATmega8",                      &Form::nAVRISPClick,  {0x1E, 0x93, 0x07}, "ATmega8",          "8192",   22, {1, 8}, false},
    {"ATmega168",                    &Form::nAVRISPClick,  {0x1E, 0x94, 0x06}, "ATmega168",        "16384",  25, {1, 8}, false},
    {"ATmega48DetectWaitsForFuses",  &Form::nAVRISPClick,  {0x1E, 0x92, 0x05}, "ATmega48",         "4096",   19, {1, 8}, false},
    {"At90s2323",                    &Form::nAVRISPClick,  {0x1E, 0x91, 0x02}, "AT90S/LS2323",     "2048",   4,  {1, 8}, false},
    {"Locked",                       &Form::nAVRISPClick,  {0x00, 0x01, 0x02}, "Device locked !",  "777",    0,  {1, 8}, false},
    {"At90s1200OnIsp",               &Form::nAVRISPClick,  {0x1E, 0x90, 0x01}, "AT90S1200",        "1024",   2,  {1},    false},
    {"At90s1200InSocket",            &Form::N90S1200Click, {0x1E, 0x90, 0x01}, "AT90S1200",        "1024",   4,  {1},    false},
    {"At90s2313InSocket",            &Form::N90S1200Click, {0x1E, 0x91, 0x01}, "AT90S2313",        "2048",   4,  {1},    false},
    {"C5x12V",                       &Form::n89C5xClick,   {0x1E, 0x51, 0xFF}, "AT89C51 (12V)",    "4096",   2,  {1},    false},
    {"C5x5V",                        &Form::n89C5xClick,   {0x1E, 0x52, 0x05}, "AT89C52 (5V)",     "8192",   2,  {1},    false},
    {"C5xBadVoltage",                &Form::n89C5xClick,   {0x1E, 0x51, 0x02}, "Error",            "",       2,  {1},    true},
    {"C5xLockedIsAVoltageFailure",   &Form::n89C5xClick,   {0x00, 0x01, 0x02}, "Error",            "",       2,  {1},    true},
    {"SxxNoSuffix",                  &Form::n89SxxClick,   {0x1E, 0x53, 0x05}, "AT89S53",          "12288",  0,  {1},    false},
};
// clang-format on

class Identification : public EngineTest, public ::testing::WithParamInterface<IdCase> {};

TEST_P(Identification, NamesTheChipAndTakesTheNextStep) {
    const IdCase& c = GetParam();
    std::invoke(c.select, form);
    form.CodeSize.text = "777";
    programmer->fuseValues = Bytes(8, 0xFF);
    const auto reports =
        runJob(nullptr, c.signature, programmer->fuseValues, &TMainForm::bDetectDeviceClick);
    EXPECT_EQ(form.AutoDevice.text, c.autoDevice);
    EXPECT_EQ(form.CodeSize.text, c.codeSize);
    EXPECT_EQ(form.FuseList.items.size(), c.fuseEntries);
    Bytes commands;
    for (const Bytes& report : reports) {
        commands.push_back(report[2]);
    }
    EXPECT_EQ(commands, c.commands);
    char id[16];
    std::snprintf(id, sizeof id, "ID: %02X %02X %02X", c.signature[0], c.signature[1],
                  c.signature[2]);
    EXPECT_EQ(s.log().at(1), id);
    EXPECT_EQ(s.log().at(s.log().size() - 2), c.error ? "Error." : "Successfully finished.");
}

INSTANTIATE_TEST_SUITE_P(Rows, Identification, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

using IdentificationTest = EngineTest;

std::vector<std::string> texts(const CheckList& list) {
    std::vector<std::string> result;
    for (const CheckListItem& item : list.items) {
        result.push_back(item.text);
    }
    return result;
}

TEST_F(IdentificationTest, FuseListLayoutsOfATmega8AndATmega168) {
    runJob(&TMainForm::nAVRISPClick, {0x1E, 0x93, 0x07}, Bytes(8, 0xFF),
           &TMainForm::bDetectDeviceClick);
    const auto& items = form.FuseList.items;
    ASSERT_EQ(items.size(), 22u);
    EXPECT_EQ(items[6].text, "RSTDISBL");
    EXPECT_EQ(items[7].text, "WDT always on");
    EXPECT_EQ(items[8].text, "SPIEN");
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].enabled, i != 8) << i;
    }

    runJob(&TMainForm::nAVRISPClick, {0x1E, 0x94, 0x06}, Bytes(8, 0xFF),
           &TMainForm::bDetectDeviceClick);
    const auto list = texts(form.FuseList);
    ASSERT_EQ(list.size(), 25u);
    EXPECT_EQ(list[4], "Lock bit 2");
    EXPECT_EQ(list[5], "Lock bit 1");
    EXPECT_EQ(list[11], "SPIEN");
    EXPECT_FALSE(form.FuseList.items[11].enabled);
}

TEST_F(IdentificationTest, EachIdentificationRebuildsTheListExceptTheSocketsRename) {
    // AT90S8515 over ISP: the lock pair and no fuse read that would set the marks again.
    runJob(&TMainForm::nAVRISPClick, {0x1E, 0x93, 0x01}, {}, &TMainForm::bDetectDeviceClick);
    form.FuseList.items.at(0).checked = true;
    runJob(nullptr, {0x1E, 0x93, 0x01}, {}, &TMainForm::bDetectDeviceClick);
    EXPECT_FALSE(form.FuseList.items.at(0).checked);

    form.N90S1200Click();
    form.FuseList.items[0].checked = true;
    form.FuseList.items[3].checked = true;
    runJob(nullptr, {0x1E, 0x91, 0x01}, {}, &TMainForm::bDetectDeviceClick);
    EXPECT_EQ(texts(form.FuseList),
              (std::vector<std::string>{"Lock bit 1", "Lock bit 2", "SPIEN", "FSTRT"}));
    EXPECT_TRUE(form.FuseList.items[0].checked);
    EXPECT_TRUE(form.FuseList.items[3].checked);
    // The next chip in the same socket renames the same entry.
    runJob(nullptr, {0x1E, 0x90, 0x01}, {}, &TMainForm::bDetectDeviceClick);
    EXPECT_EQ(form.FuseList.items[3].text, "RCEN");
    EXPECT_TRUE(form.FuseList.items[3].checked);
}

TEST_F(IdentificationTest, UnknownChipTextFollowsTheLanguage) {
    struct Case {
        void (TMainForm::*language)();
        const char* name;
        const char* result;
    };
    const Case cases[] = {
        {&TMainForm::sDeutschClick, "Fehler", "Fehler."},
        {&TMainForm::sEnglishClick, "Error", "Error."},
        {&TMainForm::sFranceClick, "Ошибка", "Ошибка."},
    };
    for (const Case& c : cases) {
        std::invoke(c.language, form);
        runJob(&TMainForm::nAVRISPClick, {0x12, 0x34, 0x56}, {}, &TMainForm::bDetectDeviceClick);
        EXPECT_EQ(form.AutoDevice.text, c.name);
        EXPECT_EQ(s.log().at(1), "ID: 12 34 56");
        EXPECT_EQ(s.log().at(s.log().size() - 2), c.result);
    }
}

TEST_F(IdentificationTest, VoltageIsKeptUntilTheNextAt89C5xIdentification) {
    runJob(&TMainForm::n89C5xClick, {0x1E, 0x51, 0x05}, {}, &TMainForm::bDetectDeviceClick);
    EXPECT_EQ(form.ProgVoltage, 5);
    runJob(&TMainForm::nAVRISPClick, {0x1E, 0x93, 0x07}, {}, &TMainForm::bDetectDeviceClick);
    EXPECT_EQ(form.ProgVoltage, 5);
    runJob(&TMainForm::n89C5xClick, {0x1E, 0x51, 0xFF}, {}, &TMainForm::bDetectDeviceClick);
    EXPECT_EQ(form.ProgVoltage, 12);
}

} // namespace
} // namespace tarvik::scenario
