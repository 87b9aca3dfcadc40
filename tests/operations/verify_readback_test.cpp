// A verify that ends with the error answer reads the chip back into an image of its own and
// names the differing bytes; the buffer keeps its bytes and marks the differences.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "support/scenario.h"

namespace tarvik::scenario {
namespace {

constexpr std::uint8_t kVerify = 4;
constexpr std::uint8_t kReadFlash = 5;

class VerifyReadBack : public ::testing::Test {
protected:
    Scenario s;
    TMainForm& form = *s.form;
    std::shared_ptr<emulator::VirtualProgrammer> chip;

    void plug(const char* chipName, void (TMainForm::*select)()) {
        chip = s.plugChip(chipName);
        // An erased chip, so that every byte the buffer holds other than FF differs.
        ASSERT_TRUE(chip->loadFlash(std::vector<std::uint8_t>(chip->flash().size(), 0xFF)));
        std::invoke(select, form);
        form.updatebuffer.checked = false;
    }
    // The log from the read-back's line to the result line, without the empty line.
    std::vector<std::string> readBackLines() const {
        const auto& log = s.log();
        auto from = std::ranges::find(log, "verify failed, reading the chip back...");
        std::vector<std::string> lines(from, log.end());
        if (lines.size() >= 3) {
            lines.pop_back();             // the duration
            lines.erase(lines.end() - 2); // the empty line before the result
        }
        return lines;
    }
    // The last report the programmer received.
    std::vector<std::uint8_t> lastSent() const {
        const auto record = chip->record();
        const auto last = std::find_if(record.rbegin(), record.rend(), [](const auto& report) {
            return report.direction == emulator::Direction::ToDevice;
        });
        return last == record.rend() ? std::vector<std::uint8_t>{} : last->bytes;
    }
};

TEST_F(VerifyReadBack, NamesTheFirstTenDifferencesAndMarksThemAll) {
    plug("ATmega8", &TMainForm::nAVRISPClick);
    std::vector<std::uint8_t> image = patternBytes(1000);
    image[0x1A3] = 0x3F;
    ASSERT_TRUE(chip->loadFlash(image));
    std::vector<std::uint8_t> buffer = image;
    const std::vector<std::size_t> differing{0x001, 0x01A3, 0x200, 0x201, 0x202, 0x203,
                                             0x204, 0x205,  0x206, 0x207, 0x208, 0x3E7};
    for (const std::size_t at : differing)
        buffer[at] = static_cast<std::uint8_t>(image[at] ^ 0x40);
    s.setBuffer(buffer);
    chip->clearRecord();
    ASSERT_TRUE(s.run(&TMainForm::bVerglClick));

    EXPECT_EQ(readBackLines(), (std::vector<std::string>{
                                   "verify failed, reading the chip back...",
                                   "Bytes differing from the buffer: 12",
                                   "0x0001: chip 07, buffer 47",
                                   "0x01A3: chip 3F, buffer 7F",
                                   "0x0200: chip 48, buffer 08",
                                   "0x0201: chip 4F, buffer 0F",
                                   "0x0202: chip 56, buffer 16",
                                   "0x0203: chip 5D, buffer 1D",
                                   "0x0204: chip 64, buffer 24",
                                   "0x0205: chip 6B, buffer 2B",
                                   "0x0206: chip 72, buffer 32",
                                   "0x0207: chip 79, buffer 39",
                                   "Error.",
                               }));
    // The read came after the verify's error answer, for the whole flash of the chip.
    const std::vector<std::uint8_t> commands = sentCommands(*chip);
    ASSERT_GE(commands.size(), 2u);
    EXPECT_EQ(commands[commands.size() - 2], kVerify);
    EXPECT_EQ(commands.back(), kReadFlash);
    EXPECT_EQ(lastSent().at(3), 8); // KiB
    // The buffer is as it was, with every difference marked until it changes.
    EXPECT_EQ(form.Hexeditor.bytes(), buffer);
    EXPECT_EQ(form.Hexeditor.differences(), differing);
    EXPECT_EQ(form.Hexeditor.cursor(), differing.front()); // the view goes there
    EXPECT_TRUE(form.Hexeditor.isDifferent(0x3E7));
    EXPECT_FALSE(form.Hexeditor.isDifferent(0x3E6));
    form.neditbufferClick();
    const std::uint8_t typed = 0x00;
    form.Hexeditor.overwrite(5, std::span(&typed, 1));
    EXPECT_TRUE(form.Hexeditor.differences().empty());
}

TEST_F(VerifyReadBack, TheLastStepOfAProgramJobToo) {
    plug("ATmega8", &TMainForm::nAVRISPClick);
    form.nverifynachprogrammieren.checked = true;
    s.setBuffer(patternBytes(200));
    // The verify's first chunk answers the error although the chip holds the image: it is
    // the eighth report, after the signature, the fuse read, the erase and four chunks.
    chip->clearRecord();
    chip->injectFault(emulator::Fault::ErrorAnswer, 8);
    ASSERT_TRUE(s.run(&TMainForm::bProgClick));
    EXPECT_EQ(readBackLines(),
              (std::vector<std::string>{"verify failed, reading the chip back...",
                                        "Bytes differing from the buffer: 0", "Error."}));
    EXPECT_EQ(sentCommands(*chip).back(), kReadFlash);
}

TEST_F(VerifyReadBack, ASerialEepromIsReadBackWithItsSizeCode) {
    plug("24AA02", &TMainForm::N24AA02Click);
    std::vector<std::uint8_t> buffer(256, 0xFF);
    buffer[0xFF] = 0x12;
    s.setBuffer(buffer);
    chip->clearRecord();
    ASSERT_TRUE(s.run(&TMainForm::bVerglClick));
    EXPECT_EQ(readBackLines(), (std::vector<std::string>{"verify failed, reading the chip back...",
                                                         "Bytes differing from the buffer: 1",
                                                         "0x00FF: chip FF, buffer 12", "Error."}));
    EXPECT_EQ(lastSent().at(2), kReadFlash);
    EXPECT_EQ(lastSent().at(3), 2); // the size code
}

TEST_F(VerifyReadBack, AddressesAreAsWideAsTheBufferNeeds) {
    plug("ATmega128", &TMainForm::nAVRISPClick);
    std::vector<std::uint8_t> buffer(0x10010, 0xFF);
    buffer[0x10005] = 0xA5;
    s.setBuffer(buffer);
    ASSERT_TRUE(s.run(&TMainForm::bVerglClick));
    const std::vector<std::string> lines = readBackLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], "0x10005: chip FF, buffer A5");
}

