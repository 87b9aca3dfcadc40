// The settings store's own message in German, English and Russian; %1 is filled in with
// fillIn().
#pragma once

#include "common/lang_text.h"

namespace tarvik::texts {

// %1: the setting.
constexpr LangText kSettingNotAnInteger{"Die Einstellung „%1“ ist keine 32-Bit-Ganzzahl.",
                                        "The setting \"%1\" is not a 32-bit integer.",
                                        "Параметр «%1» не является 32-битным целым числом."};

} // namespace tarvik::texts
