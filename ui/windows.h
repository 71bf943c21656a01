#pragma once

namespace clearmark {

// Makes every window of the program known to the runtime, so that it can be loaded by name.
void registerWindows();

// Starts the program's windows: the main window is loaded (its Form_Load runs), then shown
// with the focus on its first control.
void startProgram();

} // namespace clearmark
