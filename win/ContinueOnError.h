// The continue-on-error policy of the capture window's handlers: a step that
// fails is skipped and the next one runs; a test that fails lets the branch it
// guards run, as if the test had held.
#pragma once

#include <utility>

namespace vardolin {

// Runs one step; any failure in it is swallowed.
template <class Step>
void RunOrSkip(Step&& step) noexcept {
    try {
        std::forward<Step>(step)();
    } catch (...) {}
}

// Evaluates the test of a guarded step; a failure counts as true.
template <class Test>
bool TestOrAssumeTrue(Test&& test) noexcept {
    try {
        return static_cast<bool>(std::forward<Test>(test)());
    } catch (...) {
        return true;
    }
}

}  // namespace vardolin
