#include "tests/e2e/message_checks.h"
#include "tests/e2e/recording_support.h"

#include <stdexcept>

namespace e2e {

std::string show(const Entries& entries) {
    std::string out = "[";
    for (std::size_t i = 0; i < entries.size(); ++i) out += (i ? ", " : "") + narrow(entries[i]);
    return out + "]";
}

std::string showBytes(const std::string& bytes) {
    std::string out;
    for (char c : bytes) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return "\"" + out + "\"";
}

::testing::AssertionResult takeForeground(const KeySink& sink) {
    if (sink.take()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the driver's key window did not get the foreground; it is "
                                         << GetForegroundWindow();
}

::testing::AssertionResult tap(const KeySink& sink, WORD vk) {
    if (sink.tap(vk)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "key " << vk << " not sent: the foreground is " << GetForegroundWindow()
                                         << ", not the driver's key window";
}

void preload(const ProgramFolder& folder, const App& app, const std::string& bytes, const Entries& expected) {
    folder.write(kListFile, bytes);
    app.click(L"Load");
    ASSERT_TRUE(waitUntil([&] { return app.listItems() == expected; })) << "Load gave " << show(app.listItems());
}

double clickRecord(const App& app) {
    app.click(L"Record");
    bool emptied = waitUntil([&] { return app.listCount() == 0; });
    return emptied ? seconds() : -1.0;
}

void waitOutGrace(double recordSeen) {
    pumpUntil([&] { return seconds() > recordSeen + kGraceSeconds; });
}

::testing::AssertionResult listBecomes(const App& app, const Entries& expected) {
    Entries seen;
    if (!pumpUntil([&] { return (seen = app.listItems()).size() >= expected.size(); }) || seen != expected)
        return ::testing::AssertionFailure() << "the list is " << show(seen) << ", expected " << show(expected);
    if (!passCompleted(app)) return ::testing::AssertionFailure() << "the program stopped answering";
    seen = app.listItems();
    if (seen != expected)
        return ::testing::AssertionFailure() << "the list went on to " << show(seen) << ", expected " << show(expected);
    return ::testing::AssertionSuccess();
}

Recording::Recording() {
    preload(folder, app, "UP\r\n", {kUp});
    double seen = clickRecord(app);
    if (seen < 0) throw std::runtime_error("Record did not empty the list: " + show(app.listItems()));
    if (!sink.take()) throw std::runtime_error("the driver's key window did not get the foreground");
    waitOutGrace(seen);
}

::testing::AssertionResult stopsWithHalted(const App& app) {
    app.click(L"Stop");
    return boxSays(app, L"Recording halted.", kInformationIcon);
}

::testing::AssertionResult savesAs(const ProgramFolder& folder, const App& app, const std::string& expected) {
    DeleteFileW(folder.file(kListFile).c_str());
    app.click(L"Save");
    bool exists = false;
    std::string bytes;
    waitUntil([&] {
        bytes = folder.read(kListFile, &exists);
        return exists && bytes.size() >= expected.size();
    });
    if (!app.responsive()) return ::testing::AssertionFailure() << "the program stopped answering after Save";
    bytes = folder.read(kListFile, &exists);
    if (!exists) return ::testing::AssertionFailure() << "Save wrote no " << narrow(kListFile);
    if (bytes != expected)
        return ::testing::AssertionFailure() << "the file holds " << showBytes(bytes) << ", expected "
                                             << showBytes(expected);
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult xFocus(const ProgramFolder& folder, const KeySink& sink) {
    unsigned long long id = xWindowOf(sink.hwnd());
    if (!id) return ::testing::AssertionFailure() << "the driver's key window has no X window";
    if (std::string error = xdotool(folder, "windowfocus --sync " + std::to_string(id)); !error.empty())
        return ::testing::AssertionFailure() << error;
    return takeForeground(sink);
}

::testing::AssertionResult xTap(const ProgramFolder& folder, const std::string& keys) {
    if (std::string error = xdotool(folder, "key " + keys); !error.empty())
        return ::testing::AssertionFailure() << error;
    return ::testing::AssertionSuccess();
}

}  // namespace e2e
