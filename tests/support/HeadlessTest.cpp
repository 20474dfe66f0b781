#include "support/HeadlessTest.h"

#include <stdlib.h>

namespace {

std::filesystem::path makeDefaultsDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "awning-test-XXXXXX").string();
    return mkdtemp(pattern.data()) ? std::filesystem::path(pattern) : std::filesystem::path();
}

}  // namespace

HeadlessTest::HeadlessTest() : _defaultsDirectory(makeDefaultsDirectory()) {
    restart();
}

HeadlessTest::~HeadlessTest() {
    _host.reset();
    std::error_code ignored;
    std::filesystem::remove_all(_defaultsDirectory, ignored);
}

void HeadlessTest::restart() {
    _host.reset();
    headless::HeadlessHost::Options options;
    options.defaultsDirectory = _defaultsDirectory;
    _host = std::make_unique<headless::HeadlessHost>(options);
}
