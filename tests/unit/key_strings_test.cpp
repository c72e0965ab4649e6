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
        auto keys = keyStringFor(c.entry);
        ASSERT_EQ(keys.has_value(), c.keys.has_value());
        if (keys) {
            EXPECT_EQ(std::string(*keys), *c.keys);
        }
    }
}

TEST(KeyStrings, SplitKeepsEveryPieceBetweenCommas) {
    const struct {
        std::string keys;
        std::vector<std::string> pieces;
    } cases[] = {
        {"", {}},
        {" ", {" "}},
        {"{DOWN}", {"{DOWN}"}},
        {",", {"", ""}},
        {",,", {"", "", ""}},
        {"a,,b", {"a", "", "b"}},
        {",a", {"", "a"}},
        {"a,", {"a", ""}},
        {" , ", {" ", " "}},
        {"{DOWN}, ,{UP}", {"{DOWN}", " ", "{UP}"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("keys \"" + c.keys + "\"");
        EXPECT_EQ(splitKeyString(c.keys), c.pieces);
    }
}

TEST(KeyStrings, EachDirectionSplitsIntoItsWalkPressAndWalkBack) {
    for (const auto& [name, pieces] : kPieces) {
        SCOPED_TRACE(name);
        auto keys = keyStringFor(name);
        ASSERT_TRUE(keys.has_value());
        EXPECT_EQ(splitKeyString(*keys), pieces);
    }
}

}  // namespace
}  // namespace tavrel
