// The system layer: the millisecond clock, frame time and statistics, the animation phase and the
// paced frame routine, and the start of the window and its message loop. It does not draw, read
// input or own the scene; all of that hangs off the frame events it fires.
#pragma once

#include <cstdint>

namespace qvr {

class cSystemWrapper {
public:
    virtual ~cSystemWrapper() = default;

    //! Has no behaviour here.
    virtual void reservedHook(int32_t, int32_t) {}
    //! Stores the size (0 becomes 1) and restarts the frame clock; implementations then open the
    //! window and run until the message loop ends. Returns false when no window could be opened.
    virtual bool openWindowAndRun(const char* title, int32_t width, int32_t height, bool fullscreen);
    //! Shows what was drawn; the window layer already swaps after every frame.
    virtual void present() = 0;
    //! Sets the GL clear colour to near-black.
    virtual void setDefaultClearColor() = 0;
    //! Milliseconds of a clock that wraps around at 2^32.
    virtual uint32_t getTimeMs() { return 0; }
    //! Milliseconds between the starts of the previous and the current frame; never 0.
    virtual int32_t getFrameTimeMs() { return mFrameTimeMs; }
    //! Frames counted in the last completed interval of more than a second; 0 before that.
    virtual int32_t getFramesPerSecond() { return mFramesPerSecond; }

    //! Frame time from the clock; the first frame gets the clock's absolute value.
    void updateFrameTime();
    //! Counts a frame; publishes the count once more than 1000 ms have passed since the interval
    //! began.
    void updateFrameStatistics();
    //! (now - start) / 10000; the start moves to now after a value above 1 was computed, so the
    //! phase runs 0..1 over 10 s and restarts.
    float getAnimationPhase();
    //! The frame routine: phase, frame time, events 0 and 1, statistics, then a busy wait until
    //! 33 ms have passed since the frame began. Always true (the frame is shown).
    bool runFrame();

    int32_t getWidth() const { return mWidth; }
    int32_t getHeight() const { return mHeight; }

    //! Minimum length of a frame.
    static constexpr int32_t kFrameMs = 33;

private:
    int32_t mWidth = 0;
    int32_t mHeight = 0;
    int32_t mFramesPerSecond = 0;
    int32_t mFrameTimeMs = 0;
    float mAnimationPhase = 0.0f;
    int32_t mAnimationPhaseSet = 0;
    uint32_t mLastFrameTimeMs = 0;

    bool mStatisticsStarted = false;
    uint32_t mSampleStartMs = 0;
    int32_t mFrameCounter = 0;
    bool mPhaseStarted = false;
    uint32_t mPhaseStartMs = 0;
};

//! Milliseconds from a to b on a wrapping 32-bit clock, as a signed difference.
inline int32_t elapsedMs(uint32_t from, uint32_t to)
{
    return static_cast<int32_t>(to - from);
}

//! The process-wide system layer (the SDL implementation), created on first use.
cSystemWrapper& getSystemWrapper();

} // namespace qvr
