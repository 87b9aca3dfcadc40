// The Device menu catalogue: order, stored indexes, texts and serial EEPROM geometry.
#include "chips/device_menu.h"
#include "chips/home_entries.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace tarvik::chips {
namespace {

TEST(DeviceEntries, MenuOrderAndLastDeviceIndexes) {
    std::vector<std::string> names;
    std::vector<int> indexes;
    for (const DeviceEntry& e : deviceEntries()) {
        names.emplace_back(e.name);
        indexes.push_back(e.lastDeviceIndex);
    }
    EXPECT_EQ(names, (std::vector<std::string>{
                         "n89Cx051", "n89C5x",  "n89Sxx",   "N90S1200", "N24AA00",  "N24AA01",
                         "N24C01C",  "N24AA02", "N24C02C",  "N24C04a",  "N24AA04",  "N24AA08",
                         "N24AA16",  "N24aa32", "N24AA64",  "N24AA128", "n24AA256", "N24AA512",
                         "nAVRISP",  "N12C508", "n12C508a", "n12c509",  "N12C509A", "N12CE518",
                         "N12CE519", "N16C54",  "N16C56",   "N16C84",   "N16F83",   "N16F84"}));
    // 3 is the separator of the socket submenu; the Microchip entries are never stored.
    EXPECT_EQ(indexes,
              (std::vector<int>{0,  1,  2,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
                                16, 17, 18, 19, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
}

TEST(DeviceEntries, FindByExactName) {
    ASSERT_NE(findDeviceEntry("N24C04a"), nullptr);
    EXPECT_EQ(findDeviceEntry("N24C04a")->deviceText, "24C04A");
    EXPECT_EQ(findDeviceEntry("N24C04A"), nullptr); // names are case-sensitive
    EXPECT_EQ(findDeviceEntry(""), nullptr);
    EXPECT_EQ(findDeviceEntry("N4"), nullptr); // the separator is no chip entry
}

TEST(DeviceEntries, CaptionsAndDeviceTexts) {
    struct Texts {
        std::string_view name, caption, deviceText;
    };
    const Texts cases[] = {
        {"n89Cx051", "89Cx051 (автоопределение)", "89Cx051 (autodetect)"},
        {"n89Sxx", "89Sxx (автоопределение)", "89Sxx (autodetect)"},
        {"N90S1200", "90S1200 / 90S2313 (автоопределение)", "90S1200 / 90S2313 (autodetect)"},
        {"nAVRISP", "AVR (автоопределение)", "AVR ISP (автоопределение)"},
        {"N24AA04", "24AA04 / 24LC04B", "24AA04 / 24(L)C04B"},
        {"N24AA128", "24AA128 / 24(L/F)C128", "24AA128/24(L/F)C128"},
        {"N24AA512", "24AA512 / 24(L/F)C512", "24AA512 / 24(L/F)C512"},
        {"n12C508a", "12C508A", "12C508A"},
    };
    for (const Texts& c : cases) {
        const DeviceEntry* e = findDeviceEntry(c.name);
        ASSERT_NE(e, nullptr) << c.name;
        EXPECT_EQ(e->caption, c.caption);
        EXPECT_EQ(e->deviceText, c.deviceText);
    }
}

TEST(DeviceEntries, SerialEepromGeometry) {
    struct Geometry {
        std::string_view name;
        std::uint16_t sizeCode;
        std::int16_t pageSize;
        std::string_view codeSize;
    };
    const Geometry cases[] = {
        {"N24AA00", 0, 1, "16"},         {"N24AA01", 1, 8, "128"},
        {"N24C01C", 1, 16, "128"},       {"N24aa32", 32, 32, "4096"},
        {"N24AA128", 128, 64, "16384"},  {"n24AA256", 129, 64, "32768"},
        {"N24AA512", 130, 128, "65536"},
    };
    for (const Geometry& c : cases) {
        const DeviceEntry* e = findDeviceEntry(c.name);
        ASSERT_NE(e, nullptr) << c.name;
        EXPECT_EQ(e->kind, DeviceKind::SerialEeprom);
        EXPECT_EQ(e->eepromSizeCode, c.sizeCode) << c.name;
        EXPECT_EQ(e->eepromPageSize, c.pageSize) << c.name;
        EXPECT_EQ(e->codeSize, c.codeSize) << c.name;
        EXPECT_FALSE(e->enableEepromActions);
        EXPECT_EQ(e->fusePreset, FusePreset::None);
    }
}

TEST(DeviceEntries, FamiliesPresetsAndActions) {
    struct Setup {
        std::string_view name;
        DeviceKind kind;
        FusePreset preset;
        bool eepromActions;
        bool isPic;
    };
    const Setup cases[] = {
        {"n89Cx051", DeviceKind::SocketMcu, FusePreset::LockPair, false, false},
        {"n89C5x", DeviceKind::SocketMcu, FusePreset::LockPair, false, false},
        {"n89Sxx", DeviceKind::SocketMcu, FusePreset::None, false, false},
        {"N90S1200", DeviceKind::SocketMcu, FusePreset::Socket, true, false},
        {"nAVRISP", DeviceKind::AvrIsp, FusePreset::None, true, false},
        {"N12CE519", DeviceKind::Pic, FusePreset::None, false, true},
        {"N16C84", DeviceKind::Pic, FusePreset::None, true, true},
        {"N16F83", DeviceKind::Pic, FusePreset::None, true, false},
        {"N16F84", DeviceKind::Pic, FusePreset::None, true, false},
    };
    for (const Setup& c : cases) {
        const DeviceEntry* e = findDeviceEntry(c.name);
        ASSERT_NE(e, nullptr) << c.name;
        EXPECT_EQ(e->kind, c.kind) << c.name;
        EXPECT_EQ(e->fusePreset, c.preset) << c.name;
        EXPECT_EQ(e->enableEepromActions, c.eepromActions) << c.name;
        EXPECT_EQ(e->setsIsPic, c.isPic) << c.name;
    }
}

TEST(DeviceEntries, NamesAndStoredIndexesAreUnique) {
    std::set<std::string_view> names;
    std::set<int> indexes;
    for (const DeviceEntry& e : deviceEntries()) {
        EXPECT_TRUE(names.insert(e.name).second) << e.name;
        if (e.lastDeviceIndex >= 0) {
            EXPECT_TRUE(indexes.insert(e.lastDeviceIndex).second) << e.name;
        }
    }
}

// The entry a chip is reached by: by the name identification gives it, or by a serial
// EEPROM's size and write page (two entries share each size up to 512 bytes).
TEST(HomeEntries, ByChipNameAndBySerialEepromGeometry) {
    const std::pair<std::string_view, std::string_view> byName[] = {
        {"AT89C1051", "n89Cx051"}, {"AT89C4051", "n89Cx051"},   {"AT89C52", "n89C5x"},
        {"AT89LV55", "n89C5x"},    {"AT89S53", "n89Sxx"},       {"AT89S8252", "n89Sxx"},
        {"AT90S1200", "N90S1200"}, {"AT90S2313", "N90S1200"},   {"AT90S8515", "nAVRISP"},
        {"ATtiny12", "nAVRISP"},   {"AT90S/LS2323", "nAVRISP"}, {"ATmega128", "nAVRISP"},
    };
    for (const auto& [chip, entry] : byName) {
        ASSERT_NE(homeEntry(chip), nullptr) << chip;
        EXPECT_EQ(homeEntry(chip)->name, entry) << chip;
    }
    EXPECT_EQ(homeEntry("Device locked !"), nullptr);
    EXPECT_EQ(homeEntry("AT89C51 (5V)"), nullptr);

    struct Geometry {
        std::uint32_t bytes;
        std::uint16_t page;
        std::string_view entry; // empty: none
    };
    const Geometry geometries[] = {
        {16, 1, "N24AA00"},      {128, 8, "N24AA01"},      {128, 16, "N24C01C"},
        {512, 8, "N24C04a"},     {512, 16, "N24AA04"},     {4096, 32, "N24aa32"},
        {32768, 64, "n24AA256"}, {65536, 128, "N24AA512"}, {65536, 64, ""},
        {1000, 16, ""},
    };
    for (const Geometry& g : geometries) {
        const DeviceEntry* entry = serialEepromEntry(g.bytes, g.page);
        EXPECT_EQ(entry ? entry->name : "", g.entry) << g.bytes << "/" << g.page;
    }
}

} // namespace
} // namespace tarvik::chips
