// The output reports byte for byte: chunking, the parameters each family and chip gets, the
// fuse entries, and the bytes a command leaves as the previous report had them.
#include <gtest/gtest.h>

#include <functional>

#include <algorithm>

#include "engine_fixture.h"

namespace tarvik::scenario {
namespace {

constexpr std::size_t kP1 = 3, kP2 = 4, kP3 = 5, kData = 6;
const Bytes kATmega8{0x1E, 0x93, 0x07};
const Bytes kATmega8Fuses{0xFF, 0xE1, 0xD9, 0xAA, 0xBB, 0xCC, 0xDD};

using ReportBytesTest = EngineTest;

// The data bytes of a chunked transfer, reassembled in order.
Bytes chunkData(const std::vector<Bytes>& chunks) {
    Bytes data;
    for (const Bytes& chunk : chunks) {
        data.insert(data.end(), chunk.begin() + kData, chunk.begin() + kData + chunk[kP1]);
    }
    return data;
}

TEST_F(ReportBytesTest, FlashWriteChunksAt58BytesTheLastMarkedByZero) {
    struct Case {
        std::size_t size;
        std::vector<std::pair<int, int>> countAndMore;
    };
    const Case cases[] = {
        {1, {{1, 0}}},
        {58, {{58, 0}}},
        {59, {{58, 1}, {1, 0}}},
        {116, {{58, 1}, {58, 0}}},
        {117, {{58, 1}, {58, 1}, {1, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        const Bytes image = patternBytes(c.size, static_cast<std::uint8_t>(c.size));
        s.setBuffer(image);
        form.nverifynachprogrammieren.checked = false;
        const auto writes = withCommand(
            runJob(&TMainForm::nAVRISPClick, kATmega8, kATmega8Fuses, &TMainForm::bProgClick), 3);
        ASSERT_EQ(writes.size(), c.countAndMore.size());
        for (std::size_t i = 0; i < writes.size(); ++i) {
            EXPECT_EQ(writes[i][kP1], c.countAndMore[i].first);
            EXPECT_EQ(writes[i][kP2], c.countAndMore[i].second);
            EXPECT_EQ(writes[i][kP3], 0x20); // ATmega8's page code in every chunk
        }
        EXPECT_EQ(chunkData(writes), image);
        EXPECT_EQ(form.Gauge1.maxValue, static_cast<std::int64_t>(c.size));
    }
}

TEST_F(ReportBytesTest, ShortLastChunkKeepsThePreviousChunksTail) {
    s.setBuffer(patternBytes(59));
    form.nverifynachprogrammieren.checked = false;
    const auto writes = withCommand(
        runJob(&TMainForm::nAVRISPClick, kATmega8, kATmega8Fuses, &TMainForm::bProgClick), 3);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(slice(writes[1], kData + 1, 57), slice(writes[0], kData + 1, 57));
    EXPECT_EQ(writes[1][64], 0); // the spare byte is never written
}

TEST_F(ReportBytesTest, SerialEepromWritesIn32ByteChunksAndVerifiesIn58) {
    s.setBuffer(patternBytes(128));
    form.nverifynachprogrammieren.checked = true;
    const auto reports = runJob(&TMainForm::N24AA01Click, {}, {}, &TMainForm::bProgClick);

    const auto writes = withCommand(reports, 3);
    ASSERT_EQ(writes.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(writes[i][kP1], 32);
        EXPECT_EQ(writes[i][kP2], i < 3 ? 1 : 0); // more-chunks flag: the size code
        EXPECT_EQ(writes[i][kP3], 8);             // page size
    }
    const auto verifies = withCommand(reports, 4);
    ASSERT_EQ(verifies.size(), 3u);
    EXPECT_EQ((Bytes{verifies[0][kP1], verifies[1][kP1], verifies[2][kP1]}), (Bytes{58, 58, 12}));
    EXPECT_EQ((Bytes{verifies[0][kP2], verifies[1][kP2], verifies[2][kP2]}), (Bytes{1, 1, 0}));
    EXPECT_EQ(verifies[0][kP3], 8);
    EXPECT_EQ(chunkData(writes), form.Hexeditor.bytes());
    EXPECT_EQ(chunkData(verifies), form.Hexeditor.bytes());
}

TEST_F(ReportBytesTest, SerialEepromEraseAndReadCarryTheGeometry) {
    struct Case {
        void (TMainForm::*select)();
        std::uint8_t sizeCode, pageSize;
        std::size_t bytes;
    };
    const Case cases[] = {
        {&TMainForm::N24AA00Click, 0, 1, 16},
        {&TMainForm::N24C01CClick, 1, 16, 128},
        {&TMainForm::n24AA256Click, 129, 64, 32768},
        {&TMainForm::N24AA512Click, 130, 128, 65536},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.sizeCode));
        const auto erase = runJob(c.select, {}, {}, &TMainForm::bLoeschClick);
        ASSERT_EQ(erase.size(), 1u);
        EXPECT_EQ(slice(erase[0], 1, 4), (Bytes{3, 2, c.sizeCode, c.pageSize}));

        programmer->readImage = patternBytes(c.bytes, 9);
        const auto read = runJob(c.select, {}, {}, &TMainForm::bAuslesenClick);
        ASSERT_EQ(read.size(), 1u);
        EXPECT_EQ(slice(read[0], 1, 3), (Bytes{3, 5, c.sizeCode}));
        EXPECT_EQ(form.ExpectedSize, static_cast<std::int32_t>(c.bytes));
        EXPECT_EQ(form.Hexeditor.bytes(), programmer->readImage);
    }
}

TEST_F(ReportBytesTest, At89VoltageCodes) {
    struct Case {
        void (TMainForm::*select)();
        std::uint8_t s3;
        std::uint8_t code;
        const char* chip;
    };
    const Case cases[] = {
        {&TMainForm::n89C5xClick, 0x05, 5, "AT89C51 (5V)"},
        {&TMainForm::n89C5xClick, 0xFF, 12, "AT89C51 (12V)"},
        {&TMainForm::n89SxxClick, 0x05, 12, "AT89C51"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chip);
        s.setBuffer(patternBytes(10));
        std::invoke(c.select, form);
        form.nverifynachprogrammieren.checked = true;
        for (CheckListItem& item : form.FuseList.items) {
            item.checked = true;
        }
        programmer->signature = {0x1E, 0x51, c.s3};
        takeReports();
        form.updatebuffer.checked = false;
        ASSERT_TRUE(s.run(&TMainForm::bProgClick));
        const auto reports = takeReports();
        EXPECT_EQ(form.AutoDevice.text, c.chip);
        const bool sxx = c.select == &TMainForm::n89SxxClick;
        EXPECT_EQ(withCommand(reports, 2).at(0)[kP1], c.code);
        EXPECT_EQ(withCommand(reports, 3).at(0)[kP3], c.code);
        if (sxx) {
            EXPECT_EQ(withCommand(reports, 1).at(0)[kP1], 12);
            EXPECT_EQ(withCommand(reports, 4).at(0)[kP3], 12);
            EXPECT_TRUE(withCommand(reports, 6).empty());
        } else {
            const auto locks = withCommand(reports, 6);
            ASSERT_EQ(locks.size(), 2u);
            EXPECT_EQ(slice(locks[0], kP2, 2), (Bytes{1, c.code}));
            EXPECT_EQ(slice(locks[1], kP2, 2), (Bytes{2, c.code}));
        }
    }
}

TEST_F(ReportBytesTest, IspFlashWriteCarriesThePageCodeOfTheChip) {
    struct Case {
        Bytes signature;
        std::uint8_t pageCode;
    };
    const Case cases[] = {
        {{0x1E, 0x94, 0x04}, 0x40}, // ATmega162
        {{0x1E, 0x90, 0x05}, 0x01}, // ATtiny12
        {{0x1E, 0x91, 0x0A}, 0x81}, // ATtiny2313
        {{0x1E, 0x93, 0x01}, 0x01}, // AT90S8515
        {{0x1E, 0x97, 0x02}, 0x80}, // ATmega128
        {{0x1E, 0x94, 0x06}, 0x83}, // ATmega168
    };
    s.setBuffer(patternBytes(20));
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.signature[2]));
        const auto writes = withCommand(
            runJob(&TMainForm::nAVRISPClick, c.signature, Bytes(8, 0xFF), &TMainForm::bProgClick),
            3);
        ASSERT_EQ(writes.size(), 1u);
        EXPECT_EQ(writes[0][kP3], c.pageCode);
    }
}

