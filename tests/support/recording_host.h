// A FormHost that records what the window asks of it and answers the file dialogs from what
// the test chose beforehand.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "form/form_host.h"

namespace tarvik::scenario {

class RecordingHost : public FormHost {
public:
    std::optional<std::string> openChoice; // what the user picks; nothing cancels
    std::optional<std::string> saveChoice;
    std::vector<std::string> errorBoxes;
    std::vector<std::string> applicationErrors;
    int infoWindowShown = 0;
    int closeRequests = 0;
    std::vector<std::string> questions; // each as "question|yes|no", or with every answer
    bool answerYes = true;
    std::optional<std::size_t> choice; // askChoice's answer; nothing takes the default

    bool executeOpenDialog(FileDialog& dialog) override { return answer(dialog, openChoice); }
    bool executeSaveDialog(FileDialog& dialog) override { return answer(dialog, saveChoice); }
    void showErrorBox(std::string_view text) override { errorBoxes.emplace_back(text); }
    void showApplicationError(std::string_view text) override {
        applicationErrors.emplace_back(text);
    }
    void showInfoWindow() override { ++infoWindowShown; }
    void closeMainWindow() override { ++closeRequests; }
    bool askYesNo(std::string_view question, std::string_view yes, std::string_view no) override {
        questions.push_back(std::string(question) + "|" + std::string(yes) + "|" + std::string(no));
        return answerYes;
    }

    std::size_t askChoice(std::string_view question, std::span<const std::string_view> answers,
                          std::size_t defaultAnswer) override {
        std::string asked(question);
        for (std::string_view answer : answers) {
            asked += '|';
            asked += answer;
        }
        questions.push_back(asked);
        return choice.value_or(defaultAnswer);
    }

private:
    static bool answer(FileDialog& dialog, const std::optional<std::string>& choice) {
        if (!choice) {
            return false;
        }
        dialog.fileName = *choice;
        return true;
    }
};

} // namespace tarvik::scenario
