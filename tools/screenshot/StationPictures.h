#pragma once

#include <functional>
#include <string>

class CUiDriver;
class CWindow;

// The network list widget with networks (plain, hovered, scrolled, with the
// connected row above it) and the busy panel in each of its kinds. The list
// sits where the station panel's template puts it; its template is written
// into `templates`.
void PhotographStationPieces(CUiDriver& driver, const std::string& templates,
                             const std::function<void(CWindow&, const std::string&)>& save);

class CApplicationDlg;

// The Station tab over the simulated world: scanning, the list, every
// dialog of the connect flows (with the red retry prompts), the connected
// row and its details, and the radio off. `window` is created and shown;
// time runs on from where it is.
void PhotographStationWindows(CUiDriver& driver, CApplicationDlg& window,
                              const std::function<void(CWindow&, const std::string&)>& save);
