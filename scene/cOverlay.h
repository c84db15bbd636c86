// The 2D overlay the renderer draws over every frame: pages of items (text, image, bar) in the
// 800 x 600 overlay space, the values they show, the named value registry and the blink clock.
// It holds no GL objects; drawing is the renderer's.
#pragma once

#include "math/cVec3f.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qvr {

class cMaterial;

//! What an overlay item shows. type 0 integer, 2 text, anything else float.
struct cOverlayValue {
    int32_t type = 1;
    float floatValue = 0.0f;
    int32_t intValue = 0;
    std::string text;
};

enum eOverlayItemKind : int32_t {
    kOverlayText = 0,
    kOverlayImage = 1,
    kOverlayBar = 2,
};

struct cOverlayItem {
    int32_t kind = kOverlayText;
    //! Not owned; what a text shows, the current amount of a bar.
    cOverlayValue* value = nullptr;
    //! Bottom-left corner.
    float x = 0.0f;
    float y = 0.0f;
    //! Text colour, image tint, bar foreground.
    cVec3f colour{1.0f, 1.0f, 1.0f};
    cVec3f background{0.0f, 0.0f, 0.0f};
    float width = 0.0f;
    float height = 0.0f;
    //! Not owned; may be null.
    cMaterial* material = nullptr;
    bool materialPrepared = false;
    //! Milliseconds; 0 or less does not blink.
    int32_t blinkPeriod = 0;
    float blinkPhase = 0.0f;
    //! Visibility while blinking.
    bool blinkState = true;
    int32_t barMaximum = 0;
    int32_t fontIndex = 0;
    bool hasCondition = false;
    //! 1: the current vehicle's text; 2: the text of the value "D_SELECTED_VEHICLE".
    int32_t conditionKind = 0;
    std::string conditionText;
    //! -1: initOverlay leaves the material unprepared.
    int32_t prepareMarker = 0;
};

using cOverlayPage = std::vector<std::unique_ptr<cOverlayItem>>;

//! The pages and the current page; a current index outside the pages means no page.
struct cOverlay {
    std::vector<cOverlayPage> pages;
    int32_t currentPage = 0;

    //! The current page; null when there is none.
    cOverlayPage* current();
    //! Appends an item to page (created when missing) and returns it.
    cOverlayItem& addItem(size_t page, int32_t kind);
};

//! The shared clock of every blinking item: started at its first use, restarted when an item's
//! period runs out. Each pass over a page samples it once, so items of the same period flip
//! together.
class cBlinkClock {
public:
    //! Starts a pass at nowMs (the clock starts at the first pass).
    void beginPass(uint32_t nowMs);
    //! Whether item is visible in this pass; advances its phase and flips its state when the
    //! period has run out.
    bool visible(cOverlayItem& item);
    //! Ends the pass: the clock restarts when any item flipped.
    void endPass();
    void reset() { mStarted = false; }

private:
    bool mStarted = false;
    bool mFlipped = false;
    uint32_t mStartMs = 0;
    uint32_t mNowMs = 0;
};

//! The text a text item shows: the value's text, or its integer or float as the standard stream
//! output writes it.
std::string overlayValueText(const cOverlayValue& value);
//! Foreground width of a bar: value / maximum of the width, within 0..width; 0 without a maximum.
float overlayBarFill(const cOverlayItem& item);
//! Whether the item's condition holds (true without one). vehicleText is the current vehicle's.
bool overlayConditionHolds(const cOverlayItem& item, const std::string& vehicleText);

//! Registers a value under name (not owned; it must outlive its readers).
void registerValue(const std::string& name, cOverlayValue* value);
//! The value registered under name; null (and an empty entry) for a name never registered.
cOverlayValue* findValue(const std::string& name);

} // namespace qvr
