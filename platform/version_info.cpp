#include "platform/version_info.h"

namespace tavrel {

namespace {

constexpr std::uint32_t kFixedSignature = 0xFEEF04BD;

std::uint16_t word(std::string_view b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      (static_cast<unsigned char>(b[at + 1]) << 8));
}

std::uint32_t dword(std::string_view b, std::size_t at) {
    return static_cast<std::uint32_t>(word(b, at)) | (static_cast<std::uint32_t>(word(b, at + 2)) << 16);
}

std::size_t align4(std::size_t n) { return (n + 3) & ~static_cast<std::size_t>(3); }

// One node of the resource tree: header, key, value, children.
struct Node {
    std::u16string key;
    std::string_view value;     // raw bytes of the value
    std::string_view children;  // raw bytes of the child nodes
    std::size_t length = 0;     // whole node, unpadded
};

std::optional<Node> readNode(std::string_view b) {
    if (b.size() < 6) return std::nullopt;
    std::size_t length = word(b, 0);
    std::size_t valueLength = word(b, 2);
    bool text = word(b, 4) == 1;
    if (length < 6 || length > b.size()) return std::nullopt;
    b = b.substr(0, length);
    Node n;
    n.length = length;
    std::size_t at = 6;
    for (;;) {
        if (at + 2 > b.size()) return std::nullopt;
        char16_t c = static_cast<char16_t>(word(b, at));
        at += 2;
        if (c == 0) break;
        n.key.push_back(c);
    }
    at = align4(at);
    std::size_t valueBytes = text ? valueLength * 2 : valueLength;
    if (at > b.size() || valueBytes > b.size() - at) return std::nullopt;
    n.value = b.substr(at, valueBytes);
    at = align4(at + valueBytes);
    n.children = at < b.size() ? b.substr(at) : std::string_view{};
    return n;
}

template <typename Visit>
void forEachChild(std::string_view children, Visit visit) {
    while (!children.empty()) {
        auto child = readNode(children);
        if (!child) return;
        visit(*child);
        std::size_t next = align4(child->length);
        if (next >= children.size()) return;
        children = children.substr(next);
    }
}

std::u16string textValue(std::string_view value) {
    std::u16string s;
    for (std::size_t at = 0; at + 1 < value.size(); at += 2) {
        char16_t c = static_cast<char16_t>(word(value, at));
        if (c == 0) break;
        s.push_back(c);
    }
    return s;
}

}  // namespace

std::optional<VersionInfo> parseVersionInfo(std::string_view block) {
    auto root = readNode(block);
    if (!root || root->key != u"VS_VERSION_INFO" || root->value.size() < 52) return std::nullopt;
    if (dword(root->value, 0) != kFixedSignature) return std::nullopt;
    VersionInfo info;
    std::uint32_t ms = dword(root->value, 8);
    std::uint32_t ls = dword(root->value, 12);
    info.major = static_cast<int>(ms >> 16);
    info.minor = static_cast<int>(ms & 0xFFFF);
    info.revision = static_cast<int>(ls >> 16);
    forEachChild(root->children, [&](const Node& section) {
        if (section.key != u"StringFileInfo") return;
        forEachChild(section.children, [&](const Node& table) {
            forEachChild(table.children, [&](const Node& entry) {
                if (entry.key == u"ProductName" && info.title.empty()) info.title = textValue(entry.value);
            });
        });
    });
    return info;
}

}  // namespace tavrel
