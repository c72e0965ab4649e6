#include "macro/player.h"

#include <array>
#include <optional>
#include <utility>

#include "macro/key_strings.h"

namespace tavrel {

namespace {

// Enough time for the user to put the focus into the editor's dialog; the
// last caption gives the button its own name back just before the first key.
constexpr std::array<std::string_view, 5> kCountdownCaptions{
    "5 seconds", "Ready...", "Set", "Go!", "Play"};

}  // namespace

Player::Player(KeystrokeList& list, MainControls& controls, Services& services, std::string appDir)
    : list_(list),
      controls_(controls),
      services_(services),
      keySound_(appDir + "key.wav"),
      clickSound_(std::move(appDir) + "click.wav") {}

void Player::play() {
    if (list_.count() == 0) {
        services_.notifier.message("Nothing to play.", Icon::Exclamation);
        return;
    }

    controls_.setActionsEnabled(false);
    try {
        for (std::string_view caption : kCountdownCaptions) {
            wait(kCountdownStepWait);
            services_.sound.play(keySound_);
            controls_.setPlayCaption(caption);
        }

        // Read after the countdown, then fixed: the selection may be moved by
        // the user meanwhile, but playback keeps its own index.
        const int count = list_.count();
        for (int i = 0; i < count; ++i) {
            list_.select(i);
            const std::string text = list_.entry(i);
            if (auto keys = keyStringFor(text)) sendPieces(*keys);
        }

        // Lets the last keys be processed before the frame comes back.
        sendOrFail("", true);
    } catch (const Ending&) {
        return;
    } catch (const SendFailed& failure) {
        // Going on would press buttons in a dialog that has stopped
        // following the path, so the rest of the list is dropped.
        controls_.setActionsEnabled(true);
        reportSendFailure(failure.error);
        return;
    }

    controls_.setActionsEnabled(true);
    services_.notifier.message("DONE!", Icon::Exclamation);
}

void Player::SendThe(const std::string& keys) {
    try {
        sendPieces(keys);
    } catch (const Ending&) {
    } catch (const SendFailed& failure) {
        reportSendFailure(failure.error);
    }
}

void Player::Delay(float seconds) {
    try {
        wait(seconds);
    } catch (const Ending&) {
    }
}

void Player::sendPieces(std::string_view keys) {
    for (const std::string& piece : splitKeyString(keys)) {
        if (piece.empty()) continue;
        // Each test reads its control afresh, so a change made during an
        // earlier wait already counts for the tests after it.
        if (controls_.modeSelected(kModeSurpressed)) wait(kSurpressedWait);
        if (controls_.modeSelected(kModeUltraSurpressed)) wait(kUltraSurpressedWait);
        if (controls_.noSound() == 0 && !controls_.modeSelected(kModeOriginal))
            services_.sound.play(clickSound_);
        pumpOrEnd();
        sendOrFail(piece, false);
    }
}

void Player::wait(float seconds) {
    // The monotonic clock in double precision: a wait can neither stall at
    // midnight nor end early through rounding of a large reading.
    const double start = services_.clock.seconds();
    const double end = start + static_cast<double>(seconds);
    const WaitingLoop waiting(services_.events);
    for (;;) {
        pumpOrEnd();
        const double now = services_.clock.seconds();
        if (now > end) return;
        // Asleep until a message comes or the end draws near; the last
        // stretch, which the system's timer could overshoot, is polled.
        if (end - now > kWakeLateness) services_.events.waitForInput(end - kWakeLateness);
    }
}

void Player::pumpOrEnd() {
    if (!services_.events.pump()) throw Ending{};
}

void Player::sendOrFail(std::string_view keys, bool waitUntilProcessed) {
    std::string error = services_.sender.send(keys, waitUntilProcessed);
    if (!error.empty()) throw SendFailed{std::move(error)};
}

void Player::reportSendFailure(const std::string& error) {
    services_.notifier.message("Could not send keys: " + error, Icon::Stop);
}

}  // namespace tavrel
