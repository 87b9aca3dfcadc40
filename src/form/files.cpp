// Loading a file into the buffer (Intel HEX, S-record, ELF or raw binary, told apart by the
// name, or by the content where the name says neither) and saving the buffer as HEX, S-record
// or binary by the name.
#include <span>
#include <string>
#include <string_view>

#include "buffer/buffer_texts.h"
#include "buffer/crc32.h"
#include "buffer/file_io.h"
#include "buffer/image_file.h"
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
    if (WriteHexFile())
        log(imageLine(texts::kImageSaved));
}

void TMainForm::OpenBufferFile(MemoryPart part) {
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
    ReadHexFile(part);
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

void TMainForm::ReadHexFile(MemoryPart part) {
    NotifyOnExit notify(*this);
    LoadedImage image = loadImageFile(OpenDialog1.fileName, part, LanguageCode);
    if (image.conversionError) {
        // Not one of the file's own messages: the general error handler shows it, and neither
        // the buffer nor ErrorFlag changes.
        throw UserError(image.problem);
    }
    if (!image.problem.empty()) {
        host_.showErrorBox(image.problem);
        ErrorFlag = true;
        return;
    }
    Hexeditor.SetAllBytes(std::move(image.bytes));
    ErrorFlag = false;
    FileSignature = image.elf.signature;
    FileContentsLine = elfContentsLine(image.elf, part, LanguageCode);
    log(imageLine(texts::kImageLoaded));
    if (!FileContentsLine.empty())
        log(FileContentsLine);
}

std::string TMainForm::imageLine(const LangText& text) const {
    return fillIn(pick(text, LanguageCode),
                  {std::to_string(Hexeditor.bytes().size()), crc32Text(Hexeditor.bytes())});
}

bool TMainForm::WriteHexFile() {
    NotifyOnExit notify(*this);
    if (!host_.executeSaveDialog(SaveDialog1))
        return false;
    const std::string& fileName = SaveDialog1.fileName;
    if (saveKindOf(fileName) == FileKind::Binary) {
        Hexeditor.SaveBinaryFile(fileName, LanguageCode);
    } else {
        writeWholeFile(fileName, std::string_view(encodeImageFile(fileName, Hexeditor.bytes())),
                       LanguageCode);
        Hexeditor.markSaved();
    }
    return true;
}

} // namespace tarvik
