#pragma once

#include <memory>
#include <string>

#include "kit/core/Object.h"

namespace kit {
class Bundle;
class Button;
class TextField;
class Window;
}  // namespace kit
class SUAppcastItem;

// The updater's own plain announcement: a titled window with a sentence and its buttons. A found
// update names the version found and the one running, and offers a web page about it and "Later": the
// item's page ("Visit Download Page"), else its release notes, else the product page. A check the user
// asked for that found nothing, or that failed, says so with "OK".
class SUUpdateAlert : public kit::Object {
public:
    static std::unique_ptr<SUUpdateAlert> updateAlert(const kit::Bundle& bundle, const SUAppcastItem& item);
    static std::unique_ptr<SUUpdateAlert> upToDateAlert(const kit::Bundle& bundle);
    // `reason`: the whole sentence that says why the check failed.
    static std::unique_ptr<SUUpdateAlert> failureAlert(const std::string& reason);
    ~SUUpdateAlert() override;

    kit::Window& window() const { return *_window; }
    const std::string& message() const;
    // The web page the first button opens; empty when there is none to open.
    const std::string& pageURL() const { return _pageURL; }
    // The buttons, first the default one.
    kit::Button* defaultButton() const { return _defaultButton; }
    kit::Button* otherButton() const { return _otherButton; }

    void show();
    bool isShown() const;

    // Actions of the buttons: the first opens the page, whichever it is.
    void visitDownloadPage(kit::Object* sender);
    void dismiss(kit::Object* sender);

    static const kit::DispatchTable& classDispatchTable();

protected:
    const kit::DispatchTable& dispatchTable() const override { return classDispatchTable(); }

private:
    SUUpdateAlert(const std::string& title, const std::string& message);
    kit::Button* addButton(const std::string& title, const char* action, double right);

    std::unique_ptr<kit::Window> _window;
    kit::TextField* _messageField = nullptr;
    kit::Button* _defaultButton = nullptr;
    kit::Button* _otherButton = nullptr;
    std::string _pageURL;
};
