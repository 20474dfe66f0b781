#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace {

// Widgets, sockets and screens need the one application object a process may have.
class QtApplicationEnvironment final : public testing::Environment {
public:
    void SetUp() override { _application = std::make_unique<QApplication>(_argc, _argv); }
    void TearDown() override { _application.reset(); }

private:
    int _argc = 1;
    char _name[14] = "qt_host_tests";
    char* _argv[2] = {_name, nullptr};
    std::unique_ptr<QApplication> _application;
};

[[maybe_unused]] testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
