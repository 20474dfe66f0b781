#pragma once

// Registers Awning's interface files and the classes they name with the kit: the main file makes the one
// KRMainController and makes it the application's delegate; "Settings" is the settings window.
void registerInterfaceFiles();