TEST_F(ReportBytesTest, EepromReadAsksForTheChipsEepromSize) {
    struct Case {
        Bytes signature;
        std::uint8_t code;
        std::size_t bytes;
    };
    const Case cases[] = {
        {{0x1E, 0x97, 0x02}, 0x90, 4096}, // ATmega128
        {{0x1E, 0x91, 0x0A}, 0x80, 128},  // ATtiny2313
        {{0x1E, 0x92, 0x03}, 0x81, 256},  // AT90S/LS4433
        {{0x1E, 0x93, 0x03}, 0x82, 512},  // AT90S/LS8535
        {{0x00, 0x01, 0x02}, 0x00, 0},    // "Device locked !": no size known
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.code));
        programmer->readImage = patternBytes(c.bytes, 5);
        const auto reads = withCommand(runJob(&TMainForm::nAVRISPClick, c.signature, Bytes(8, 0xFF),
                                              &TMainForm::breadeepromClick),
                                       10);
        ASSERT_EQ(reads.size(), 1u);
        EXPECT_EQ(reads[0][kP1], c.code);
        EXPECT_EQ(form.ExpectedSize, static_cast<std::int32_t>(c.bytes));
        EXPECT_EQ(form.Hexeditor.bytes(), programmer->readImage);
    }
}

