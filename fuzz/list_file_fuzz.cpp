// Reading a list file never crashes, never yields an entry holding a CR,
// and what was read survives being written and read again unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/list_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> entries = tavrel::readLines(bytes);
    std::size_t total = 0;
    for (const auto& e : entries) {
        if (e.find('\r') != std::string::npos) std::abort();
        total += e.size();
    }
    if (total > bytes.size()) std::abort();
    std::string written = tavrel::encodeListFile(entries);
    if (tavrel::readLines(written) != entries) std::abort();
    // A file the program wrote itself reads back byte for byte.
    if (tavrel::encodeListFile(tavrel::readLines(written)) != written) std::abort();
    return 0;
}
