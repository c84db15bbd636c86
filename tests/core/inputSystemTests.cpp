// Button sampling with synthetic key states.
#include "core/cInputSystemSDL.h"

#include <gtest/gtest.h>

#include <set>

using qvr::cInputSystemSDL;
using qvr::eInputKey;

namespace {

// Keys held, plus presses latched until the next query of that key.
class cFakeKeys : public qvr::cKeySource {
public:
    bool queryKey(eInputKey key) override
    {
        queried.push_back(key);
        const bool down = held.count(key) || pressed.count(key);
        pressed.erase(key);
        return down;
    }
    std::set<eInputKey> held;
    std::set<eInputKey> pressed;
    std::vector<eInputKey> queried;
};

constexpr int32_t kSpaceSlot = 6;

} // namespace

TEST(InputSystem, HeldKeyIsJustPressedOnlyInItsFirstFrame)
{
    cFakeKeys keys;
    cInputSystemSDL input(&keys);
    keys.held.insert(qvr::kKeySpace);
    const bool expectedDown[] = {true, true, true, false};
    const bool expectedJust[] = {true, false, false, false};
    const bool expectedWas[] = {false, true, true, true};
    for (int frame = 0; frame < 4; ++frame) {
        if (frame == 3) {
            keys.held.clear();
        }
        input.poll();
        EXPECT_EQ(input.isDown(kSpaceSlot), expectedDown[frame]) << "frame " << frame;
        EXPECT_EQ(input.justPressed(kSpaceSlot), expectedJust[frame]) << "frame " << frame;
        EXPECT_EQ(input.wasDown(kSpaceSlot), expectedWas[frame]) << "frame " << frame;
    }
}

TEST(InputSystem, APressBetweenPollsCountsOnceAndSlotsMapToTheirKeys)
{
    cFakeKeys keys;
    cInputSystemSDL input(&keys);
    keys.pressed = {qvr::kKeyX, qvr::kKeyF3, qvr::kKey2};
    input.poll();
    EXPECT_TRUE(input.isDown(9));
    EXPECT_TRUE(input.isDown(11));
    EXPECT_TRUE(input.isDown(4));
    EXPECT_FALSE(input.isDown(5));
    input.poll();
    EXPECT_FALSE(input.isDown(9));
    EXPECT_TRUE(input.wasDown(9));

    // Every key held: every slot but 10 is down; out-of-range slots never are.
    keys.held = {qvr::kKeyLeft, qvr::kKeyRight, qvr::kKeyUp, qvr::kKeyDown, qvr::kKeySpace,
                 qvr::kKeyZ, qvr::kKeyX, qvr::kKey2, qvr::kKey3, qvr::kKeyF1, qvr::kKeyF3};
    input.poll();
    for (int32_t slot = 0; slot < 12; ++slot) {
        EXPECT_EQ(input.isDown(slot), slot != 10) << "slot " << slot;
    }
    EXPECT_FALSE(input.isDown(12));
    EXPECT_FALSE(input.isDown(-1));
}

TEST(InputSystem, EscapeEndsTheProcessBeforeTheRemainingKeys)
{
    cFakeKeys keys;
    cInputSystemSDL input(&keys);
    input.poll();
    const std::vector<eInputKey> order{qvr::kKeyLeft, qvr::kKeyRight, qvr::kKeyUp, qvr::kKeyDown,
                                       qvr::kKeySpace, qvr::kKeyZ, qvr::kKeyEscape, qvr::kKeyX,
                                       qvr::kKey2, qvr::kKey3, qvr::kKeyF1, qvr::kKeyF3};
    EXPECT_EQ(keys.queried, order);
    keys.held.insert(qvr::kKeyEscape);
    EXPECT_EXIT(input.poll(), ::testing::ExitedWithCode(1), "");
    // onFrame samples too.
    EXPECT_EXIT(input.onFrame(), ::testing::ExitedWithCode(1), "");
}
