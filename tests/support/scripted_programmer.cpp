// Scripted and answering test programmers.
#include "support/scripted_programmer.h"

#include <algorithm>

namespace tarvik::scenario {

InputReportBytes inputReport(std::span<const std::uint8_t> payload) {
    InputReportBytes report{};
    std::copy_n(payload.begin(), std::min(payload.size(), report.size() - 1), report.begin() + 1);
    return report;
}

InputReportBytes inputReport(std::initializer_list<std::uint8_t> payload) {
    return inputReport(std::span<const std::uint8_t>(payload.begin(), payload.size()));
}

DeviceReply ScriptedProgrammer::onOutputReport(std::span<const std::uint8_t> report) {
    {
        std::lock_guard lock(mutex_);
        reports_.emplace_back(report.begin(), report.end());
    }
    DeviceReply reply;
    if (respond) {
        reply.reports = respond(report);
    }
    return reply;
}

std::vector<Bytes> ScriptedProgrammer::reports() const {
    std::lock_guard lock(mutex_);
    return reports_;
}

Bytes ScriptedProgrammer::commands() const {
    std::lock_guard lock(mutex_);
    Bytes commands;
    for (const Bytes& report : reports_) {
        commands.push_back(report.size() > 2 ? report[2] : 0);
    }
    return commands;
}

AnsweringProgrammer::AnsweringProgrammer() {
    respond = [this](std::span<const std::uint8_t> report) -> std::vector<InputReportBytes> {
        const std::uint8_t command = report[2];
        const bool more = report[4] != 0;
        const bool chunk = command == 3 || command == 4 || command == 9;
        // A chunked transfer is one command however many reports it takes.
        if (!(chunk && chunkedWrite_)) {
            ++commandCount_;
        }
        chunkedWrite_ = chunk && more;
        if (commandCount_ == silentCommand) {
            return {};
        }
        if (commandCount_ == failCommand) {
            chunkedWrite_ = false;
            return {inputReport({'!'})};
        }
        if (chunk && more) {
            return {inputReport({'*'})};
        }
        switch (command) {
        case 1: {
            Bytes answer{'s'};
            answer.insert(answer.end(), signature.begin(), signature.end());
            return {inputReport(answer)};
        }
        case 2:
            return {inputReport({'e'})};
        case 3:
        case 9:
            return {inputReport({'w'})};
        case 4:
            return {inputReport({'v'})};
        case 5:
        case 10: {
            std::vector<InputReportBytes> answers;
            for (std::size_t pos = 0; pos < readImage.size() || answers.empty(); pos += 63) {
                const std::size_t count = std::min<std::size_t>(63, readImage.size() - pos);
                Bytes answer{static_cast<std::uint8_t>(count)};
                answer.insert(answer.end(), readImage.begin() + static_cast<std::ptrdiff_t>(pos),
                              readImage.begin() + static_cast<std::ptrdiff_t>(pos + count));
                answers.push_back(inputReport(answer));
            }
            return answers;
        }
        case 6:
            return {inputReport({static_cast<std::uint8_t>('0' + report[4])})};
        case 7:
            return {inputReport({'f'})};
        case 8: {
            Bytes answer{'r'};
            answer.insert(answer.end(), fuseValues.begin(), fuseValues.end());
            return {inputReport(answer)};
        }
        default:
            return {inputReport({'!'})};
        }
    };
}

} // namespace tarvik::scenario
