// A file handle closed on every way out of the function that opened it.
#pragma once

#include <windows.h>

namespace tavrel::win32 {

class FileHandle {
public:
    explicit FileHandle(HANDLE h) : h_(h) {}
    ~FileHandle() { close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    void close() {
        if (valid()) CloseHandle(h_);
        h_ = nullptr;
    }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    HANDLE get() const { return h_; }

private:
    HANDLE h_;
};

}  // namespace tavrel::win32
