// The one exception guard: the failing result of each kind of exception, its log line, and the
// value a guarded operation gives instead.
#include "platform/com/exception_guard.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>

namespace {

struct ThrowCase {
    const char* name;
    std::function<void()> raise;
    HRESULT result;
    const char* logged;
};

class ExceptionGuardTest : public ::testing::TestWithParam<ThrowCase> {};

TEST_P(ExceptionGuardTest, AnExceptionBecomesItsFailingResultAndOneLogLine) {
    const ThrowCase& row = GetParam();
    ::testing::internal::CaptureStderr();
    const HRESULT hr = GuardResult("the test", [&] {
        row.raise();
        return S_OK;
    });
    const std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(hr, row.result);
    EXPECT_EQ(log, std::string("qor: the test stopped an exception: ") + row.logged + "\n");

    HRESULT seen = S_OK;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(GuardOperation(
                  "the test",
                  [&] {
                      row.raise();
                      return 7;
                  },
                  [&](HRESULT failure) noexcept { seen = failure; }),
              0);
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(seen, row.result);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ExceptionGuardTest,
    ::testing::Values(
        ThrowCase{"OutOfMemory", [] { throw std::bad_alloc(); }, E_OUTOFMEMORY, "out of memory"},
        ThrowCase{"StandardError", [] { throw std::runtime_error("disk on fire"); }, E_UNEXPECTED,
                  "disk on fire"},
        ThrowCase{"AnythingElse", [] { throw 42; }, E_UNEXPECTED, "an exception of unknown type"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExceptionGuard, WorkThatEndsNormallyGivesItsOwnResult) {
    EXPECT_EQ(GuardResult("the test", [] { return E_INVALIDARG; }), E_INVALIDARG);
    EXPECT_EQ(GuardValue("the test", -1, [] { return 3; }), 3);
    EXPECT_EQ(GuardValue("the test", -1, []() -> int { throw std::runtime_error("x"); }), -1);
    bool ran = false;
    GuardHandler("the test", [&] { ran = true; });
    EXPECT_TRUE(ran);
}

}  // namespace
