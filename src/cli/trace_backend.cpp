// The tracing decorator: the backend passes everything through and wraps each connection it
// opens, so every report written or read is shown as it goes.
#include "cli/trace_backend.h"

#include <algorithm>

namespace tarvik::cli {

namespace {

class TraceConnection : public HidConnection {
public:
    TraceConnection(std::unique_ptr<HidConnection> inner, std::shared_ptr<TraceSink> sink)
        : inner_(std::move(inner)), sink_(std::move(sink)) {}

    bool readWriteAccess() const override { return inner_->readWriteAccess(); }

    bool write(std::span<const std::uint8_t> report) override {
        (*sink_)(traceLine('>', report));
        return inner_->write(report);
    }

    int read(std::span<std::uint8_t> report, int timeoutMs) override {
        const int count = inner_->read(report, timeoutMs);
        if (count > 0)
            (*sink_)(traceLine(
                '<', report.first(std::min(report.size(), static_cast<std::size_t>(count)))));
        return count;
    }

    void wakeUp() override { inner_->wakeUp(); }

private:
    std::unique_ptr<HidConnection> inner_;
    std::shared_ptr<TraceSink> sink_;
};

class TraceBackend : public HidBackend {
public:
    TraceBackend(std::unique_ptr<HidBackend> inner, TraceSink sink)
        : inner_(std::move(inner)), sink_(std::make_shared<TraceSink>(std::move(sink))) {}

    std::vector<HidDeviceInfo> enumerate() override { return inner_->enumerate(); }

    std::unique_ptr<HidConnection> open(const HidDeviceInfo& info) override {
        std::unique_ptr<HidConnection> connection = inner_->open(info);
        if (!connection)
            return nullptr;
        return std::make_unique<TraceConnection>(std::move(connection), sink_);
    }

    void watch(std::function<void()> onChange) override { inner_->watch(std::move(onChange)); }
    std::optional<RefusedProgrammer> refusedProgrammer() const override {
        return inner_->refusedProgrammer();
    }
    std::vector<std::string> accessRemedy(std::uint8_t languageCode) const override {
        return inner_->accessRemedy(languageCode);
    }

private:
    std::unique_ptr<HidBackend> inner_;
    std::shared_ptr<TraceSink> sink_;
};

} // namespace

std::string hexPairs(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0)
            text += ' ';
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

std::string traceLine(char direction, std::span<const std::uint8_t> bytes) {
    return std::string{direction, ' '} + hexPairs(bytes);
}

std::unique_ptr<HidBackend> traceBackend(std::unique_ptr<HidBackend> inner, TraceSink sink) {
    return std::make_unique<TraceBackend>(std::move(inner), std::move(sink));
}

} // namespace tarvik::cli
