// The Windows backend over a fake HID system: what it opens to learn what, identities across
// plug-ins, opening for reading and writing or for queries, and a missing system library.
#include "link/windows/windows_hid_backend.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fake_hid_system.h"
#include "link/windows/hid_interfaces.h"

namespace tarvik {
namespace {

using test::FakeHidDevice;
using test::FakeHidSystem;

constexpr UsbIds kProgrammer{0x0451, 0x3210};
const std::wstring kProgrammerPath =
    L"\\\\?\\hid#vid_0451&pid_3210#7&1a2b&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
const std::wstring kMousePath =
    L"\\\\?\\hid#vid_046d&pid_c077#7&3c4d&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
const std::wstring kBluetoothPath =
    L"\\\\?\\hid#{00001124-0000-1000-8000-00805f9b34fb}_vid&0002046d_pid&b00d#9&5e&0&0000#{"
    L"4d1e55b2-f16f-11cf-88cb-001111000030}";
const std::wstring kVirtualPath = L"\\\\?\\hid#virtual_programmer#1&0&0&0000#{4d1e55b2}";

class FakeChanges : public DeviceChangeSource {
public:
    void watch(std::function<void(const DeviceChangeNotice&)> onNotice) override {
        onNotice_ = std::move(onNotice);
    }
    void send(const DeviceChangeNotice& notice) { onNotice_(notice); }

private:
    std::function<void(const DeviceChangeNotice&)> onNotice_;
};

class WindowsBackendTest : public ::testing::Test {
protected:
    std::unique_ptr<WindowsHidBackend> makeBackend(std::unique_ptr<HidSystem> system = {}) {
        auto changes = std::make_unique<FakeChanges>();
        changes_ = changes.get();
        return std::make_unique<WindowsHidBackend>(dispatcher_,
                                                   system ? std::move(system) : fake_.system(),
                                                   std::move(changes), kProgrammer);
    }
    int opensOf(const std::wstring& path) const {
        return static_cast<int>(std::count_if(fake_.opens.begin(), fake_.opens.end(),
                                              [&](const auto& open) { return open.path == path; }));
    }
    const HidDeviceInfo& find(const std::vector<HidDeviceInfo>& devices, const std::wstring& path) {
        const std::string narrow(path.begin(), path.end()); // the test paths are ASCII
        const auto found = std::find_if(devices.begin(), devices.end(),
                                        [&](const auto& info) { return info.path == narrow; });
        EXPECT_NE(found, devices.end());
        return *found;
    }

