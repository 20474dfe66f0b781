#pragma once

// Registers Awning's interface files with the kit: the main file makes the one KRMainController and
// makes it the application's delegate.
void registerInterfaceFiles();
