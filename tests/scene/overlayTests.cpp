// Overlay values, bars, conditions, the value registry and the shared blink clock.
#include "scene/cScenegraph.h"

#include <gtest/gtest.h>

using namespace qvr;

TEST(Overlay, ValuesShowAsTheStreamWritesThem)
{
    cOverlayValue v;
    v.type = 0;
    v.intValue = -42;
    EXPECT_EQ(overlayValueText(v), "-42");
    v.type = 1;
    v.floatValue = 2.5f;
    EXPECT_EQ(overlayValueText(v), "2.5");
    v.type = 7;
    v.floatValue = 1234567.0f;
    EXPECT_EQ(overlayValueText(v), "1.23457e+06");
    v.type = 2;
    v.text = "two words\nand a line";
    EXPECT_EQ(overlayValueText(v), "two words\nand a line");
}

TEST(Overlay, BarFillsItsShareOfTheWidth)
{
    cOverlayValue v;
    v.intValue = 5;
    cOverlayItem bar;
    bar.kind = kOverlayBar;
    bar.value = &v;
    bar.width = 200.0f;
    bar.barMaximum = 10;
    EXPECT_FLOAT_EQ(overlayBarFill(bar), 100.0f);
    v.intValue = 25;
    EXPECT_FLOAT_EQ(overlayBarFill(bar), 200.0f);  // never past its background
    v.intValue = -3;
    EXPECT_FLOAT_EQ(overlayBarFill(bar), 0.0f);
    v.intValue = 5;
    bar.barMaximum = 0;
    EXPECT_FLOAT_EQ(overlayBarFill(bar), 0.0f);  // no maximum, no division by zero
}

TEST(Overlay, ConditionsCompareTextsExactly)
{
    cOverlayItem item;
    EXPECT_TRUE(overlayConditionHolds(item, ""));
    item.hasCondition = true;
    item.conditionKind = 1;
    item.conditionText = "";
    EXPECT_TRUE(overlayConditionHolds(item, ""));
    item.conditionText = "red";
    EXPECT_FALSE(overlayConditionHolds(item, ""));
    EXPECT_TRUE(overlayConditionHolds(item, "red"));

    item.conditionKind = 2;
    EXPECT_FALSE(overlayConditionHolds(item, "red"));  // nothing registered: an empty text
    cOverlayValue selected;
    selected.type = 2;
    selected.text = "red";
    registerValue("D_SELECTED_VEHICLE", &selected);
    EXPECT_TRUE(overlayConditionHolds(item, ""));
    selected.text = "red ";
    EXPECT_FALSE(overlayConditionHolds(item, ""));
    registerValue("D_SELECTED_VEHICLE", nullptr);
}

TEST(Overlay, RegistryFindsWhatWasRegistered)
{
    EXPECT_EQ(findValue("never registered"), nullptr);
    EXPECT_EQ(findValue("never registered"), nullptr);
    cOverlayValue a, b;
    registerValue("score", &a);
    EXPECT_EQ(findValue("score"), &a);
    registerValue("score", &b);
    EXPECT_EQ(findValue("score"), &b);
}

TEST(Overlay, PagesAndTheCurrentPage)
{
    cScenegraph graph;
    cOverlay& overlay = graph.getOverlay();
    EXPECT_EQ(overlay.current(), nullptr);  // no pages: nothing to draw
    overlay.addItem(2, kOverlayBar);
    ASSERT_EQ(overlay.pages.size(), 3u);
    EXPECT_EQ(overlay.pages[2][0]->kind, kOverlayBar);
    EXPECT_TRUE(overlay.current()->empty());
    overlay.currentPage = 3;
    EXPECT_EQ(overlay.current(), nullptr);
    overlay.currentPage = -1;
    EXPECT_EQ(overlay.current(), nullptr);
}

TEST(Overlay, BlinkingItemsAlternateWithTheirPeriodOnOneClock)
{
    cBlinkClock clock;
    cOverlayItem steady, a, b;
    a.blinkPeriod = b.blinkPeriod = 500;
    const auto pass = [&](uint32_t now) {
        clock.beginPass(now);
        const bool shown[3] = {clock.visible(steady), clock.visible(a), clock.visible(b)};
        clock.endPass();
        EXPECT_TRUE(shown[0]);
        EXPECT_EQ(shown[1], shown[2]) << "at " << now;  // one clock: they blink together
        return shown[1];
    };
    // The clock starts at the first pass (10000); frames every 33 ms.
    std::vector<std::pair<uint32_t, bool>> seen;
    for (uint32_t t = 10000; t < 12100; t += 33) {
        seen.emplace_back(t, pass(t));
    }
    std::vector<uint32_t> flips;
    for (size_t i = 1; i < seen.size(); ++i) {
        if (seen[i].second != seen[i - 1].second) {
            flips.push_back(seen[i].first);
        }
    }
    ASSERT_GE(flips.size(), 3u);
    EXPECT_TRUE(seen.front().second);
    for (size_t i = 1; i < flips.size(); ++i) {
        EXPECT_NEAR(static_cast<double>(flips[i] - flips[i - 1]), 500.0, 33.0);
    }
    EXPECT_GE(flips[0], 10500u);
    EXPECT_LE(flips[0], 10500u + 2 * 33u);
}
