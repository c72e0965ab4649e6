#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "platform/version_info.h"

namespace tavrel {
namespace {

// Builds a version block the way the resource compiler lays one out.
void putWord(std::string& out, std::uint16_t w) {
    out.push_back(static_cast<char>(w & 0xFF));
    out.push_back(static_cast<char>(w >> 8));
}

void putDword(std::string& out, std::uint32_t d) {
    putWord(out, static_cast<std::uint16_t>(d & 0xFFFF));
    putWord(out, static_cast<std::uint16_t>(d >> 16));
}

void pad4(std::string& out) {
    while (out.size() % 4) out.push_back('\0');
}

std::string node(const std::u16string& key, const std::string& value, std::uint16_t valueLength, bool text,
                 const std::string& children) {
    std::string out(6, '\0');
    for (char16_t c : key) putWord(out, c);
    putWord(out, 0);
    pad4(out);
    out += value;
    pad4(out);
    out += children;
    std::uint16_t length = static_cast<std::uint16_t>(out.size());
    out[0] = static_cast<char>(length & 0xFF);
    out[1] = static_cast<char>(length >> 8);
    out[2] = static_cast<char>(valueLength & 0xFF);
    out[3] = static_cast<char>(valueLength >> 8);
    out[4] = text ? 1 : 0;
    return out;
}

std::string textEntry(const std::u16string& key, const std::u16string& value) {
    std::string bytes;
    for (char16_t c : value) putWord(bytes, c);
    putWord(bytes, 0);
    std::string n = node(key, bytes, static_cast<std::uint16_t>(value.size() + 1), true, "");
    pad4(n);
    return n;
}

std::string fixedInfo(std::uint32_t signature, std::uint32_t ms, std::uint32_t ls) {
    std::string f;
    putDword(f, signature);
    putDword(f, 0x00010000);
    putDword(f, ms);
    putDword(f, ls);
    for (int i = 0; i < 9; ++i) putDword(f, 0);
    return f;
}

std::string versionBlock(std::uint32_t signature, std::uint32_t ms, std::uint32_t ls, const std::u16string& product) {
    std::string strings = textEntry(u"CompanyName", u"Someone") + textEntry(u"ProductName", product) +
                          textEntry(u"FileVersion", u"9.9.9");
    std::string table = node(u"040904B0", "", 0, true, strings);
    pad4(table);
    std::string stringInfo = node(u"StringFileInfo", "", 0, true, table);
    pad4(stringInfo);
    std::string translation;
    putDword(translation, 0x04B00409);
    std::string varInfo = node(u"VarFileInfo", "", 0, true, node(u"Translation", translation, 4, false, ""));
    pad4(varInfo);
    std::string fixed = fixedInfo(signature, ms, ls);
    return node(u"VS_VERSION_INFO", fixed, static_cast<std::uint16_t>(fixed.size()), false, varInfo + stringInfo);
}

TEST(VersionInfo, ReadsTitleAndTheThreeNumbers) {
    auto info = parseVersionInfo(versionBlock(0xFEEF04BD, (1u << 16) | 1u, (2u << 16) | 0u, u"Tavrel"));
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->title, u"Tavrel");
    EXPECT_EQ(info->major, 1);
    EXPECT_EQ(info->minor, 1);
    EXPECT_EQ(info->revision, 2);

    auto other = parseVersionInfo(versionBlock(0xFEEF04BD, (12u << 16) | 345u, (6789u << 16) | 5u, u"X"));
    ASSERT_TRUE(other.has_value());
    EXPECT_EQ(other->major, 12);
    EXPECT_EQ(other->minor, 345);
    EXPECT_EQ(other->revision, 6789);
}

TEST(VersionInfo, RejectsMalformedBlocks) {
    std::string good = versionBlock(0xFEEF04BD, 1u << 16, 0, u"Tavrel");
    EXPECT_FALSE(parseVersionInfo(versionBlock(0x12345678, 1u << 16, 0, u"Tavrel")).has_value()) << "bad signature";
    EXPECT_FALSE(parseVersionInfo("").has_value());
    EXPECT_FALSE(parseVersionInfo(good.substr(0, 40)).has_value()) << "cut inside the fixed part";
    std::string wrongKey = good;
    wrongKey[6] = 'W';
    EXPECT_FALSE(parseVersionInfo(wrongKey).has_value());
}

TEST(VersionInfo, ArbitraryBytesNeverReadOutOfBounds) {
    std::mt19937 random(7);
    std::string good = versionBlock(0xFEEF04BD, 1u << 16, 0, u"Tavrel");
    for (int round = 0; round < 20000; ++round) {
        std::string block = good;
        int flips = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < flips; ++i) block[random() % block.size()] = static_cast<char>(random());
        block.resize(random() % (block.size() + 1));
        (void)parseVersionInfo(block);  // the sanitizers judge
    }
}

}  // namespace
}  // namespace tavrel
