// The user-interface font: an 8-point sans-serif face, narrow enough that every caption fits
// the reference geometry of the windows.
#pragma once

#include <QFont>

namespace tarvik {

QFont interfaceFont();
// Makes interfaceFont() the application's font; call before any window is made.
void applyInterfaceFont();

} // namespace tarvik
