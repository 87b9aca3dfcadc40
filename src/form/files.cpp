// Loading a file into the buffer (Intel HEX or raw binary, told apart by the name, or by the
// content where the name says neither) and saving the buffer as either.
#include <span>
#include <string>
#include <string_view>

#include "buffer/buffer_texts.h"
#include "buffer/file_io.h"
#include "buffer/intel_hex.h"
#include "common/user_error.h"
#include "form/main_form.h"

namespace tarvik {

namespace {

// The part of a path after its last folder separator.
std::string_view baseName(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

} // namespace

void TMainForm::nopenClick() {
    NotifyOnExit notify(*this);
    OpenBufferFile();
}

void TMainForm::nsaveClick() {
    NotifyOnExit notify(*this);
    WriteHexFile();
}

void TMainForm::OpenBufferFile() {
    NotifyOnExit notify(*this);
    const std::string previous = OpenDialog1.fileName;
    if (!host_.executeOpenDialog(OpenDialog1) || OpenDialog1.fileName.empty())
        return;
    // A file that does not load leaves the buffer as it was, and with it the name of the file
    // it came from: the status bar and the reload before a job go on naming that one.
    struct KeepPreviousUnlessLoaded {
        TMainForm& form;
        const std::string& previous;
        bool loaded = false;
        ~KeepPreviousUnlessLoaded() {
            if (!loaded)
                form.OpenDialog1.fileName = previous;
        }
    } keep{*this, previous};
    ReadHexFile();
    if (ErrorFlag)
        return;
    keep.loaded = true;
    StatusBar.panels[1] = baseName(OpenDialog1.fileName);
    bProg.enabled = true;
    bVergl.enabled = true;
    nsave.enabled = true;
    nprogflash.enabled = true;
    nverifyflash.enabled = true;
}

void TMainForm::ReadHexFile() {
    NotifyOnExit notify(*this);
    const std::string& fileName = OpenDialog1.fileName;
    switch (const FileKind kind = loadKindOf(fileName, LanguageCode)) {
    case FileKind::Hex: {
        HexReadResult result = readIntelHex(readTextFile(fileName, LanguageCode));
        switch (result.status) {
        case HexStatus::Ok:
            Hexeditor.SetAllBytes(std::move(result.bytes));
            ErrorFlag = false;
            break;
        case HexStatus::ConversionError:
            // Not one of the file's own messages: the general error handler shows it, and
            // neither the buffer nor ErrorFlag changes.
            throw UserError(hexReadMessage(result, LanguageCode));
        case HexStatus::NotHex:
        case HexStatus::BadChecksum:
        case HexStatus::TooLarge:
            host_.showErrorBox(hexReadMessage(result, LanguageCode));
            ErrorFlag = true;
            break;
        }
        break;
    }
    case FileKind::Binary:
        Hexeditor.LoadBinaryFile(fileName, LanguageCode);
        ErrorFlag = false;
        break;
    case FileKind::SRecord:
    case FileKind::Elf:
    case FileKind::Other:
        host_.showErrorBox(unreadableFileMessage(kind, fileName, LanguageCode));
        ErrorFlag = true;
        break;
    }
}

void TMainForm::WriteHexFile() {
    NotifyOnExit notify(*this);
    if (!host_.executeSaveDialog(SaveDialog1))
        return;
    const std::string& fileName = SaveDialog1.fileName;
    if (fileKindOf(fileName) == FileKind::Binary) {
        Hexeditor.SaveBinaryFile(fileName, LanguageCode);
        return;
    }
    const std::string text = writeIntelHex(Hexeditor.bytes());
    writeWholeFile(fileName,
                   std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
                   LanguageCode);
    Hexeditor.markSaved();
}

} // namespace tarvik
