// The backends --programmer chooses between: the real programmer on USB, the virtual
// programmer in this process, or one served on a socket.
#include <memory>

#include "cli/cli.h"
#include "cli/cli_texts.h"
#include "emulator/virtual_programmer.h"
#include "link/open_backend.h"

namespace tarvik::cli {

std::unique_ptr<HidBackend> openProgrammerBackend(const ProgrammerChoice& choice,
                                                  Dispatcher& mainThread) {
    BackendChoice backend;
    switch (choice.kind) {
    case ProgrammerChoice::Kind::Emulate:
        backend.kind = BackendChoice::Kind::Emulated;
        backend.device = std::make_shared<emulator::VirtualProgrammer>(choice.chip);
        break;
    case ProgrammerChoice::Kind::Socket:
        backend.kind = BackendChoice::Kind::Socket;
        backend.socketPath = choice.socketPath;
        break;
    case ProgrammerChoice::Kind::Hid:
        break;
    }
    return openBackend(backend, mainThread);
}

const LangText& missingBackendText(const ProgrammerChoice& choice) {
    return choice.kind == ProgrammerChoice::Kind::Socket ? texts::kNoSocketSupport
                                                         : texts::kNoUsbSupport;
}

} // namespace tarvik::cli
