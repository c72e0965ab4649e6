#include <gtest/gtest.h>

#include <set>

#include "app/main_layout.h"

namespace tavrel {
namespace {

TEST(TwipsToPixels, FifteenTwipsMakeAPixelAt96Dpi) {
    struct Row {
        int twips, dpi, pixels;
    } rows[] = {
        {0, 96, 0},      {15, 96, 1},     {120, 96, 8},    {5745, 96, 383}, {3795, 96, 253},
        {255, 96, 17},   {7, 96, 0},      {8, 96, 1},      {120, 144, 12},  {255, 144, 26},
        {5745, 120, 479}, {3795, 192, 506}, {-15, 96, -1},  {-8, 96, -1},
    };
    for (const Row& r : rows) EXPECT_EQ(twipsToPixels(r.twips, r.dpi), r.pixels) << r.twips << " twips at " << r.dpi;
}

TEST(MainLayout, ControlsResolveTheirFrames) {
    struct Row {
        ControlId id;
        TwipRect client;
    } rows[] = {
        {ControlId::ChkOnTop, {120, 3000, 3135, 255}},
        {ControlId::OptMode0, {240, 2040, 2655, 255}},
        {ControlId::OptMode2, {240, 2520, 2655, 255}},
        {ControlId::Command1, {240, 360, 975, 495}},
        {ControlId::Command4, {2160, 1320, 975, 255}},
        {ControlId::List1, {3480, 360, 2055, 3180}},
        {ControlId::ChkNoSound, {120, 3240, 3135, 255}},
    };
    for (const Row& r : rows) {
        TwipRect got = clientRectTwips(controlSpec(r.id));
        EXPECT_EQ(got.left, r.client.left) << static_cast<int>(r.id);
        EXPECT_EQ(got.top, r.client.top) << static_cast<int>(r.id);
        EXPECT_EQ(got.width, r.client.width) << static_cast<int>(r.id);
        EXPECT_EQ(got.height, r.client.height) << static_cast<int>(r.id);
    }
}

TEST(MainLayout, EveryControlFitsInsideItsContainer) {
    for (const ControlSpec& c : mainWindowControls()) {
        TwipRect r = clientRectTwips(c);
        TwipRect outer = c.container == kWindowClientArea
                             ? TwipRect{0, 0, kMainClientWidthTwips, kMainClientHeightTwips}
                             : clientRectTwips(controlSpec(c.container));
        EXPECT_GE(r.left, outer.left) << c.caption;
        EXPECT_GE(r.top, outer.top) << c.caption;
        EXPECT_LE(r.left + r.width, outer.left + outer.width) << c.caption;
        EXPECT_LE(r.top + r.height, outer.top + outer.height) << c.caption;
    }
}

TEST(MainLayout, TheActionsFrameHoldsTheEightButtons) {
    std::set<std::string_view> inside;
    for (const ControlSpec& c : mainWindowControls())
        if (c.container == ControlId::Frame2) inside.insert(c.caption);
    EXPECT_EQ(inside, (std::set<std::string_view>{"Record", "Stop", "Play", "Load", "Save", "Preview", "About",
                                                  "Explore"}));
}

TEST(MainLayout, ContainersComeBeforeTheirControlsInTabOrder) {
    std::set<ControlId> seen;
    for (const ControlSpec& c : mainWindowControls()) {
        if (c.container != kWindowClientArea) {
            EXPECT_TRUE(seen.count(c.container)) << c.caption;
        }
        EXPECT_TRUE(seen.insert(c.id).second) << "listed twice: " << c.caption;
    }
    EXPECT_EQ(seen.size(), 17u);
}

}  // namespace
}  // namespace tavrel
