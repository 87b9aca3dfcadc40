// Naming the chip from its signature answer: the log line with the three bytes, the chip name,
// flash size and fuse list, the AT89C5x programming voltage, and the job's next step.
#include <algorithm>
#include <array>
#include <string>

#include "chips/identification.h"
#include "form/main_form.h"
#include "operations/engine_support.h"
#include "operations/job_texts.h"

namespace tarvik {

namespace {

void fillFuseList(CheckList& list, const std::vector<chips::FuseListEntry>& entries) {
    list.items.clear();
    for (const chips::FuseListEntry& entry : entries) {
        list.items.push_back({std::string(entry.text), false, !entry.locked});
    }
}

// Whether the list still holds the four entries the socket selection preset (the last one
// possibly renamed already), rather than the layout of another chip identified since.
bool holdsSocketLayout(const CheckList& list) {
    const auto socket = chips::fuseListLayout(chips::FuseLayout::Socket);
    if (list.items.size() != socket.size()) {
        return false;
    }
    return std::equal(socket.begin(), socket.end() - 1, list.items.begin(),
                      [](const chips::FuseListEntry& entry, const CheckListItem& item) {
                          return entry.text == item.text;
                      });
}

void applyLayout(TMainForm& form, const chips::ChipIdentity& chip) {
    if (form.N90S1200.checked && !chip.socketRename.empty()) {
        // The socket keeps its preset entries and their marks; only position 3 is named.
        if (!holdsSocketLayout(form.FuseList)) {
            fillFuseList(form.FuseList, chips::fuseListLayout(chips::FuseLayout::Socket));
        }
        form.FuseList.items[3].text = chip.socketRename;
    } else if (chip.layout != chips::FuseLayout::Untouched) {
        fillFuseList(form.FuseList,
                     chips::fuseListLayout(chip.layout, chip.variantA, chip.variantB));
    }
}

} // namespace

namespace engine {

bool hasFuseRead(std::string_view chipName) {
    return chipName != "AT90S1200" && chipName != "AT90S2313" && chipName != "AT90S8515";
}

} // namespace engine

namespace {

// A job that writes or verifies the buffer, whose file names a signature the chip does not have.
bool builtForAnotherChip(const TMainForm& form) {
    const bool usesBuffer = form.RequestedJob == jobProgram || form.RequestedJob == jobVerify ||
                            form.RequestedJob == jobProgramEeprom;
    return usesBuffer && form.FileSignature && !form.IgnoreFileSignature &&
           form.FileSignature != form.ChipSignature;
}

} // namespace

void TMainForm::IdentifyChip(const std::uint8_t* payload, std::size_t size) {
    // Signature bytes 1..3 follow the response code; a report too short for them names nothing.
    const std::size_t present =
        payload == nullptr || size == 0 ? 0 : std::min<std::size_t>(size - 1, 3);
    std::string line(texts::kSignatureLine);
    // Appended piece by piece: g++ 12 at -O3 takes "literal" + string for an overlapping copy.
    for (std::size_t i = 0; i < present; ++i) {
        if (i != 0) {
            line += ' ';
        }
        line += engine::hexByte(payload[1 + i]);
    }
    log(line);
    ChipFuseMarks.reset(); // the chip may have been exchanged: its fuses are read afresh
    ChipSignature.reset();
    if (present == 3)
        ChipSignature = {payload[1], payload[2], payload[3]};

    if (present < 3) {
        ErrorFlag = true;
    } else {
        const std::uint8_t s3 = payload[3];
        const chips::ChipIdentity chip = chips::identify(payload[1], payload[2], s3);
        if (chip.named) {
            AutoDevice.text = chip.name;
            if (!chip.codeSize.empty()) {
                CodeSize.text = chip.codeSize;
            }
            applyLayout(*this, chip);
        } else {
            ErrorFlag = true;
        }
        if (n89C5x.checked) {
            if (s3 == 0x05) {
                ProgVoltage = 5;
                AutoDevice.text += " (5V)";
            } else if (s3 == 0xFF) {
                ProgVoltage = 12;
                AutoDevice.text += " (12V)";
            } else {
                ErrorFlag = true;
            }
        }
    }

    if (ErrorFlag) {
        engine::recordFailure(*this, line);
        CodeSize.text.clear();
        ProtocolState = stIdle;
        AutoDevice.text = pick(texts::kUnknownChip, LanguageCode);
        return;
    }
    Outcome.chip = IdentifiedChip{AutoDevice.text,
                                  {payload[1], payload[2], payload[3]},
                                  engine::parseByteCount(CodeSize.text),
                                  Verlauf.lines.size()};
    if (builtForAnotherChip(*this)) {
        // Before the fuse read and the erase: an image built for another chip is not written.
        engine::failStep(*this, engine::anotherChipLine(*this, *FileSignature));
    } else if ((nAVRISP.checked || N90S1200.checked) && engine::hasFuseRead(AutoDevice.text)) {
        StartReadFuses();
    } else {
        engine::runJobDispatch(*this);
    }
}

} // namespace tarvik