TEST_F(VerifyReadBack, SaysWhenALockedChipCannotBeCompared) {
    struct Case {
        const char* chip;
        void (TMainForm::*select)();
        std::uint8_t lock; // 0xFF: unlocked
        const char* note;  // nothing: the chip is known to be unlocked
    };
    const Case cases[] = {
        {"ATmega8", &TMainForm::nAVRISPClick, 0xFC,
         "The chip is locked: it does not return its contents and cannot be compared."},
        {"ATmega8", &TMainForm::nAVRISPClick, 0xFF, nullptr},
        // The socket chips' lock bits are not read: the comparison may be meaningless.
        {"AT89C2051", &TMainForm::n89Cx051Click, 0xFF,
         "A locked chip does not return its contents and cannot be compared."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.chip) + " " + std::to_string(c.lock));
        plug(c.chip, c.select);
        chip->setFuses({.lock = c.lock, .low = 0xE1, .high = 0xD9});
        s.setBuffer(std::vector<std::uint8_t>(64, 0xAA));
        ASSERT_TRUE(s.run(&TMainForm::bVerglClick));
        const std::vector<std::string> lines = readBackLines();
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines[1], "Bytes differing from the buffer: 64");
        if (c.note == nullptr) {
            EXPECT_EQ(lines[lines.size() - 2], "0x0009: chip FF, buffer AA");
        } else {
            EXPECT_EQ(lines[lines.size() - 2], c.note);
        }
        s.unplug();
    }
}

TEST_F(VerifyReadBack, TheLinesAreInTheCurrentLanguage) {
    plug("ATmega8", &TMainForm::nAVRISPClick);
    s.setBuffer({0x01});
    form.sDeutschClick();
    ASSERT_TRUE(s.run(&TMainForm::bVerglClick));
    const auto& log = s.log();
    const auto from = std::ranges::find(log, "Vergleich fehlgeschlagen, lese Chip zurück...");
    ASSERT_NE(from, log.end());
    EXPECT_EQ(*(from + 1), "Vom Buffer abweichende Bytes: 1");
    EXPECT_EQ(*(from + 2), "0x0000: Chip FF, Buffer 01");
    form.sFranceClick();
    ASSERT_TRUE(s.run(&TMainForm::bVerglClick));
    EXPECT_NE(std::ranges::find(s.log(), "0x0000: чип FF, буфер 01"), s.log().end());
}

} // namespace
} // namespace tarvik::scenario
