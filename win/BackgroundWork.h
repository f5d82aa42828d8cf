// File work that may be slow (a photo folder on a share that is offline or
// answers late) kept off the window's thread: the windows go on painting and
// following their camera meanwhile.
#pragma once

#include <functional>
#include <optional>
#include <utility>

namespace vardolin {

// Runs work on a thread of its own and returns when it has ended, handling
// this thread's sent and posted messages and painting meanwhile. The user's
// input waits its turn, so no click starts another command (or closes the
// window) in the middle of this one. An error the work raises is raised here.
void RunAwayFromWindow(const std::function<void()>& work);

template <class Work>
auto ResultAwayFromWindow(Work&& work) -> decltype(work()) {
    std::optional<decltype(work())> result;
    RunAwayFromWindow([&] { result.emplace(std::forward<Work>(work)()); });
    return std::move(*result);
}

// Runs work on a thread of its own and returns at once. The module stays
// loaded until the work has ended; errors in it are dropped.
void RunInBackground(std::function<void()> work);

}  // namespace vardolin
