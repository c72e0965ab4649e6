// The last steps of a save: the new content is written beside the target as
// a temporary file, which must then take the target's place. The system
// calls are behind FileMoves, so every outcome the system documents can be
// tested.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavrel {

// System error codes that ReplaceFileW documents, by their numbers.
inline constexpr std::uint32_t kUnableToRemoveReplaced = 1175;
inline constexpr std::uint32_t kUnableToMoveReplacement = 1176;
inline constexpr std::uint32_t kUnableToMoveReplacement2 = 1177;

class FileMoves {
public:
    virtual ~FileMoves() = default;
    // Replaces `target` with `temp`, keeping the target's attributes; no
    // backup file. 0 on success, otherwise the system's error code.
    virtual std::uint32_t replace(const std::string& target, const std::string& temp) = 0;
    // Moves `temp` onto `target`, replacing any file there. 0 or an error code.
    virtual std::uint32_t move(const std::string& temp, const std::string& target) = 0;
    // Creates or empties `path` and writes `bytes` into it, through to the
    // disk. 0 or an error code.
    virtual std::uint32_t write(const std::string& path, std::string_view bytes) = 0;
    virtual bool exists(const std::string& path) = 0;
    virtual void remove(const std::string& path) = 0;
    // The system's description of an error code.
    virtual std::string describe(std::uint32_t error) = 0;
};

// Puts the written `temp` in the place of `target`: by a replace first when
// `replaceFirst` (the target exists and the system replaces atomically), by a
// move otherwise or when the replace fails. Returns an empty string once the
// target holds the new content; otherwise the failure's description, naming
// the file that holds the new content, and saying so when the target is gone.
// The temporary file is never removed here: when the target does not hold
// the new content, it is the only copy.
//
// What is on disk after a failed replace, before the move is tried (no
// backup name is given):
//   1175  the target as it was; the temporary file under its own name
//   1176  no target any more; the temporary file under its own name
//   1177  the target moved aside under a name of the system's; the temporary
//         file under its own name
//   other the target as it was (the replace did not start)
// In every case the temporary file still holds the new content, so the move
// is tried, and if it fails too the user is told where the content is.
std::string putInPlace(FileMoves& moves, const std::string& temp, const std::string& target, bool replaceFirst);

// The whole save: writes `bytes` to a temporary file beside `target`, then
// puts it in place (putInPlace). Returns an empty string once the target
// holds `bytes`, otherwise the failure's description. A write that fails
// removes its own part-written file and leaves every other file as it was.
std::string saveReplacing(FileMoves& moves, const std::string& target, std::string_view bytes, bool replaceFirst);

}  // namespace tavrel
