#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "about/AboutCredits.h"
#include "hosts/headless/HeadlessHost.h"

// The credits text ships with the application but is a file anyone can edit: parsing it and building
// the panel's sorted credits must never crash, and every credit line must reach the panel.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static headless::HeadlessHost host;  // the sorting follows the host's locale
    const AboutCredits credits =
        AboutCredits::parse(std::string_view(reinterpret_cast<const char*>(data), size), "© Larkspur");
    const auto text = credits.creditsString(nullptr, "https://larkspur.example/");
    if (!credits.creditLines.empty() && !text) {
        std::abort();
    }
    return 0;
}
