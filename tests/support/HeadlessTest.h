#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "hosts/headless/HeadlessHost.h"

// A fresh headless world per test: new virtual clock, empty run loop, empty defaults folder.
class HeadlessTest : public ::testing::Test {
protected:
    HeadlessTest();
    ~HeadlessTest() override;

    headless::HeadlessHost& world() { return *_host; }
    // Ends this world and starts a new process on the same defaults folder (a simulated restart).
    void restart();

private:
    std::filesystem::path _defaultsDirectory;
    std::unique_ptr<headless::HeadlessHost> _host;
};