    FakeHidSystem fake_;
    PlainDispatcher dispatcher_;
    FakeChanges* changes_ = nullptr;
};

TEST_F(WindowsBackendTest, OpensOnlyWhatItsPathDoesNotIdentifyAndReadsLengthsOfProgrammers) {
    fake_.devices = {{kMousePath, {0x046d, 0xc077}},
                     {kProgrammerPath, kProgrammer, 0x0207, 65, 65},
                     {kBluetoothPath, {0x046d, 0xb00d}},
                     {kVirtualPath, kProgrammer, 0x0100, 64, 65}};
    auto backend = makeBackend();
    const auto devices = backend->enumerate();
    ASSERT_EQ(devices.size(), 4u);

    const HidDeviceInfo& mouse = find(devices, kMousePath);
    EXPECT_EQ(opensOf(kMousePath), 0); // another device: never opened
    EXPECT_EQ(UsbIds(mouse.vendorId, mouse.productId), (UsbIds{0x046d, 0xc077}));
    EXPECT_EQ(mouse.inputReportLength, 0);

    const HidDeviceInfo& programmer = find(devices, kProgrammerPath);
    EXPECT_EQ(programmer.version, 0x0207);
    EXPECT_EQ(programmer.inputReportLength, 65);
    EXPECT_EQ(programmer.outputReportLength, 65);

    const HidDeviceInfo& bluetooth = find(devices, kBluetoothPath);
    EXPECT_EQ(UsbIds(bluetooth.vendorId, bluetooth.productId), (UsbIds{0x046d, 0xb00d}));
    EXPECT_EQ(bluetooth.outputReportLength, 0); // not a programmer: its reports do not matter

    const HidDeviceInfo& programmerBehindPath = find(devices, kVirtualPath);
    EXPECT_EQ(programmerBehindPath.inputReportLength, 64);
    EXPECT_EQ(programmerBehindPath.outputReportLength, 65);

    // Every open was for queries only, shared, and nothing is left open.
    for (const auto& open : fake_.opens) {
        EXPECT_EQ(open.access, 0u);
        EXPECT_EQ(open.share, DWORD(FILE_SHARE_READ | FILE_SHARE_WRITE));
    }
    EXPECT_EQ(fake_.openHandles, 0);
    EXPECT_EQ(fake_.preparsedHeld, 0);
    EXPECT_EQ(fake_.setsHeld, 0);
}

TEST_F(WindowsBackendTest, LeavesOutWhatCannotBeIdentifiedAndAsksAgainNextTime) {
    fake_.devices = {{kVirtualPath, kProgrammer}};
    fake_.devices[0].identifiable = false;
    auto backend = makeBackend();
    EXPECT_TRUE(backend->enumerate().empty());
    fake_.devices[0].identifiable = true;
    ASSERT_EQ(backend->enumerate().size(), 1u);
}

TEST_F(WindowsBackendTest, IdentityStaysWhileListedAndIsNewForEveryPlugIn) {
    fake_.devices = {{kProgrammerPath, kProgrammer}};
    auto backend = makeBackend();
    int changes = 0;
    backend->watch([&changes] { ++changes; });

    const std::string first = backend->enumerate().at(0).identity;
    EXPECT_EQ(backend->enumerate().at(0).identity, first);
    EXPECT_EQ(opensOf(kProgrammerPath), 1); // what was learnt is kept while it stays

    // Gone from one enumeration, then back in the same port: the same path, a new device.
    const FakeHidDevice programmer = fake_.devices[0];
    fake_.devices.clear();
    EXPECT_TRUE(backend->enumerate().empty());
    fake_.devices = {programmer};
    const std::string second = backend->enumerate().at(0).identity;
    EXPECT_NE(second, first);

    // Unplugged and plugged in again between two enumerations: the system's notice of the
    // removal (its spelling of the path in other case) tells, and the notice is a change.
    std::wstring upper = kProgrammerPath;
    std::transform(upper.begin(), upper.end(), upper.begin(), ::towupper);
    changes_->send({true, upper});
    changes_->send({false, kProgrammerPath});
    EXPECT_EQ(changes, 0); // on the main thread only
    dispatcher_.runPending();
    EXPECT_EQ(changes, 2);
    const std::string third = backend->enumerate().at(0).identity;
    EXPECT_NE(third, second);
    EXPECT_NE(third, first);
    EXPECT_EQ(backend->enumerate().at(0).identity, third);
}

TEST_F(WindowsBackendTest, OpensSharedForOverlappedReadingAndWritingElseForQueries) {
    fake_.devices = {{kProgrammerPath, kProgrammer}};
    auto backend = makeBackend();
    const HidDeviceInfo info = backend->enumerate().at(0);
    fake_.opens.clear();
    {
        const auto connection = backend->open(info);
        ASSERT_TRUE(connection);
        EXPECT_TRUE(connection->readWriteAccess());
        ASSERT_EQ(fake_.opens.size(), 1u);
        EXPECT_EQ(fake_.opens[0].access, DWORD(GENERIC_READ | GENERIC_WRITE));
        EXPECT_EQ(fake_.opens[0].share, DWORD(FILE_SHARE_READ | FILE_SHARE_WRITE));
        EXPECT_EQ(fake_.opens[0].flags, DWORD(FILE_FLAG_OVERLAPPED));
        EXPECT_EQ(fake_.inputBuffersAsked, std::vector<ULONG>{WindowsHidBackend::kInputBuffers});
    }
    EXPECT_EQ(fake_.openHandles, 0);

    // A system that keeps its default input buffers still gives a working connection.
    fake_.inputBuffersFail = true;
    EXPECT_TRUE(backend->open(info));
    fake_.inputBuffersAsked.clear();

    // Another program holds it: it opens for queries only, and the backend says what to do.
    fake_.devices[0].readWritable = false;
    {
        const auto connection = backend->open(info);
        ASSERT_TRUE(connection);
        EXPECT_FALSE(connection->readWriteAccess());
        std::uint8_t report[65]{};
        EXPECT_FALSE(connection->write(report));
        EXPECT_EQ(connection->read(report, 0), -1);
    }
    EXPECT_EQ(fake_.openHandles, 0);
    EXPECT_TRUE(fake_.inputBuffersAsked.empty()); // a query handle reads nothing
    for (std::uint8_t language = 0; language < 3; ++language) {
        const auto remedy = backend->accessRemedy(language);
        ASSERT_EQ(remedy.size(), 1u);
        EXPECT_FALSE(remedy[0].empty());
    }
    EXPECT_TRUE(backend->accessRemedy(3).empty());
    EXPECT_NE(backend->accessRemedy(0), backend->accessRemedy(2));

    // Gone: neither open succeeds.
    fake_.devices[0].identifiable = false;
    EXPECT_FALSE(backend->open(info));
}

TEST_F(WindowsBackendTest, AMissingLibraryFindsNothingAndSaysWhy) {
    fake_.devices = {{kProgrammerPath, kProgrammer}};
    auto system = fake_.system();
    system->missing = MissingHidService{"HID.dll", "HidP_GetCaps"};
    auto backend = makeBackend(std::move(system));
    EXPECT_TRUE(backend->enumerate().empty());
    EXPECT_TRUE(fake_.opens.empty());
    const auto refused = backend->refusedProgrammer();
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->path, "HID.dll");
    for (const std::string& line : refused->reason) {
        EXPECT_NE(line.find("HID.dll"), std::string::npos) << line;
        EXPECT_NE(line.find("HidP_GetCaps"), std::string::npos) << line;
    }
    EXPECT_FALSE(makeBackend()->refusedProgrammer());
}

TEST_F(WindowsBackendTest, ClassIdFromHidDllElseTheBuiltInOne) {
    makeBackend()->enumerate();
    EXPECT_TRUE(IsEqualGUID(fake_.classAsked, fake_.hidClass));
    makeBackend(fake_.system(false))->enumerate();
    EXPECT_TRUE(IsEqualGUID(fake_.classAsked, kHidInterfaceClass));

    fake_.devices = {{kProgrammerPath, kProgrammer}};
    fake_.classDevsFail = true;
    EXPECT_TRUE(makeBackend()->enumerate().empty());
}

// The real libraries, as far as a machine without the programmer shows them.
TEST(BoundHidSystem, BindsEveryServiceByName) {
    const BoundHidSystem bound;
    EXPECT_FALSE(bound.missing) << bound.missing->library << ": " << bound.missing->name;
    EXPECT_TRUE(IsEqualGUID(hidInterfaceClass(bound.api), kHidInterfaceClass));
    EXPECT_TRUE(bound.api.setNumInputBuffers);
    for (const std::wstring& path : listHidInterfaces(bound.api))
        EXPECT_FALSE(path.empty());
}

} // namespace
} // namespace tarvik
