#include "platform/win32/file_store.h"

#include <windows.h>

#include <vector>

#include "platform/file_placement.h"
#include "platform/win32/file_handle.h"
#include "platform/win32/file_moves.h"
#include "platform/win32/text.h"

namespace tavrel::win32 {

namespace {

// Wine 8's ReplaceFileW moves the old file aside under a GetTempFileNameW
// name and only then moves the new one in: one of five saves killed while
// running left no list file at all and a stray file beside it. Its plain
// rename is atomic, so under Wine the move alone does the replace.
bool replaceIsAtomic() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return !(ntdll && GetProcAddress(ntdll, "wine_get_version"));
}

// The attributes the user may have given the old file, put back on the new
// one where the replace did not keep them (a move never does).
void keepAttributes(const std::wstring& target, DWORD oldAttributes) {
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (oldAttributes == INVALID_FILE_ATTRIBUTES || !(oldAttributes & kKept)) return;
    DWORD now = GetFileAttributesW(target.c_str());
    if (now != INVALID_FILE_ATTRIBUTES && (now & kKept) != (oldAttributes & kKept))
        SetFileAttributesW(target.c_str(), (now & ~(kKept | FILE_ATTRIBUTE_NORMAL)) | (oldAttributes & kKept));
}

}  // namespace

std::string Win32FileStore::readPieces(const std::string& path, const std::function<void(std::string_view)>& piece) {
    // Shared every way: an editor holding the list file open must not keep
    // the user from loading it.
    FileHandle file(CreateFileW(filePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) return lastErrorText();
    std::vector<char> buffer(256 * 1024);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) return lastErrorText();
        if (got == 0) return {};
        piece(std::string_view(buffer.data(), got));
    }
}

std::string Win32FileStore::replace(const std::string& path, std::string_view bytes) {
    const std::wstring target = filePath(path);
    // A list file the user has made read-only stays as it is. Windows refuses
    // to replace it anyway; Wine would not.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return errorText(ERROR_ACCESS_DENIED);
    // Some file systems cannot replace (FAT, some network shares); then the
    // move still can.
    const bool replaceFirst = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
                              replaceIsAtomic();
    Win32FileMoves moves;
    if (std::string error = saveReplacing(moves, path, bytes, replaceFirst); !error.empty()) return error;
    keepAttributes(target, attributes);
    return {};
}

std::string Win32FileStore::setCurrentFolder(const std::string& folder) {
    const std::wstring wide = widen(folder);
    if (SetCurrentDirectoryW(wide.c_str())) return {};
    const DWORD error = GetLastError();
    // Windows without the long-path policy takes no working directory beyond
    // MAX_PATH. Every file is opened by its full path, so such a folder
    // becomes the working directory by its short name where it has one, and
    // otherwise stays out of it: no reason to refuse a Save or a Load.
    if (error == ERROR_FILENAME_EXCED_RANGE || (error == ERROR_INVALID_NAME && wide.size() >= MAX_PATH - 2)) {
        wchar_t shortName[MAX_PATH];
        DWORD n = GetShortPathNameW(filePath(folder).c_str(), shortName, MAX_PATH);
        std::wstring name(shortName, n < MAX_PATH ? n : 0);
        if (name.rfind(L"\\\\?\\", 0) == 0 && name.rfind(L"\\\\?\\UNC\\", 0) != 0) name.erase(0, 4);
        if (!name.empty()) SetCurrentDirectoryW(name.c_str());
        return {};
    }
    return errorText(error);
}

std::string Win32FileStore::outOfMemoryText() { return errorText(ERROR_NOT_ENOUGH_MEMORY); }

}  // namespace tavrel::win32
