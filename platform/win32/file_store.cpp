#include "platform/win32/file_store.h"

#include <windows.h>

#include "platform/win32/text.h"

namespace tavrel::win32 {

namespace {

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() {
        if (valid()) CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    HANDLE get() const { return h_; }

private:
    HANDLE h_;
};

std::wstring folderOf(const std::wstring& path) {
    auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : path.substr(0, slash + 1);
}

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

ReadResult Win32FileStore::readAll(const std::string& path) {
    Handle file(CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return {false, {}, lastErrorText()};
    ReadResult result;
    char buffer[64 * 1024];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return {false, {}, lastErrorText()};
        if (got == 0) break;
        result.bytes.append(buffer, got);
    }
    result.ok = true;
    return result;
}

std::string Win32FileStore::replace(const std::string& path, std::string_view bytes) {
    std::wstring target = widen(path);
    // A list file the user has made read-only stays as it is. Windows refuses
    // to replace it anyway; Wine would not.
    DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return errorText(ERROR_ACCESS_DENIED);
    wchar_t temp[MAX_PATH];
    if (!GetTempFileNameW(folderOf(target).c_str(), L"tav", 0, temp)) return lastErrorText();
    std::string error;
    {
        Handle file(CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid() || !writeAll(file.get(), bytes) || !FlushFileBuffers(file.get())) error = lastErrorText();
    }
    if (error.empty() && !MoveFileExW(temp, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = lastErrorText();
    if (!error.empty()) DeleteFileW(temp);
    return error;
}

std::string Win32FileStore::setCurrentFolder(const std::string& folder) {
    if (!SetCurrentDirectoryW(widen(folder).c_str())) return lastErrorText();
    return {};
}

}  // namespace tavrel::win32