TEST_F(ReportBytesTest, EepromWriteSendsTheWholeBufferIn58ByteChunks) {
    s.setBuffer(patternBytes(130));
    const auto writes = withCommand(
        runJob(&TMainForm::nAVRISPClick, kATmega8, kATmega8Fuses, &TMainForm::bprogeepromClick), 9);
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ((Bytes{writes[0][kP1], writes[1][kP1], writes[2][kP1]}), (Bytes{58, 58, 14}));
    EXPECT_EQ((Bytes{writes[0][kP2], writes[1][kP2], writes[2][kP2]}), (Bytes{1, 1, 0}));
    EXPECT_EQ(chunkData(writes), form.Hexeditor.bytes());
}

TEST_F(ReportBytesTest, ATmega8FuseReadRequestAndUnchangedRewrite) {
    const auto detect =
        runJob(&TMainForm::nAVRISPClick, kATmega8, kATmega8Fuses, &TMainForm::bDetectDeviceClick);
    const auto reads = withCommand(detect, 8);
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(slice(reads[0], kP1, 22),
              (Bytes{0x07, 0x58, 0x00, 0x00, 0x50, 0x00, 0x00, 0x58, 0x08, 0x00, 0x38,
                     0x00, 0x00, 0x38, 0x00, 0x01, 0x38, 0x00, 0x02, 0x38, 0x00, 0x03}));

    form.FuseListClickCheck(0); // the user toggles a mark and back
    takeReports();
    ASSERT_TRUE(s.run(&TMainForm::bWriteFuseClick));
    const auto writes = withCommand(takeReports(), 7); // the fuses read back follow
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0][2], 7);
    EXPECT_EQ(slice(writes[0], kP1, 10),
              (Bytes{0x03, 0xE0, 0x00, 0xFF, 0xA8, 0x00, 0xF9, 0xA0, 0x00, 0xE1}));
    // The fourth entry of the read request stays behind the three written.
    EXPECT_EQ(slice(writes[0], 13, 3), (Bytes{0x38, 0x00, 0x00}));
}

TEST_F(ReportBytesTest, ATmega128CompatibilityModeWritesTheExtendedByte) {
    runJob(&TMainForm::nAVRISPClick, {0x1E, 0x97, 0x02}, Bytes(8, 0xFF),
           &TMainForm::bDetectDeviceClick);
    ASSERT_EQ(form.FuseList.items.at(6).text, "ATmega103 comp. mode");
    form.FuseList.items[6].checked = true;
    form.FuseListClickCheck(6);
    takeReports();
    ASSERT_TRUE(s.run(&TMainForm::bWriteFuseClick));
    const auto writes = withCommand(takeReports(), 7);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0][kP1], 4);
    EXPECT_EQ(slice(writes[0], 13, 3), (Bytes{0xA4, 0x00, 0xFD}));
}

TEST_F(ReportBytesTest, OlderIspChipsWriteLockAndFuseInTheFirstByte) {
    runJob(&TMainForm::nAVRISPClick, {0x1E, 0x91, 0x02}, {0xFF}, &TMainForm::bDetectDeviceClick);
    ASSERT_EQ(form.AutoDevice.text, "AT90S/LS2323");
    struct Case {
        bool lock1, fstrt;
        Bytes entries;
    };
    const Case cases[] = {
        {false, true, {0xFF, 0x00, 0x00, 0xBE, 0x00, 0x00}},
        {false, false, {0xFF, 0x00, 0x00, 0xBF, 0x00, 0x00}},
        {true, false, {0xFD, 0x00, 0x00, 0xBF, 0x00, 0x00}},
    };
    for (const Case& c : cases) {
        form.FuseList.items.at(0).checked = c.lock1;
        form.FuseList.items.at(2).checked = c.fstrt;
        form.FuseListClickCheck(2);
        takeReports();
        ASSERT_TRUE(s.runAnswering(&TMainForm::bWriteFuseClick, true));
        const auto writes = withCommand(takeReports(), 7);
        ASSERT_EQ(writes.size(), 1u);
        EXPECT_EQ(writes[0][kP1], 2);
        EXPECT_EQ(slice(writes[0], 4, 6), c.entries);
    }
}

