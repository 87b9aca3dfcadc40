// The console a command-line program writes to.
#pragma once

namespace tarvik::platform {

// Whether standard error is an interactive terminal (a console window on Windows).
bool standardErrorIsTerminal();

// Makes the console show the UTF-8 the program writes (the output code page on Windows;
// terminals elsewhere take UTF-8 as it is). Files and pipes get the bytes unchanged.
void useUtf8Console();

} // namespace tarvik::platform
