#pragma once

#include <string>

// Saves what KWin shows on all its outputs as a PNG file, through its ScreenShot2 interface on the session
// bus (KWin offers no screencopy protocol to grim); false, with a line on standard error, when it cannot.
bool saveKWinScreenshot(const std::string& path);
