// The window's own menu entries: leaving, the info window and the two options that are
// stored the moment they change.
#include "form/main_form.h"

namespace tarvik {

void TMainForm::toggleOption(MenuItem& item, std::string_view settingName) {
    item.checked = !item.checked;
    storeFlag(settingName, item.checked);
}

void TMainForm::nEndeClick() {
    NotifyOnExit notify(*this);
    host_.closeMainWindow();
}

void TMainForm::nInfoClick() {
    NotifyOnExit notify(*this);
    host_.showInfoWindow();
}

void TMainForm::updatebufferClick() {
    NotifyOnExit notify(*this);
    toggleOption(updatebuffer, setting::kUpdateBufferFromFile);
}

void TMainForm::nverifynachprogrammierenClick() {
    NotifyOnExit notify(*this);
    toggleOption(nverifynachprogrammieren, setting::kVerifyAfterProgram);
}

} // namespace tarvik
