// Files: reading, replacing, the working folder. Paths and messages are UTF-8 text.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tavrel {

struct ReadResult {
    bool ok = false;
    std::string bytes;  // whole content when ok
    std::string error;  // system description when not ok
};

class FileStore {
public:
    virtual ~FileStore() = default;
    // Hands the file's bytes to `piece` in order, a piece at a time, so that
    // a reader can keep only what it needs of a huge file. The file may be
    // open for writing by another program meanwhile. Returns an empty string
    // on success, otherwise the system's description of the failure.
    virtual std::string readPieces(const std::string& path, const std::function<void(std::string_view)>& piece) = 0;
    // The whole file at once, for small files.
    ReadResult readAll(const std::string& path) {
        ReadResult result;
        result.error = readPieces(path, [&](std::string_view bytes) { result.bytes.append(bytes); });
        result.ok = result.error.empty();
        if (!result.ok) result.bytes.clear();
        return result;
    }
    // Writes a temporary file beside `path`, then replaces `path` with it, so
    // a failure never leaves `path` empty or half written. Returns an empty
    // string on success, otherwise the system's description of the failure.
    virtual std::string replace(const std::string& path, std::string_view bytes) = 0;
    // Returns an empty string on success, otherwise the failure's description.
    virtual std::string setCurrentFolder(const std::string& folder) = 0;
    // The system's description of running out of memory, for a file read
    // whose content could not be held.
    virtual std::string outOfMemoryText() = 0;
};

}  // namespace tavrel
