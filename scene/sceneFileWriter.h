// Writes scene files (".QVS") in the form loadScene reads, text or binary.
#pragma once

#include "scene/cSpatialNode.h"

#include <ostream>

namespace qvr {

//! Writes every node below top (top itself excluded) in pre-order as one group: geometry nodes as
//! "mesh" records with their positions, vec2 and vec3 attributes and triangles, other nodes as
//! "spatial". Children of top get parent id -1, the others their parent's id, so ids below top
//! should be unique. vec4 attributes have no place in the file and are left out. Returns whether
//! the stream is still good.
bool writeScene(std::ostream& out, const cSpatialNode& top, bool binary);

} // namespace qvr
