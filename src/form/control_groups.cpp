// The two routines that give the job controls to the user or take them away as a group: while
// a job runs or no programmer is there, and when the programmer is found or a job finished.
#include "form/main_form.h"

namespace tarvik {

void TMainForm::DisableControls() {
    Verlauf.lines.clear();
    ++Verlauf.clears;
    Gauge1.progress = 0;
    for (Button* button : {&bProg, &bVergl, &bAuslesen, &bLoesch, &bDetectDevice, &bWriteFuse,
                           &bprogeeprom, &breadeeprom}) {
        button->enabled = false;
    }
    // Setup and Info stay usable: options and the language may change during a job.
    for (MenuItem* menu : {&nDatei, &nBuffer, &nDevice, &nAuswahl}) {
        menu->enabled = false;
    }
    FuseList.enabled = false;
}

void TMainForm::EnableControls() {
    if (Hexeditor.ByteCount() > 0) {
        bProg.enabled = true;
        bVergl.enabled = true;
        if (nprogeeprom.enabled) {
            bprogeeprom.enabled = true;
        }
    }
    bLoesch.enabled = !IsPic;
    if (nreadeeprom.enabled) {
        breadeeprom.enabled = true;
    }
    if (IsSocketMcu || nAVRISP.checked) {
        bDetectDevice.enabled = true;
        nDetectDevice.enabled = true;
    }
    bAuslesen.enabled = true;
    for (MenuItem* menu : {&nDatei, &nBuffer, &nAuswahl, &nDevice}) {
        menu->enabled = true;
    }
    Gauge1.progress = 0;
    FuseList.enabled = true;
    // bWriteFuse stays as it is: only toggling a fuse mark offers the fuse write.
}

} // namespace tarvik
