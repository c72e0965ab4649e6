#include "platform/win32/file_moves.h"
#include "platform/win32/file_handle.h"

#include "platform/win32/text.h"

namespace tavrel::win32 {

namespace {

bool writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

}  // namespace

std::uint32_t Win32FileMoves::replace(const std::string& target, const std::string& temp) {
    // Keeps what the user gave the old file (hidden, say, or its
    // permissions); a moved file would arrive as a plain new one.
    if (calls_.replaceFile(filePath(target).c_str(), filePath(temp).c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                           nullptr, nullptr))
        return 0;
    return GetLastError();
}

std::uint32_t Win32FileMoves::move(const std::string& temp, const std::string& target) {
    if (calls_.moveFile(filePath(temp).c_str(), filePath(target).c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    return GetLastError();
}

std::uint32_t Win32FileMoves::write(const std::string& path, std::string_view bytes) {
    FileHandle file(CreateFileW(filePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
    if (!file.valid()) return GetLastError();
    if (!writeAll(file.get(), bytes) || !FlushFileBuffers(file.get())) return GetLastError();
    return 0;
}

bool Win32FileMoves::exists(const std::string& path) {
    return GetFileAttributesW(filePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Win32FileMoves::remove(const std::string& path) { DeleteFileW(filePath(path).c_str()); }

std::string Win32FileMoves::describe(std::uint32_t error) { return errorText(error); }

}  // namespace tavrel::win32
