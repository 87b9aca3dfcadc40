// The captions the language handlers switch: one row per control (or pair of controls sharing a
// caption) with its designed caption and its German, English and Russian captions, and the two
// file dialogs' titles and filters.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "common/lang_text.h"
#include "form/main_form.h"

namespace tarvik {

struct SwitchedCaption {
    MenuItem TMainForm::*item; // nullptr: no menu entry
    Button TMainForm::*button; // nullptr: no button
    std::string_view designed; // shown before any language handler ran
    LangText text;
};

struct DialogTexts {
    FileDialog TMainForm::*dialog;
    std::string_view designedTitle; // the designed filter is the German one
    LangText title;
    LangText filter;
};

std::span<const SwitchedCaption> switchedCaptions();
std::span<const DialogTexts> dialogTexts();

// Writes the designed captions, titles and filters of the rows above.
void applyDesignedCaptions(TMainForm& form);
// Writes the captions, titles and filters of a language (0 German, 1 English, 2 Russian).
void applyLanguageCaptions(TMainForm& form, std::uint8_t languageCode);

} // namespace tarvik
