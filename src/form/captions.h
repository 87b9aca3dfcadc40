// Writing the captions the language handlers switch, and the two file dialogs' titles and
// filters: the designed ones, or those of a language.
#pragma once

#include <cstdint>

#include "form/main_form.h"

namespace tarvik {

// Writes the designed captions, titles and filters.
void applyDesignedCaptions(TMainForm& form);
// Writes the captions, titles and filters of a language (0 German, 1 English, 2 Russian).
void applyLanguageCaptions(TMainForm& form, std::uint8_t languageCode);

} // namespace tarvik
