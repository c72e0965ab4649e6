// The system's file calls behind a save's last steps (FileMoves).
#pragma once

#include <windows.h>

#include "platform/file_placement.h"

namespace tavrel::win32 {

// The two calls that decide where the list ends up, as the system declares
// them; a test puts recorders in their place to check what goes where.
struct FileMoveCalls {
    decltype(&ReplaceFileW) replaceFile = &ReplaceFileW;
    decltype(&MoveFileExW) moveFile = &MoveFileExW;
};

class Win32FileMoves final : public FileMoves {
public:
    explicit Win32FileMoves(FileMoveCalls calls = {}) : calls_(calls) {}
    std::uint32_t replace(const std::string& target, const std::string& temp) override;
    std::uint32_t move(const std::string& temp, const std::string& target) override;
    std::uint32_t write(const std::string& path, std::string_view bytes) override;
    bool exists(const std::string& path) override;
    void remove(const std::string& path) override;
    std::string describe(std::uint32_t error) override;

private:
    FileMoveCalls calls_;
};

}  // namespace tavrel::win32
