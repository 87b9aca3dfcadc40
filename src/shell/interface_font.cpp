// Picking the interface face among the installed ones.
#include "shell/interface_font.h"

#include <QApplication>
#include <QFontDatabase>

namespace tarvik {

QFont interfaceFont() {
    // Faces with the narrow metrics the layout was drawn for come first; any sans-serif face
    // the system offers is the last resort.
    static const char* const kPreferred[] = {"Tahoma", "DejaVu Sans Condensed", "Liberation Sans",
                                             "Arial", "DejaVu Sans"};
    const QStringList families = QFontDatabase::families();
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    for (const char* family : kPreferred) {
        if (families.contains(QString::fromLatin1(family))) {
            font.setFamily(QString::fromLatin1(family));
            break;
        }
    }
    font.setPointSize(8);
    return font;
}

void applyInterfaceFont() {
    QApplication::setFont(interfaceFont());
}

} // namespace tarvik
