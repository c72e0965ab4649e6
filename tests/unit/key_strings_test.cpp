// The key string of each list entry, and its split into the pieces sent one by one.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/key_strings.h"
#include "tests/unit/player_rig.h"

namespace tavrel {
namespace {

using namespace fakes;

TEST(KeyStrings, OnlyTheExactDirectionNamesHaveKeyStrings) {
    const struct {
        std::string entry;
        std::optional<std::string> keys;
    } cases[] = {
        {"UP", "{DOWN},{DOWN},{DOWN}, ,{UP},{UP},{UP}"},
        {"DOWN", " "},
        {"LEFT", "{DOWN}, ,{UP}"},
        {"RIGHT", "{DOWN},{DOWN}, ,{UP},{UP}"},
        {"up", std::nullopt},
        {"Up", std::nullopt},
        {"UP ", std::nullopt},
        {" UP", std::nullopt},
        {"DOWN\n", std::nullopt},
        {"UPUP", std::nullopt},
        {"RIGH", std::nullopt},
        {"", std::nullopt},
        {std::string("UP\0", 3), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("entry \"" + c.entry + "\"");
        const Direction* d = directionNamed(c.entry);
        const std::optional<std::string_view> keys =
            d ? std::optional<std::string_view>(d->keyString) : std::nullopt;
        ASSERT_EQ(keys.has_value(), c.keys.has_value());
        if (keys) {
            EXPECT_EQ(std::string(*keys), *c.keys);
        }
    }
}

// The key-string text is read once, into keys; anything but the three
// pieces between commas makes it invalid, which the build refuses.
TEST(KeyStrings, ParseTurnsTextIntoKeysAndRefusesAnythingElse) {
    using enum Key;
    const struct {
        std::string text;
        std::vector<Key> keys;  // empty: invalid
    } cases[] = {
        {" ", {Space}},
        {"{DOWN}, ,{UP}", {Down, Space, Up}},
        {"{UP},{UP},{UP},{UP},{UP},{UP},{UP},{UP}", {Up, Up, Up, Up, Up, Up, Up, Up}},
        {"", {}},
        {",", {}},
        {"{DOWN},,{UP}", {}},
        {"{down}", {}},
        {"{LEFT}", {}},
        {"  ", {}},
        {"{UP},{UP},{UP},{UP},{UP},{UP},{UP},{UP},{UP}", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("text \"" + c.text + "\"");
        const KeyPieces parsed = parseKeyString(c.text);
        EXPECT_EQ(parsed.valid, !c.keys.empty());
        if (parsed.valid) {
            EXPECT_EQ(std::vector<Key>(parsed.keys.begin(), parsed.keys.begin() + parsed.count), c.keys);
        }
    }
}

TEST(KeyStrings, EachDirectionIsItsWalkPressAndWalkBack) {
    for (const auto& [name, pieces] : kPieces) {
        SCOPED_TRACE(name);
        std::vector<std::string> sent;
        for (Key key : keysFor(name)) sent.push_back(key == Key::Down ? "{DOWN}" : key == Key::Up ? "{UP}" : " ");
        EXPECT_EQ(sent, pieces);
    }
    EXPECT_TRUE(keysFor("up").empty());
}

}  // namespace
}  // namespace tavrel
