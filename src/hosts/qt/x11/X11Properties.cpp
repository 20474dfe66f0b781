#include "hosts/qt/x11/X11Properties.h"

#include <X11/Xutil.h>

#include <memory>

namespace qthost {

namespace {

struct XFreeDeleter {
    void operator()(void* data) const { XFree(data); }
};
using XData = std::unique_ptr<unsigned char, XFreeDeleter>;

// Longer properties than this (a client list of 64k windows) are cut short.
constexpr long maximumItems = 65536;

struct RawProperty {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    XData data;
};

std::optional<RawProperty> readRaw(Display* display, Window window, Atom property, Atom type) {
    RawProperty raw;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, window, property, 0, maximumItems, False, type, &raw.type,
                                          &raw.format, &raw.count, &remaining, &data);
    raw.data.reset(data);
    if (status != Success || raw.type == None || !raw.data) {
        return std::nullopt;
    }
    if (type != AnyPropertyType && raw.type != type) {
        return std::nullopt;
    }
    return raw;
}

}  // namespace

std::optional<std::vector<unsigned long>> readLongs(Display* display, Window window, Atom property,
                                                    Atom type) {
    std::optional<RawProperty> raw = readRaw(display, window, property, type);
    if (!raw || raw->format != 32) {
        return std::nullopt;
    }
    // Xlib hands 32-bit items over as longs, whatever the size of a long.
    const auto* items = reinterpret_cast<const unsigned long*>(raw->data.get());
    return std::vector<unsigned long>(items, items + raw->count);
}

std::optional<unsigned long> readLong(Display* display, Window window, Atom property, Atom type) {
    std::optional<std::vector<unsigned long>> items = readLongs(display, window, property, type);
    if (!items || items->empty()) {
        return std::nullopt;
    }
    return items->front();
}

std::optional<std::string> readBytes(Display* display, Window window, Atom property, Atom type) {
    std::optional<RawProperty> raw = readRaw(display, window, property, type);
    if (!raw || raw->format != 8) {
        return std::nullopt;
    }
    return std::string(reinterpret_cast<const char*>(raw->data.get()), raw->count);
}

std::string readWindowName(Display* display, Window window, Atom netWmName, Atom utf8String) {
    if (std::optional<std::string> name = readBytes(display, window, netWmName, utf8String);
        name && !name->empty()) {
        return *name;
    }
    XTextProperty text{};
    if (!XGetWMName(display, window, &text) || !text.value) {
        return {};
    }
    XData value(text.value);
    char** list = nullptr;
    int count = 0;
    std::string name;
    if (Xutf8TextPropertyToTextList(display, &text, &list, &count) >= Success && list) {
        if (count > 0 && list[0]) {
            name = list[0];
        }
        XFreeStringList(list);
    }
    return name;
}

std::string readWindowClass(Display* display, Window window) {
    XClassHint hint{};
    if (!XGetClassHint(display, window, &hint)) {
        return {};
    }
    XData instance(reinterpret_cast<unsigned char*>(hint.res_name));
    XData className(reinterpret_cast<unsigned char*>(hint.res_class));
    if (hint.res_class && *hint.res_class) {
        return hint.res_class;
    }
    return hint.res_name ? hint.res_name : "";
}

}  // namespace qthost
