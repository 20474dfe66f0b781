#pragma once

namespace kit {

// The running platform's version (major.minor). Version gates compare against it; tests and hosts set
// it so that every gate can be exercised.
class SystemVersion {
public:
    constexpr SystemVersion(int major, int minor = 0) : _major(major), _minor(minor) {}

    int major() const { return _major; }
    int minor() const { return _minor; }
    bool isAtLeast(int major, int minor = 0) const {
        return _major > major || (_major == major && _minor >= minor);
    }
    friend bool operator==(const SystemVersion&, const SystemVersion&) = default;

    // The newest behaviour the system distinguishes: the default until a host or test says otherwise.
    static constexpr SystemVersion newest() { return SystemVersion(26, 0); }
    static SystemVersion current();
    static void setCurrent(SystemVersion version);

    // The application-framework version number matching the current system (1265 is 10.9's), unless set.
    static double appKitVersionNumber();
    static void setAppKitVersionNumber(double number);

private:
    int _major;
    int _minor;
};

}  // namespace kit
