#pragma once

#include "platform/file_store.h"

namespace tavrel::win32 {

class Win32FileStore final : public FileStore {
public:
    std::string readPieces(const std::string& path, const std::function<void(std::string_view)>& piece) override;
    std::string replace(const std::string& path, std::string_view bytes) override;
    std::string setCurrentFolder(const std::string& folder) override;
    std::string outOfMemoryText() override;
};

}  // namespace tavrel::win32
