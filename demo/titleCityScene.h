// The closing scene: a branching city of block chains grown from one chain that spells the title,
// a camera travelling along the title and then circling, the blocks blowing apart at the end and
// the closing picture.
#pragma once

#include "math/cLinearController.h"
#include "scene/cGeometryNode.h"

#include <string>
#include <vector>

namespace demo {

constexpr float kTitleBlockSize = 140.0f;
constexpr int32_t kTitleDeepestLevel = 5;
constexpr int32_t kGlyphColumns = 66;

//! The title the root chain spells.
extern const std::string kTitle;

struct cTitleCityScene {
    qvr::cSpatialNode* water = nullptr;
    qvr::cGeometryNode* blocks = nullptr;
    qvr::cGeometryNode* blockTemplate = nullptr;
    qvr::cGeometryNode* fadeQuad = nullptr;
    qvr::cGeometryNode* picture38 = nullptr;
    std::vector<qvr::cVec3f> endPoints;
    qvr::cLinearController endPath;
    float lastDistance = 0.0f;
    float clock = 0.0f;
    int32_t step = 0;
    int32_t stepTimer = 0;
    int32_t blowTimer = 0;
};
cTitleCityScene& titleCityScene();

void buildTitleCityScene();
void buildTitleCityBlocks();
//! Lays one chain of blocks from start along direction and recurses into three children from its
//! end; blocks below y = 0 are left out.
void buildTitleBlocks(float distance, int32_t level, int32_t vertical, const qvr::cVec3f& direction,
                      const qvr::cVec3f& start, int32_t length, bool markEnd);
//! Runs in [163924, 184000) ms.
void updateTitleCityScene();
void hideTitleCityScene();

} // namespace demo
