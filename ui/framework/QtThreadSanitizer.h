#pragma once

// Included once by each executable that runs Qt windows (the program and the
// UI tests). Qt's own libraries are not built with ThreadSanitizer: their
// internal thread pool (image conversion and scaling) reports races that are
// not ours. Our own code is never suppressed.
#if defined(__SANITIZE_THREAD__)
extern "C" const char* __tsan_default_suppressions()
{
    return "race:libQt6Core.so\nrace:libQt6Gui.so\nrace:libQt6Widgets.so\n";
}
#endif
