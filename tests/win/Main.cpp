#include "host/base/ComApartment_win.h"
#include "host/base/TopLevelError.h"
#include "host/window/MessagePump_win.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// An error that reaches the top level in a test is a fault of the code under test.
void FailTest(const qv::HostError& error)
{
    ADD_FAILURE() << "error reached the top level: " << error.what();
}

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    qv::ComApartment com;
    qv::SetTopLevelErrorHandler(&FailTest);
    const int result = RUN_ALL_TESTS();
    // Binds that a test aborted finish on urlmon's threads; ending the process
    // while they still run can make Wine kill it, which would fail a passed test.
    qv::PumpUntil([] { return false; }, std::chrono::milliseconds(300));
    return result;
}
