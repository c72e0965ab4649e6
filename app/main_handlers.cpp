#include "app/main_handlers.h"

#include <cstdint>
#include <new>
#include <vector>

#include "app/settings_file.h"
#include "macro/list_file.h"

namespace tavrel {

std::string appDirFrom(const std::string& programFolder) {
    if (!programFolder.empty() && programFolder.back() == '\\') return programFolder;
    return programFolder + "\\";
}

MainHandlers::MainHandlers(KeystrokeList& list, MainControls& controls, Services& services, ModalWindows& windows)
    : list_(list), controls_(controls), services_(services), windows_(windows) {}

void MainHandlers::Form_Load(const std::string& programFolder) {
    programFolder_ = programFolder;
    appDir_ = appDirFrom(programFolder);
    recorder_.emplace(list_, services_, appDir_);
    player_.emplace(list_, controls_, services_, appDir_);
    // A missing or unreadable settings file simply leaves the defaults.
    ReadResult settings = services_.files.readAll(appDir_ + kSettingsFileName);
    if (settings.ok) applySettings(settings.bytes, controls_);
}

void MainHandlers::Form_Unload() {
    std::string error = services_.files.replace(appDir_ + kSettingsFileName, settingsText(controls_));
    if (!error.empty()) services_.notifier.message("The settings could not be saved.\n" + error, Icon::Stop);
}

void MainHandlers::BtnSave_Click() {
    if (std::string error = services_.files.setCurrentFolder(programFolder_); !error.empty()) {
        services_.notifier.message(error, Icon::Stop);
        return;
    }
    std::vector<std::string> entries;
    int n = list_.count();
    entries.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) entries.push_back(list_.entry(i));
    if (std::string error = services_.files.replace(appDir_ + kListFileName, encodeListFile(entries));
        !error.empty())
        services_.notifier.message(error, Icon::Stop);
}

void MainHandlers::BtnLoad_Click() {
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
        loaded = list_.assign(reader.kept());
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

void MainHandlers::Command3_Click() {
    // However the playback ends: when Play was pressed inside a recording's
    // pump, that recording must not take the played keys for presses.
    struct Returned {
        Recorder& recorder;
        ~Returned() { recorder.playbackReturned(); }
    } returned{*recorder_};
    player_->play();
}

void MainHandlers::Command5_Click() {
    std::string commandLine = "explorer.exe \"" + programFolder_ + "\"";
    if (std::string error = services_.shell.launch(commandLine, ShowStyle::Normal); !error.empty())
        services_.notifier.message("The file manager could not be started.\n" + error, Icon::Stop);
}

void MainHandlers::ChkOnTop_Click() { services_.order.setTop(controls_.onTop() != 0 ? -1 : 0); }

}  // namespace tavrel
