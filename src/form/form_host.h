// What the main window's logic asks of whoever shows it: the modal dialogs and message boxes,
// the info window and closing. The Qt window implements it with real dialogs; the command-line
// tool fills the file names from its arguments and prints the messages; tests record them.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "form/controls.h"

namespace tarvik {

class FormHost {
public:
    virtual ~FormHost() = default;
    // Modal open/save dialog. On OK the host sets dialog.fileName and returns true; on cancel
    // it leaves the dialog untouched and returns false.
    virtual bool executeOpenDialog(FileDialog& dialog) = 0;
    virtual bool executeSaveDialog(FileDialog& dialog) = 0;
    // The program's own modal error box with one OK button (file load errors).
    virtual void showErrorBox(std::string_view text) = 0;
    // The general error handler: shows the text of a failure no handler caught.
    virtual void showApplicationError(std::string_view text) = 0;
    virtual void showInfoWindow() = 0;
    // A modal question with two answers; true for yes. A host with nobody to ask goes ahead.
    virtual bool askYesNo(std::string_view question, std::string_view yes, std::string_view no) {
        (void)question, (void)yes, (void)no;
        return true;
    }
    // A modal question with several answers (their captions in order); gives the index of the
    // one chosen. defaultAnswer is the default button and what closing the box gives; a host
    // with nobody to ask takes it too.
    virtual std::size_t askChoice(std::string_view question,
                                  std::span<const std::string_view> answers,
                                  std::size_t defaultAnswer) {
        (void)question, (void)answers;
        return defaultAnswer;
    }
    virtual void closeMainWindow() = 0;
};

} // namespace tarvik