TEST_F(ReportBytesTest, SocketFuseBytesTravelAsTwoImages) {
    s.setBuffer(patternBytes(4));
    // Leave recognisable bytes in parameters 1 and 2: the socket fuse read sets none.
    programmer->readImage = patternBytes(2048);
    runJob(&TMainForm::N90S1200Click, {0x1E, 0x91, 0x01}, {}, &TMainForm::bAuslesenClick);
    ASSERT_EQ(form.FuseList.items.at(3).text, "FSTRT");

    form.FuseList.items[0].checked = true; // Lock bit 1
    form.FuseList.items[3].checked = true; // FSTRT
    form.FuseListClickCheck(3);
    takeReports();
    ASSERT_TRUE(s.runAnswering(&TMainForm::bWriteFuseClick, true));
    // The fuse byte goes first, with the lock bits left alone; then the lock bits.
    const auto writes = takeReports();
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(slice(writes[0], 1, 4), (Bytes{4, 7, 0xFF, 0xFE}));
    EXPECT_EQ(slice(writes[1], 1, 4), (Bytes{4, 7, 0xFD, 0xFE}));

    // A chip with a fuse read in the socket: the request carries no parameter.
    const auto detect = runJob(&TMainForm::N90S1200Click, {0x1E, 0x91, 0x02}, {0x3E},
                               &TMainForm::bDetectDeviceClick);
    ASSERT_EQ(detect.size(), 2u);
    EXPECT_EQ(detect[1][2], 8);
    EXPECT_EQ(slice(detect[1], kP1, 61), slice(detect[0], kP1, 61));
    // R1 0x3E: both lock bits and position 3 programmed, SPIEN not.
    const std::vector<bool> marks{form.FuseList.items[0].checked, form.FuseList.items[1].checked,
                                  form.FuseList.items[2].checked, form.FuseList.items[3].checked};
    EXPECT_EQ(marks, (std::vector<bool>{true, true, false, true}));
}

TEST_F(ReportBytesTest, LockedChipGetsAnEmptyFuseRequest) {
    runJob(&TMainForm::nAVRISPClick, kATmega8, kATmega8Fuses, &TMainForm::bDetectDeviceClick);
    form.FuseList.items.at(9).checked = true;
    const auto reports =
        runJob(nullptr, {0x00, 0x01, 0x02}, {0x00, 0x00}, &TMainForm::bDetectDeviceClick);
    EXPECT_EQ(form.AutoDevice.text, "Device locked !");
    const auto reads = withCommand(reports, 8);
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(reads[0][kP1], 0);
    // The list and its marks stay as the last identification and the user left them.
    // (high 0xD9 programs SPIEN, BOOTSZ1, BOOTSZ0; low 0xE1 SUT0 and CKSEL3..1; 9 by hand)
    const std::vector<std::size_t> programmed{8, 9, 11, 12, 17, 18, 19, 20};
    ASSERT_EQ(form.FuseList.items.size(), 22u);
    for (std::size_t i = 0; i < 22; ++i) {
        EXPECT_EQ(form.FuseList.items[i].checked,
                  std::find(programmed.begin(), programmed.end(), i) != programmed.end())
            << i;
    }
    EXPECT_EQ(form.CodeSize.text, "8192");
    EXPECT_EQ(s.log().at(s.log().size() - 2), "Successfully finished.");
}

TEST_F(ReportBytesTest, BytesACommandDoesNotSetKeepThePreviousReports) {
    s.setBuffer(patternBytes(5));
    const auto reports =
        runJob(&TMainForm::nAVRISPClick, kATmega8, kATmega8Fuses, &TMainForm::bLoeschClick);
    ASSERT_EQ(reports.size(), 3u); // signature, fuse read, erase
    // The ISP erase sets no parameter: everything after the command byte is the fuse request.
    EXPECT_EQ(slice(reports[2], kP1, 62), slice(reports[1], kP1, 62));
    // And the fuse read's own entries overwrite only offsets 3 to 24.
    EXPECT_EQ(slice(reports[1], 25, 40), slice(reports[0], 25, 40));
}

} // namespace
} // namespace tarvik::scenario
