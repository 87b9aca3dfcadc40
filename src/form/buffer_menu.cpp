// The Buffer menu (edit mode, undo, redo) and the window's reaction to every change of the
// buffer: the size in the status bar and the actions that need data.
#include <string>

#include "form/main_form.h"

namespace tarvik {

void TMainForm::neditbufferClick() {
    NotifyOnExit notify(*this);
    neditbuffer.checked = !neditbuffer.checked;
    if (Hexeditor.ReadOnlyView()) {
        // Undo and Redo come back with the next edit (HexeditorChange).
        Hexeditor.setReadOnlyView(false);
        Hexeditor.setInsertMode(true);
        return;
    }
    Hexeditor.setReadOnlyView(true);
    nRedo.enabled = false;
    nUndo.enabled = false;
}

void TMainForm::nUndoClick() {
    NotifyOnExit notify(*this);
    Hexeditor.UndoEdit();
    nRedo.enabled = true;
    if (!Hexeditor.UndoAvailable())
        nUndo.enabled = false;
}

void TMainForm::nRedoClick() {
    NotifyOnExit notify(*this);
    Hexeditor.RedoEdit();
    nUndo.enabled = true;
    if (!Hexeditor.RedoAvailable())
        nRedo.enabled = false;
}

void TMainForm::HexeditorChange() {
    NotifyOnExit notify(*this);
    if (neditbuffer.checked && Hexeditor.UndoAvailable())
        nUndo.enabled = true;
    StatusBar.panels[2] = std::to_string(Hexeditor.ByteCount()) + " байт";
    if (Hexeditor.ByteCount() <= 0)
        return; // an empty buffer disables nothing
    nsave.enabled = true;
    nprogflash.enabled = true;
    nverifyflash.enabled = true;
    if (nreadeeprom.enabled)
        nprogeeprom.enabled = true;
    // The menu entries above sit in menus that are closed while a job runs or no programmer is
    // there; the buttons don't, so they wait for EnableControls then: an edit during a job must
    // not offer a second job.
    if (!nAuswahl.enabled)
        return;
    bProg.enabled = true;
    bVergl.enabled = true;
    if (nreadeeprom.enabled)
        bprogeeprom.enabled = true;
}

} // namespace tarvik
