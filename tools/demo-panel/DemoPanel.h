#pragma once

#include <cstdint>
#include <initializer_list>

// Forward declarations keep Xlib's macros (None, Bool, Status) out of every includer.
struct _XDisplay;

// A solid-coloured window that stands in for a desktop's top panel (a reserved dock strip along the
// top edge), in full-screen mode for an application window covering the whole screen, and in normal mode
// for any application window.
class DemoPanel {
public:
    struct Options {
        std::uint32_t color = 0xa9bcd0;
        int height = 28;
        int tallHeight = 40;
        int x = 0;
        int y = 0;      // a margin above the panel
        int width = 0;  // 0: the screen's
        bool fullscreen = false;
        bool overrideRedirect = false;
        bool normal = false;  // an ordinary application window at x, y of width and height  // bypasses the
                              // window manager, as some panels are told to
    };

    // Opens the display named by $DISPLAY; isOpen() tells whether that worked.
    explicit DemoPanel(const Options& options);
    ~DemoPanel();
    DemoPanel(const DemoPanel&) = delete;
    DemoPanel& operator=(const DemoPanel&) = delete;

    bool isOpen() const { return _display != nullptr; }
    int connectionFd() const;
    unsigned long windowId() const { return _window; }
    int height() const { return _height; }

    // Creates and maps the window and waits until the server has mapped it.
    void show();
    // Switches between the normal and the tall height, keeping the reserved strip in step.
    void toggleHeight();
    // Handles every queued event; reports button presses on stdout.
    void dispatchEvents();

private:
    unsigned long atom(const char* name) const;
    unsigned long allocatePixel() const;
    void setAtomList(const char* property, std::initializer_list<const char*> values);
    void setCardinals(const char* property, std::initializer_list<long> values);
    void setProperties();
    void reserveStrip();

    Options _options;
    _XDisplay* _display = nullptr;
    unsigned long _window = 0;
    int _width = 0;
    int _height = 0;
};
