// The model's file dialog descriptions in Qt's terms: "description|pattern|…" filters become
// Qt name filters, "*.hex" a default suffix.
#pragma once

#include <QString>
#include <QStringList>

#include <string_view>

namespace tarvik {

// "Hex-files (*.hex)|*.hex|All files (*.*)|*.*" → {"Hex-files (*.hex)", "All files (*)"}.
// Patterns separated by ';' become Qt's space-separated lists; "*.*" means every file, also one
// without a dot in its name, so it becomes "*". A description without the patterns in
// parentheses gets them appended, since Qt takes the patterns from there.
QStringList qtNameFilters(std::string_view filter);

// The suffix a name filter or pattern list implies ("Bin-files (*.bin)" → "bin"); empty when
// it names none or many.
QString suffixOf(const QString& patternsOrFilter);

} // namespace tarvik
