#include "kit/foundation/SystemVersion.h"
#include "kit/core/ProcessLocal.h"

#include <optional>

namespace kit {

namespace {

struct VersionState {
    SystemVersion current = SystemVersion::newest();
    std::optional<double> appKitOverride;
};

VersionState& state() {
    static ProcessLocal<VersionState> versionState;
    return versionState.get();
}

// Framework numbers of the first release of each system; anything newer than the table's end reads as
// its last row.
double appKitNumberFor(SystemVersion version) {
    struct Row {
        int major;
        int minor;
        double number;
    };
    static constexpr Row rows[] = {{10, 8, 1187},  {10, 9, 1265},  {10, 10, 1343}, {10, 11, 1404},
                                   {10, 12, 1504}, {10, 13, 1561}, {10, 14, 1671}, {10, 15, 1894},
                                   {11, 0, 2022},  {12, 0, 2113},  {13, 0, 2299},  {14, 0, 2487},
                                   {15, 0, 2575},  {26, 0, 2685}};
    double number = 1138;  // before 10.8
    for (const Row& row : rows) {
        if (version.isAtLeast(row.major, row.minor)) {
            number = row.number;
        }
    }
    return number;
}

}  // namespace

SystemVersion SystemVersion::current() {
    return state().current;
}

void SystemVersion::setCurrent(SystemVersion version) {
    state().current = version;
}

double SystemVersion::appKitVersionNumber() {
    return state().appKitOverride.value_or(appKitNumberFor(state().current));
}

void SystemVersion::setAppKitVersionNumber(double number) {
    state().appKitOverride = number;
}

}  // namespace kit
