// Animatable values: a constant, or a reference by index into a list of controllers.
#pragma once

#include "math/cBaseController.h"
#include "math/cVec3f.h"

#include <cstdint>
#include <vector>

namespace qvr {

//! A list of controllers that animatable values refer to by index (not owned by them).
using cControllerList = std::vector<cBaseController*>;

//! Truncates a float to a controller index; values that are not finite or do not fit an int32
//! give -1 (no controller).
int32_t toControllerIndex(float value);

class cAnimatableObject {
public:
    virtual ~cAnimatableObject() = default;
    virtual int32_t idleHook() { return 0; }

    //! Binds to a controller list (not owned; null for none).
    void setControllerList(const cControllerList* list) { mControllers = list; }
    const cControllerList* getControllerList() const { return mControllers; }
    void setControllerIndex(int32_t index) { mControllerIndex = index; }
    int32_t getControllerIndex() const { return mControllerIndex; }
    //! With the flag set, setValue also selects the controller.
    void setAnimated(bool animated) { mAnimated = animated ? 1 : 0; }
    bool isAnimated() const { return mAnimated != 0; }

    //! Bound to a list with an index of 0 or more (the index may still be past the list's end).
    bool refersToController() const { return mControllers && mControllerIndex >= 0; }

protected:
    //! The controller at the index, or null when unbound or the index is outside the list.
    const cBaseController* controller() const;

    const cControllerList* mControllers = nullptr;
    int32_t mControllerIndex = -1;
    uint8_t mAnimated = 0;
};

class cAnimatableFloat : public cAnimatableObject {
public:
    cAnimatableFloat() = default;
    explicit cAnimatableFloat(float constant) : mConstant(constant) {}

    //! The end of the link chain, evaluated: the controller's component 1 (x), 2 (y) or 3 (z) at
    //! time when it has a valid controller, otherwise its constant.
    float evaluate(float time) const;
    //! Sets the constant; when animated, also the controller index (v truncated).
    void setValue(float v);

    float getConstant() const { return mConstant; }
    void setConstant(float constant) { mConstant = constant; }
    void setComponent(int32_t component) { mComponent = component; }
    int32_t getComponent() const { return mComponent; }
    //! Makes this value follow another one (not owned; null for none).
    void setLink(const cAnimatableFloat* link) { mLink = link; }

private:
    float mConstant = 0.0f;
    int32_t mComponent = 1;
    const cAnimatableFloat* mLink = nullptr;
};

class cAnimatableVec3f : public cAnimatableObject {
public:
    cAnimatableVec3f() = default;
    explicit cAnimatableVec3f(const cVec3f& constant) : mConstant(constant) {}

    //! The link's value when linked, else the controller's value at time when it has a valid
    //! controller, else the constant.
    cVec3f evaluate(float time) const;
    //! Sets the constant; when animated, also the controller index (x truncated).
    void setValue(float x, float y, float z);

    const cVec3f& getConstant() const { return mConstant; }
    void setConstant(const cVec3f& constant) { mConstant = constant; }
    void setLink(const cAnimatableVec3f* link) { mLink = link; }

private:
    const cAnimatableVec3f* mLink = nullptr;
    cVec3f mConstant;
};

} // namespace qvr
