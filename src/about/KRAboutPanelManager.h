#pragma once

#include <cstddef>
#include <memory>

#include "kit/appkit/TextView.h"
#include "kit/core/Object.h"

namespace kit {
class Window;
}

// Shows the standard About panel with Awning's credits, copyright and linked image, then adapts the panel:
// its credits text view reports clicks here, an older panel shows credits that fit without their scroll
// view, and the titlebar carries an "EULA" button. One object for the whole process: every way to get one
// (an interface file naming the class too) yields it.
class KRAboutPanelManager final : public kit::Object, public kit::TextViewDelegate {
public:
    static KRAboutPanelManager& aboutPanelManager();

    // The About command.
    void orderFrontStandardAboutPanel(kit::Object* sender);
    // Opens the maker's licence agreement in the browser.
    void openEULA(kit::Object* sender);
    // A click on the linked image opens the address its cell carries; other cells do nothing.
    void textViewClickedOnCell(kit::TextView& textView, kit::TextAttachmentCell& cell,
                               const kit::Rect& cellFrame, std::size_t charIndex) override;

    static const kit::DispatchTable& classDispatchTable();

protected:
    const kit::DispatchTable& dispatchTable() const override { return classDispatchTable(); }

private:
    KRAboutPanelManager() = default;
    static std::unique_ptr<KRAboutPanelManager> make();
    void adjustPanel(kit::Window& panel);
};
