// Overlay pages, values, the named value registry and the blink clock.
#include "scene/cOverlay.h"

#include <algorithm>
#include <map>
#include <sstream>

namespace qvr {

namespace {

std::map<std::string, cOverlayValue*>& registry()
{
    static std::map<std::string, cOverlayValue*> values;
    return values;
}

} // namespace

cOverlayPage* cOverlay::current()
{
    if (currentPage < 0 || static_cast<size_t>(currentPage) >= pages.size()) {
        return nullptr;
    }
    return &pages[static_cast<size_t>(currentPage)];
}

cOverlayItem& cOverlay::addItem(size_t page, int32_t kind)
{
    if (pages.size() <= page) {
        pages.resize(page + 1);
    }
    pages[page].push_back(std::make_unique<cOverlayItem>());
    pages[page].back()->kind = kind;
    return *pages[page].back();
}

void cBlinkClock::beginPass(uint32_t nowMs)
{
    if (!mStarted) {
        mStarted = true;
        mStartMs = nowMs;
    }
    mNowMs = nowMs;
    mFlipped = false;
}

bool cBlinkClock::visible(cOverlayItem& item)
{
    if (item.blinkPeriod <= 0) {
        return true;
    }
    const bool shown = item.blinkState;
    const auto elapsed = static_cast<int32_t>(mNowMs - mStartMs);
    item.blinkPhase = static_cast<float>(elapsed) / static_cast<float>(item.blinkPeriod);
    if (item.blinkPhase >= 1.0f) {
        item.blinkState = !item.blinkState;
        mFlipped = true;
    }
    return shown;
}

void cBlinkClock::endPass()
{
    if (mFlipped) {
        mStartMs = mNowMs;
        mFlipped = false;
    }
}

std::string overlayValueText(const cOverlayValue& value)
{
    if (value.type == 2) {
        return value.text;
    }
    std::ostringstream out;
    if (value.type == 0) {
        out << value.intValue;
    } else {
        out << value.floatValue;
    }
    return out.str();
}

float overlayBarFill(const cOverlayItem& item)
{
    if (!item.value || item.barMaximum <= 0) {
        return 0.0f;
    }
    const float fill = static_cast<float>(item.value->intValue) / static_cast<float>(item.barMaximum) * item.width;
    return std::clamp(fill, 0.0f, std::max(item.width, 0.0f));
}

bool overlayConditionHolds(const cOverlayItem& item, const std::string& vehicleText)
{
    if (!item.hasCondition) {
        return true;
    }
    if (item.conditionKind == 1) {
        return item.conditionText == vehicleText;
    }
    if (item.conditionKind == 2) {
        const cOverlayValue* selected = findValue("D_SELECTED_VEHICLE");
        return item.conditionText == (selected ? selected->text : std::string());
    }
    return false;
}

void registerValue(const std::string& name, cOverlayValue* value)
{
    registry()[name] = value;
}

cOverlayValue* findValue(const std::string& name)
{
    return registry()[name];
}

} // namespace qvr
