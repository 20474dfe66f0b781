#include "hosts/qt/desktop/DesktopPicture.h"

#include <sstream>
#include <vector>

#if AWNING_HAVE_GIO
#include <gio/gio.h>
#endif

namespace qthost {

namespace {

const DesktopPicture::Setting gnome{"org.gnome.desktop.background", "picture-uri", "picture-uri-dark", false};
const DesktopPicture::Setting cinnamon{"org.cinnamon.desktop.background", "picture-uri", "", false};
const DesktopPicture::Setting mate{"org.mate.background", "picture-filename", "", true};

std::optional<DesktopPicture::Setting> settingForDesktop(const std::string& desktop) {
    for (const char* name :
         {"GNOME", "GNOME-Classic", "GNOME-Flashback", "ubuntu", "Unity", "Budgie", "Pantheon"}) {
        if (desktop == name) {
            return gnome;
        }
    }
    if (desktop == "X-Cinnamon" || desktop == "Cinnamon") {
        return cinnamon;
    }
    if (desktop == "MATE") {
        return mate;
    }
    return std::nullopt;
}

}  // namespace

std::optional<DesktopPicture::Setting> DesktopPicture::settingFor(const std::string& currentDesktops) {
    std::istringstream names(currentDesktops);
    for (std::string name; std::getline(names, name, ':');) {
        if (std::optional<Setting> setting = settingForDesktop(name)) {
            return setting;
        }
    }
    return std::nullopt;
}

#if AWNING_HAVE_GIO

namespace {

struct ObjectUnref {
    void operator()(GSettings* settings) const { g_object_unref(settings); }
};
using SettingsHandle = std::unique_ptr<GSettings, ObjectUnref>;

// Opening a schema that is not installed aborts the process: look it up first.
SettingsHandle openIfInstalled(const std::string& schemaId, const std::string& key) {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    GSettingsSchema* schema =
        source ? g_settings_schema_source_lookup(source, schemaId.c_str(), TRUE) : nullptr;
    if (!schema) {
        return nullptr;
    }
    SettingsHandle settings;
    if (g_settings_schema_has_key(schema, key.c_str())) {
        settings.reset(g_settings_new_full(schema, nullptr, nullptr));
    }
    g_settings_schema_unref(schema);
    return settings;
}

bool hasKey(GSettings* settings, const std::string& key) {
    GSettingsSchema* schema = nullptr;
    g_object_get(settings, "settings-schema", &schema, nullptr);
    const bool found = schema && g_settings_schema_has_key(schema, key.c_str());
    if (schema) {
        g_settings_schema_unref(schema);
    }
    return found;
}

std::string stringValue(GSettings* settings, const std::string& key) {
    gchar* value = g_settings_get_string(settings, key.c_str());
    std::string text = value ? value : "";
    g_free(value);
    return text;
}

std::string fileAddress(const std::string& path) {
    gchar* address = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    std::string text = address ? address : "";
    g_free(address);
    return text;
}

}  // namespace

struct DesktopPicture::Source {
    Setting setting;
    SettingsHandle picture;
    SettingsHandle interface;  // the colour scheme, when the picture has a dark variant

    std::string currentKey() const {
        if (interface && stringValue(interface.get(), "color-scheme") == "prefer-dark") {
            return setting.darkKey;
        }
        return setting.key;
    }
};

DesktopPicture::DesktopPicture(const std::string& currentDesktops) {
    std::optional<Setting> setting = settingFor(currentDesktops);
    if (!setting) {
        return;
    }
    SettingsHandle picture = openIfInstalled(setting->schema, setting->key);
    if (!picture) {
        return;
    }
    SettingsHandle interface;
    if (!setting->darkKey.empty() && hasKey(picture.get(), setting->darkKey)) {
        interface = openIfInstalled("org.gnome.desktop.interface", "color-scheme");
    }
    _source.reset(new Source{*setting, std::move(picture), std::move(interface)});
}

std::optional<std::string> DesktopPicture::url() const {
    if (!_source) {
        return std::nullopt;
    }
    std::string value = stringValue(_source->picture.get(), _source->currentKey());
    if (!value.empty() && _source->setting.holdsPath) {
        value = fileAddress(value);
    }
    return value.empty() ? std::nullopt : std::optional<std::string>(value);
}

#else

struct DesktopPicture::Source {};

DesktopPicture::DesktopPicture(const std::string&) {}

std::optional<std::string> DesktopPicture::url() const {
    return std::nullopt;
}

#endif

DesktopPicture::~DesktopPicture() = default;

}  // namespace qthost
