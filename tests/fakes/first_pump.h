// Stepping into a running playback or recording at a chosen moment: an
// action run once, at the first pump of the fake event loop where its
// condition holds. Copies share whether it has run, so one can go into
// FakePump::onPump and the test still ask afterwards.
#pragma once

#include <functional>
#include <memory>
#include <utility>

namespace tavrel::fakes {

class AtFirstPump {
public:
    AtFirstPump(std::function<bool()> when, std::function<void()> act)
        : when_(std::move(when)), act_(std::move(act)) {}

    // Called from a pump; acts at most once over all copies.
    void operator()() const {
        if (*done_ || !when_ || !when_()) return;
        *done_ = true;
        act_();
    }
    bool done() const { return *done_; }

private:
    std::function<bool()> when_;
    std::function<void()> act_;
    std::shared_ptr<bool> done_ = std::make_shared<bool>(false);
};

}  // namespace tavrel::fakes
