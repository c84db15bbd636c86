// The opening scene: a camera gliding over the water beside a winding street of 500 blocks, the
// title, two fades with view changes, and a snake of 5000 blocks moving under the camera.
#pragma once

#include "scene/cCameraNode.h"
#include "scene/cGeometryNode.h"

namespace demo {

struct cSnakeCityScene {
    qvr::cSpatialNode* water = nullptr;
    qvr::cGeometryNode* city = nullptr;
    qvr::cGeometryNode* snake = nullptr;
    qvr::cGeometryNode* titleQuad = nullptr;
    qvr::cGeometryNode* fadeQuad = nullptr;
    qvr::cCameraNode* camera = nullptr;
    //! "Box01" of the block file loaded last (building only).
    qvr::cGeometryNode* blockTemplate = nullptr;
    float clock = 0.0f;
    int32_t viewIndex = 0;
    bool cityMorphOn = false;
    int32_t cityTimer = 0;
    int32_t cityInterval = 200;
    float cityToSeed = 1.0f;
    float cityFromSeed = 0.0f;
    int32_t snakeTimer = 0;
    int32_t snakeInterval = 1200;
    float snakeToSeed = 1.0f;
    float snakeFromSeed = 0.0f;
};
cSnakeCityScene& snakeCityScene();

void buildSnakeCityScene();
//! The street: 500 copies of "Box01" of "oneblock.qvs", each placed by its "displace" value.
void buildCityBlocks();
//! The snake: 100 rows of 50 copies of "Box01" of "ablock.QVS".
void buildSnake();
//! Runs in [0, 39000) ms.
void updateSnakeCityScene();
void hideSnakeCityScene();

} // namespace demo
