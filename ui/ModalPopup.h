#pragma once

class CDialog;

// The application's activePopup: the modal window that runs right now. Every
// modal window of the program runs through RunModalPopup, which registers it
// for the length of its loop; the main window brings it forward from the tray
// and closes it when the adapter goes away. The UI thread only.
CDialog* ActivePopup();

// Runs `dialog` modally as the active popup and returns its result. The popup
// it was opened from is the active one again when it ends, unless it was
// closed from outside.
int RunModalPopup(CDialog& dialog);

// Asks the active popup to close (posted: it ends with cancel in its own
// loop) and forgets it; nothing when none runs.
void CloseActivePopup();
