// The message table of the buffer and file layer, one row per message, in the order of
// BufferText.
#include "buffer/buffer_texts.h"

#include <array>

namespace tarvik {
namespace {

constexpr std::array<LangText, 10> kTexts{{
    {"Fehler in Datei. Keine Hex-Datei.", "Error in file. No hex file.",
     "Входной файл не hex файл."},
    {"Fehler in Datei. Falsche CSUM.", "Error in file. Wrong CSUM.",
     "Ошибка входного файла.Не правильная CheckSum."},
    {"Fehler in Datei. Die Daten sind größer als %1 MiB.",
     "Error in file. The data are larger than %1 MiB.",
     "Ошибка входного файла. Данные больше %1 МиБ."},
    {"Fehler in Datei. Zeile %1 ist kein gültiger Hex-Datensatz: %2",
     "Error in file. Line %1 is not a valid hex record: %2",
     "Ошибка входного файла. Строка %1 не является правильной hex записью: %2"},
    {"Die Datei „%1“ kann nicht geöffnet werden: %2", "Cannot open the file \"%1\": %2",
     "Не удаётся открыть файл «%1»: %2"},
    {"Die Datei „%1“ kann nicht gelesen werden: %2", "Cannot read the file \"%1\": %2",
     "Не удаётся прочитать файл «%1»: %2"},
    {"Die Datei „%1“ kann nicht geschrieben werden: %2", "Cannot write the file \"%1\": %2",
     "Не удаётся записать файл «%1»: %2"},
    {"Die Datei „%1“ kann nicht ersetzt werden: %2", "Cannot replace the file \"%1\": %2",
     "Не удаётся заменить файл «%1»: %2"},
    {"Die Datei „%1“ ist zu groß (mehr als %2 MiB).",
     "The file \"%1\" is too large (more than %2 MiB).",
     "Файл «%1» слишком большой (более %2 МиБ)."},
    {"„%1“ ist keine gewöhnliche Datei (eine Pipe oder ein Gerät) und wird nicht überschrieben.",
     "\"%1\" is not a regular file (a pipe or a device) and is not overwritten.",
     "«%1» не обычный файл (канал или устройство) и не будет перезаписан."},
}};

} // namespace

std::string bufferText(BufferText text, std::uint8_t languageCode,
                       std::initializer_list<std::string_view> args) {
    return fillIn(pick(kTexts[static_cast<std::size_t>(text)], languageCode), args);
}

} // namespace tarvik
