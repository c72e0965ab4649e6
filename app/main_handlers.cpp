#include "app/main_handlers.h"

#include <cstdint>
#include <new>
#include <utility>
#include <vector>

#include "core/settings_file.h"
#include "core/list_file.h"
#include "app/open_in_explorer.h"

namespace tavrel {

std::string appDirFrom(const std::string& programFolder) {
    if (!programFolder.empty() && programFolder.back() == '\\') return programFolder;
    return programFolder + "\\";
}

MainHandlers::MainHandlers(PathModel& path, MainView& view, Services& services, ModalWindows& windows,
                           DialogWatch* watch)
    : path_(path), view_(view), services_(services), windows_(windows), watch_(watch) {}

void MainHandlers::start(const std::string& programFolder) {
    programFolder_ = programFolder;
    appDir_ = appDirFrom(programFolder);
    recorder_.emplace(path_, services_, appDir_);
    player_.emplace(path_, settings_, playbackSide_, services_, appDir_, watch_);
    // A missing or unreadable settings file simply leaves the defaults.
    ReadResult file = services_.files.readAll(appDir_ + kSettingsFileName);
    if (file.ok)
        readSettings(file.bytes, settings_, [this] {
            view_.showSettings(settings_);
            switchOnTop();
        });
    view_.showSettings(settings_);
}

void MainHandlers::finish() {
    std::string error = services_.files.replace(appDir_ + kSettingsFileName, settingsText(settings_));
    if (!error.empty()) services_.notifier.message("The settings could not be saved.\n" + error, Icon::Stop);
}

void MainHandlers::record() {
    // Undoing a Record by mistake brings the old path back whole.
    PathStep step(path_);
    recorder_->record();
}

void MainHandlers::save() {
    if (std::string error = services_.files.setCurrentFolder(programFolder_); !error.empty()) {
        services_.notifier.message(error, Icon::Stop);
        return;
    }
    std::vector<std::string> entries;
    int n = path_.count();
    entries.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) entries.push_back(path_.entry(i));
    if (std::string error = services_.files.replace(appDir_ + kListFileName, encodeListFile(entries));
        !error.empty())
        services_.notifier.message(error, Icon::Stop);
}

void MainHandlers::load() {
    if (std::string error = services_.files.setCurrentFolder(programFolder_); !error.empty()) {
        services_.notifier.message(error, Icon::Stop);
        return;
    }
    // The whole file is read before the list is touched, so a failed Load
    // never costs the user an unsaved recording. Only what the list can take
    // is kept; the rest is counted, so a huge file costs no more memory than
    // a full list.
    std::size_t loaded = 0;
    std::uint64_t total = 0;
    try {
        LineReader reader(kListCapacity);
        if (std::string error = services_.files.readPieces(appDir_ + kListFileName,
                                                           [&](std::string_view piece) { reader.feed(piece); });
            !error.empty()) {
            services_.notifier.message(error, Icon::Stop);
            return;
        }
        reader.finish();
        total = reader.total();
        // Takes the new list whole or leaves the old one as it was.
        loaded = path_.assign(std::move(reader.kept()));
    } catch (const std::bad_alloc&) {
        // One line of hundreds of megabytes is one entry, and may be more
        // than a 32-bit program can hold, let alone copy.
        services_.notifier.message(services_.files.outOfMemoryText(), Icon::Stop);
        return;
    }
    if (loaded < total)
        services_.notifier.message("The list file holds " + std::to_string(total) +
                                       " lines, more than the list can take. Only the first " +
                                       std::to_string(loaded) + " were loaded.",
                                   Icon::Exclamation);
}

void MainHandlers::play() { player_->play(); }

void MainHandlers::playFromHere() { player_->playFrom(path_.selected()); }

void MainHandlers::resume() { player_->resume(); }

void MainHandlers::takingKeys(const std::function<void()>& taker) {
    // However it ends: when it ran inside a recording's pump, that recording
    // must not take the keys it took for presses.
    recorder_->keysTakenElsewhere(true);
    struct Returned {
        Recorder& recorder;
        ~Returned() { recorder.keysTakenElsewhere(false); }
    } returned{*recorder_};
    taker();
}

void MainHandlers::explore() { openInExplorer(services_.shell, services_.notifier, programFolder_, ShowStyle::Normal); }

void MainHandlers::setOnTop(int value) {
    settings_.onTop = value;
    switchOnTop();
}

void MainHandlers::switchOnTop() { services_.order.setTop(settings_.onTop != 0 ? -1 : 0); }

}  // namespace tavrel
