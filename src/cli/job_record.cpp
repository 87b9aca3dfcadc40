// Filling a production log row from the engine's outcome.
#include "cli/job_record.h"

#include "buffer/crc32.h"
#include "operations/engine_support.h"

namespace tarvik::cli {

ProductionRecord productionRecord(const TMainForm& form, const JobRun& run) {
    const JobOutcome& outcome = form.Outcome;
    ProductionRecord record;
    record.time = isoLocalTime(run.started);
    record.label = run.label;
    record.node = run.node;
    record.job = std::string(run.command);
    if (outcome.chip) {
        record.chip = outcome.chip->name;
        for (const std::uint8_t byte : outcome.chip->signature) {
            if (!record.signature.empty())
                record.signature += ' ';
            record.signature += engine::hexByte(byte);
        }
    } else if (form.IsSerialEeprom) {
        record.chip = form.Device.text; // a serial EEPROM has no signature: the one selected
    }
    if (!run.image.empty()) {
        record.imageBytes = run.image.size();
        record.crc32 = crc32(run.image);
    }
    record.serial = run.serial;
    record.succeeded = run.succeeded;
    record.duration = run.duration;
    const bool engineFailed = outcome.result == JobResult::Failed ||
                              outcome.result == JobResult::Aborted ||
                              outcome.result == JobResult::Unplugged;
    if (!run.succeeded)
        record.errorLine =
            engineFailed && !outcome.errorLine.empty() ? outcome.errorLine : run.error;
    return record;
}

} // namespace tarvik::cli
