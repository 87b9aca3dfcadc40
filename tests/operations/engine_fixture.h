// The engine tests' fixture: a window with a scripted programmer plugged in, so a test can
// feed it any answer and read every report it sends.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "support/scenario.h"
#include "support/scripted_programmer.h"

namespace tarvik::scenario {

class EngineTest : public ::testing::Test {
protected:
    Scenario s;
    std::shared_ptr<AnsweringProgrammer> programmer = std::make_shared<AnsweringProgrammer>();
    TMainForm& form = *s.form;

    void SetUp() override { s.plug(programmer); }

    // Hands the window one input report as the link would.
    void feed(std::initializer_list<std::uint8_t> payload) {
        const Bytes bytes(payload);
        form.HidData(form.ProgrammerDevice, 0, bytes.data(),
                     static_cast<std::uint16_t>(bytes.size()));
    }
    void feed(const Bytes& payload) {
        form.HidData(form.ProgrammerDevice, 0, payload.data(),
                     static_cast<std::uint16_t>(payload.size()));
    }

    // The reports sent since the last call, each whole.
    std::vector<Bytes> takeReports() {
        std::vector<Bytes> all = programmer->reports();
        std::vector<Bytes> fresh(all.begin() + static_cast<std::ptrdiff_t>(seen_), all.end());
        seen_ = all.size();
        return fresh;
    }

    // Selects a Device menu entry (none: keeps the selection), answers the signature and fuse read
    // with these bytes, runs the job to its end and returns the reports it sent.
    std::vector<Bytes> runJob(void (TMainForm::*select)(), Bytes signature, Bytes fuseValues,
                              void (TMainForm::*job)()) {
        if (select != nullptr) {
            std::invoke(select, form);
        }
        programmer->signature = std::move(signature);
        programmer->fuseValues = std::move(fuseValues);
        form.updatebuffer.checked = false;
        takeReports();
        EXPECT_TRUE(s.run(job));
        return takeReports();
    }

    // The reports among these that carry the command.
    static std::vector<Bytes> withCommand(const std::vector<Bytes>& reports, std::uint8_t command) {
        std::vector<Bytes> found;
        for (const Bytes& report : reports) {
            if (report[2] == command) {
                found.push_back(report);
            }
        }
        return found;
    }

private:
    std::size_t seen_ = 0;
};

// Report bytes from offset `from` on, for comparing against a few expected bytes.
inline Bytes slice(const Bytes& report, std::size_t from, std::size_t count) {
    return Bytes(report.begin() + static_cast<std::ptrdiff_t>(from),
                 report.begin() + static_cast<std::ptrdiff_t>(from + count));
}

} // namespace tarvik::scenario
