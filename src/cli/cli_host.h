// The window's dialogs and message boxes on the command line: the file dialogs answer with
// the file the command names, and messages are kept for the tool to print.
#pragma once

#include <string>
#include <vector>

#include "form/form_host.h"

namespace tarvik::cli {

class CliHost : public FormHost {
public:
    std::string fileName; // what the open and save dialogs answer
    std::vector<std::string> messages;

    bool executeOpenDialog(FileDialog& dialog) override {
        dialog.fileName = fileName;
        return true;
    }
    bool executeSaveDialog(FileDialog& dialog) override {
        dialog.fileName = fileName;
        return true;
    }
    void showErrorBox(std::string_view text) override { messages.emplace_back(text); }
    void showApplicationError(std::string_view text) override { messages.emplace_back(text); }
    void showInfoWindow() override {}
    void closeMainWindow() override {}
};

} // namespace tarvik::cli
