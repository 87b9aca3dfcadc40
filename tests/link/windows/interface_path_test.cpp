// Reading the USB ids out of HID interface paths, as Windows and wine spell them.
#include "link/windows/interface_path.h"

#include <gtest/gtest.h>

namespace tarvik {
namespace {

struct PathCase {
    const wchar_t* path;
    std::optional<UsbIds> ids;
};

TEST(InterfacePath, IdsOnlyFromAWellFormedPair) {
    const PathCase cases[] = {
        {L"\\\\?\\hid#vid_0451&pid_3210#7&1a2b3c4d&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}",
         UsbIds{0x0451, 0x3210}},
        {L"\\\\?\\HID#VID_0451&PID_3210&MI_00#8&DEADBEEF&0&0000#{4D1E55B2-F16F-11CF-88CB-"
         L"001111000030}",
         UsbIds{0x0451, 0x3210}},
        {L"\\\\?\\hid#Vid_aBcD&pId_Ef01&col02#x", UsbIds{0xabcd, 0xef01}},
        // The first well-formed pair counts; a broken one before it is skipped.
        {L"\\\\?\\hid#vid_12&pid_3456#vid_0451&pid_3210#x", UsbIds{0x0451, 0x3210}},
        {L"vid_0451&pid_3210", UsbIds{0x0451, 0x3210}},
        // Bluetooth spells its ids differently: not read from the path.
        {L"\\\\?\\hid#{00001124-0000-1000-8000-00805f9b34fb}_vid&0002046d_pid&b00d#9&x", {}},
        {L"\\\\?\\hid#vid_0451&pid_32101#x", {}}, // five digits
        {L"\\\\?\\hid#vid_045&pid_3210#x", {}},   // three digits
        {L"\\\\?\\hid#vid_04g1&pid_3210#x", {}},  // not hexadecimal
        {L"\\\\?\\hid#vid_0451#pid_3210#x", {}},  // not joined by &
        {L"\\\\?\\hid#vid_0451&pid_", {}},        // cut off
        {L"\\\\?\\hid#vid_0451", {}},
        {L"", {}},
    };
    for (const PathCase& c : cases)
        EXPECT_EQ(idsFromInterfacePath(c.path), c.ids) << c.path;
}

TEST(InterfacePath, KeyIgnoresTheCaseOfLettersOnly) {
    EXPECT_EQ(interfacePathKey(L"\\\\?\\HID#VID_0451&PID_3210#{4D1E}"),
              interfacePathKey(L"\\\\?\\hid#vid_0451&pid_3210#{4d1e}"));
    EXPECT_NE(interfacePathKey(L"\\\\?\\hid#a"), interfacePathKey(L"\\\\?\\hid#b"));
    EXPECT_EQ(interfacePathKey(L"Прошивка"), L"Прошивка"); // only ASCII is folded
}

} // namespace
} // namespace tarvik
