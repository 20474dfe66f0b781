#pragma once

namespace kit {
class InterfaceBuilder;
class Object;
}  // namespace kit

// The "Settings" interface file: the settings window with its colour wells, opacity sliders, update
// pop-up button, start-at-login check box and the hidden status-item button, wired to the owner, a
// KRMainController.
void buildSettingsInterfaceFile(kit::InterfaceBuilder& file, kit::Object* owner);
