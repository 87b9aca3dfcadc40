// Running the programmer's jobs from the command line: which of the window's buttons each
// command presses, the checks before any programmer is looked for, and the session that runs it.
#include "cli/job_runner.h"

#include <algorithm>

#include "chips/device_menu.h"
#include "cli/cli_texts.h"
#include "cli/fuse_assignments.h"
#include "cli/input_file.h"
#include "cli/job_session.h"
#include "emulator/virtual_chip.h"

namespace tarvik::cli {

namespace {

using F = TMainForm;

constexpr JobCommand kJobCommands[] = {
    {CommandId::Detect, &F::bDetectDeviceClick, &F::bDetectDevice, FileUse::None},
    {CommandId::Erase, &F::bLoeschClick, &F::bLoesch, FileUse::None},
    {CommandId::Write, &F::bProgClick, &F::bProg, FileUse::Load},
    {CommandId::Verify, &F::bVerglClick, &F::bVergl, FileUse::Load},
    {CommandId::Read, &F::bAuslesenClick, &F::bAuslesen, FileUse::Save},
    {CommandId::WriteEeprom, &F::bprogeepromClick, &F::bprogeeprom, FileUse::Load},
    {CommandId::ReadEeprom, &F::breadeepromClick, &F::breadeeprom, FileUse::Save},
    {CommandId::ReadFuses, &F::bDetectDeviceClick, &F::bDetectDevice, FileUse::None},
    {CommandId::WriteFuses, &F::bDetectDeviceClick, &F::bDetectDevice, FileUse::None},
    {CommandId::BlankCheck, &F::nBlankCheckClick, &F::bAuslesen, FileUse::None},
    {CommandId::BlankCheck, &F::BlankCheckEeprom, &F::breadeeprom, FileUse::None, true},
};

} // namespace

int runJobCommand(const CliOptions& options, CliIo& io, const BackendFactory& openBackend) {
    const auto* job = std::ranges::find_if(kJobCommands, [&](const JobCommand& row) {
        return row.id == options.command->id && row.eeprom == options.eeprom;
    });
    if (job == std::end(kJobCommands))
        return kExitUsage;
    const std::uint8_t language = options.language;
    const auto usage = [&](std::string_view message) {
        io.err << message << '\n';
        return kExitUsage;
    };
    if (job->file == FileUse::Load) {
        if (const auto problem = inputFileProblem(options.args.front(), partOf(*job), language))
            return usage(*problem);
    }
    ParsedAssignments fuses;
    std::optional<FuseFile> fuseFile;
    if (!options.fuseFile.empty()) {
        fuseFile = readFuseFile(options.fuseFile, language);
        if (!fuseFile->problem.empty())
            return usage(fuseFile->problem);
    } else if (job->id == CommandId::WriteFuses) {
        fuses = parseFuseAssignments(options.args);
        if (fuses.error)
            return usage(describe(*fuses.error, language));
    }
    if (options.serial) {
        // The number goes into the image the command writes.
        const chips::DeviceEntry* device = chips::findDeviceEntry(options.deviceEntry);
        const bool serialEeprom =
            device != nullptr && device->kind == chips::DeviceKind::SerialEeprom;
        const bool eeprom = options.serial->memory == SerialMemory::Eeprom;
        const bool fits = job->id == CommandId::WriteEeprom ? eeprom : (!eeprom || serialEeprom);
        if (!fits)
            return usage(fillIn(pick(texts::kSerialMemory, language),
                                {eeprom ? "eeprom" : "flash", options.command->name}));
    }
    if (options.programmer.kind == ProgrammerChoice::Kind::Emulate &&
        emulator::findVirtualChip(options.programmer.chip) == nullptr)
        return usage(fillIn(pick(texts::kUnknownChip, language), {options.programmer.chip}));

    JobSession session(options, io);
    return session.run(*job, fuses.assignments, fuseFile ? &*fuseFile : nullptr, openBackend);
}

} // namespace tarvik::cli
