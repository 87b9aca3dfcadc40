// The in-process fixture: a backend that plugs the test's virtual programmer when the test
// says, and helpers for files and output.
#include "cli_fixture.h"

#include <unistd.h>

#include <condition_variable>
#include <fstream>
#include <mutex>
#include <stop_token>
#include <thread>

#include "link/emulated_backend.h"
#include "support/test_remedy.h"

namespace tarvik::cli::test {

namespace fs = std::filesystem;

namespace {

// The emulated bus with the device plugged after a delay (or never); the plugging thread is
// stopped and joined before the bus goes away.
class PluggingBackend : public HidBackend {
public:
    PluggingBackend(Dispatcher& mainThread, std::shared_ptr<VirtualDevice> device,
                    std::shared_ptr<VirtualDevice> second, std::chrono::milliseconds delay,
                    Latency latency, const EmulatedDeviceOptions& options)
        : inner_(mainThread) {
        inner_.setAccessRemedy(scenario::testAccessRemedy);
        if (!device)
            return;
        if (delay.count() == 0) {
            inner_.plug(device, latency, options);
            if (second)
                inner_.plug(second, latency, options);
            return;
        }
        plugger_ =
            std::jthread([this, device, second, delay, latency, options](std::stop_token stop) {
                std::mutex mutex;
                std::condition_variable_any wake;
                std::unique_lock lock(mutex);
                if (wake.wait_for(lock, stop, delay, [&stop] { return stop.stop_requested(); }))
                    return;
                inner_.plug(device, latency, options);
                if (second)
                    inner_.plug(second, latency, options);
            });
    }

    std::vector<HidDeviceInfo> enumerate() override { return inner_.enumerate(); }
    std::unique_ptr<HidConnection> open(const HidDeviceInfo& info) override {
        return inner_.open(info);
    }
    void watch(std::function<void()> onChange) override { inner_.watch(std::move(onChange)); }
    std::vector<std::string> accessRemedy(std::uint8_t languageCode) const override {
        return inner_.accessRemedy(languageCode);
    }

private:
    EmulatedBackend inner_;
    std::jthread plugger_;
};

} // namespace

CliTest::CliTest() {
    dir_ = fs::temp_directory_path() /
           ("tarvik-cli-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
}

CliTest::~CliTest() {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
}

int CliTest::run(std::vector<std::string> args) {
    out.str("");
    err.str("");
    if (programmer)
        programmer->setRecording(true); // tests assert the reports that went out
    CliIo io{out, err, terminal, TARVIK_CLI_PATH, &in};
    const BackendFactory factory = [this](const ProgrammerChoice&, Dispatcher& mainThread) {
        std::shared_ptr<VirtualDevice> plug = model ? model : programmer;
        return std::make_unique<PluggingBackend>(
            mainThread, plugged ? plug : nullptr,
            plugged ? std::shared_ptr<VirtualDevice>(second) : nullptr, plugDelay, latency, device);
    };
    return runCli(args, io, factory);
}

std::vector<std::string> CliTest::outLines() const {
    return lines(out.str());
}

std::vector<std::string> CliTest::errLines() const {
    return lines(err.str());
}

std::string CliTest::path(const std::string& name) const {
    return (dir_ / name).string();
}

void CliTest::put(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    std::ofstream(path(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

void CliTest::put(const std::string& name, const std::string& text) const {
    std::ofstream(path(name), std::ios::binary) << text;
}

std::vector<std::uint8_t> CliTest::get(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::uint8_t> pattern(std::size_t n, std::uint8_t seed) {
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<std::uint8_t>((i * 7 + seed) % 251);
    return bytes;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

} // namespace tarvik::cli::test
