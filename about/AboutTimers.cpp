#include "about/AboutTimers.h"

namespace vardolin::about {
namespace {

size_t IndexOf(AboutTimer timer) noexcept { return static_cast<size_t>(timer) - 1; }

}  // namespace

AboutTimers::AboutTimers(HWND window, const vardolin::Environment& environment) noexcept
    : window_(window), environment_(environment) {}

AboutTimers::~AboutTimers() {
    for (AboutTimer timer : {AboutTimer::Timer1, AboutTimer::Trans, AboutTimer::Timer3})
        if (StateOf(timer).running) KillTimer(window_, static_cast<UINT_PTR>(timer));
}

AboutTimers::State& AboutTimers::StateOf(AboutTimer timer) noexcept { return states_[IndexOf(timer)]; }
const AboutTimers::State& AboutTimers::StateOf(AboutTimer timer) const noexcept { return states_[IndexOf(timer)]; }

void AboutTimers::Define(AboutTimer timer, bool enabled, UINT intervalMs) noexcept {
    StateOf(timer).enabled = enabled;
    StateOf(timer).interval = intervalMs;
    Apply(timer);
}

void AboutTimers::SetEnabled(AboutTimer timer, bool enabled) noexcept {
    StateOf(timer).enabled = enabled;
    Apply(timer);
}

void AboutTimers::SetInterval(AboutTimer timer, UINT intervalMs) noexcept {
    StateOf(timer).interval = intervalMs;
    Apply(timer);
}

bool AboutTimers::Enabled(AboutTimer timer) const noexcept { return StateOf(timer).enabled; }
UINT AboutTimers::Interval(AboutTimer timer) const noexcept { return StateOf(timer).interval; }

bool AboutTimers::Ticking(AboutTimer timer) const noexcept {
    return StateOf(timer).enabled && StateOf(timer).interval > 0;
}

void AboutTimers::Apply(AboutTimer timer) noexcept {
    State& state = StateOf(timer);
    auto id = static_cast<UINT_PTR>(timer);
    if (Ticking(timer) && !environment_.timersTickByHand) {
        // The platform raises intervals below its shortest period to that period.
        state.running = SetTimer(window_, id, state.interval, nullptr) != 0;
    } else if (state.running) {
        KillTimer(window_, id);
        state.running = false;
    }
}

}  // namespace vardolin::about
