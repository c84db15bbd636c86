// The display tier itself: these tests run under the private Xvfb server of the test command.
#include <SDL.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

TEST(DisplayTier, RunsOnAnX11ScreenOf800x600)
{
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "display tests must run under Xvfb";
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    EXPECT_EQ(std::string(SDL_GetCurrentVideoDriver()), "x11");
    SDL_Rect bounds{};
    EXPECT_EQ(SDL_GetDisplayBounds(0, &bounds), 0) << SDL_GetError();
    EXPECT_EQ(bounds.w, 800);
    EXPECT_EQ(bounds.h, 600);
    SDL_Quit();
}
