#pragma once

#include <memory>

#include "kit/core/Object.h"

namespace kit {
class Image;
class MenuDelegate;
class StatusItem;
class Window;
}  // namespace kit

// Puts an item for the application into the system status bar and takes it out again.
class KRStatusItemController : public kit::Object {
public:
    // The shared controller, made on first use in each process.
    static KRStatusItemController& defaultController();
    // Disables the item without activating the application.
    ~KRStatusItemController() override;

    // Enabling makes the item, or updates an existing one in place; images default to the application's
    // "KRStatusItemTemplate" and "KRStatusItemAlternate"; a menu delegate gives a new item a menu.
    void setStatusItemEnabled(bool enabled, std::shared_ptr<kit::Image> image,
                              std::shared_ptr<kit::Image> alternateImage, kit::MenuDelegate* menuDelegate,
                              bool activateAfterDisabling);
    void setStatusItemEnabled(bool enabled, std::shared_ptr<kit::Image> image,
                              std::shared_ptr<kit::Image> alternateImage, kit::MenuDelegate* menuDelegate);
    void setStatusItemEnabled(bool enabled, kit::MenuDelegate* menuDelegate);
    void setStatusItemEnabled(bool enabled);

    kit::StatusItem* statusItem() const { return _statusItem.get(); }
    // The window showing the item, or nullptr.
    kit::Window* statusItemWindow() const;

protected:
    KRStatusItemController() = default;

private:
    void enable(std::shared_ptr<kit::Image> image, std::shared_ptr<kit::Image> alternateImage,
                kit::MenuDelegate* menuDelegate);
    void updateInPlace(const std::shared_ptr<kit::Image>& image,
                       const std::shared_ptr<kit::Image>& alternateImage, kit::MenuDelegate* menuDelegate);
    void disable(bool activateAfterDisabling);

    std::shared_ptr<kit::StatusItem> _statusItem;
};
