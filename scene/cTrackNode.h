// Track node: a closed racing-track surface generated from four curves along the track into its
// "genTrack" child, and a mouse-driven editor for the curves' keys. It makes no GL calls: the
// renderer draws the surface like any mesh and the editor's key markers from drawEditor's list.
#pragma once

#include "scene/cGeometryNode.h"
#include "math/cTcbController.h"

#include <array>
#include <istream>
#include <ostream>
#include <string>

namespace qvr {

struct cMouseState;

class cTrackNode : public cSpatialNode {
public:
    static constexpr int32_t kRows = 220;
    static constexpr int32_t kColumns = 41;
    static constexpr int32_t kCurves = 4;

    //! Named "Track"; the surface is attached by the scene graph's createTrackNode.
    explicit cTrackNode(cScenegraph* scenegraph = nullptr);

    int32_t getType() const override { return kNodeTrack; }

    //! Rebuilds the surface from the curves: 220 rows of 41 vertices with "normals", "texCoord1"
    //! and "tangent", closed along the track. A curve without keys leaves the surface empty and
    //! says so on standard error; returns whether a surface was made.
    bool generateSurface();

    //! One editor frame with the process-wide mouse state; see editorFrame.
    bool drawEditor(std::vector<cVec3f>& markers);
    //! While editing: appends every key's position to markers, picks the key under the mouse when
    //! the button goes down, drags the picked key (5 units per pixel along the camera's horizontal
    //! screen axis, and down the world y axis as the mouse goes down) and regenerates the surface.
    //! Releasing the button drops the key. Returns whether the surface was regenerated. With
    //! editing off: nothing, false.
    bool editorFrame(const cMouseState& mouse, std::vector<cVec3f>& markers);

    cTcbController& getCurve(int32_t index) { return mCurves[static_cast<size_t>(index)]; }
    const cTcbController& getCurve(int32_t index) const { return mCurves[static_cast<size_t>(index)]; }
    //! Replaces the curves with the four controllers of a controller list (format 0, four TCB
    //! controllers). false, with the curves unchanged and a line on standard error naming name,
    //! when the text is not that.
    bool readCurves(std::istream& in, const std::string& name);
    //! Writes the curves as a controller list readCurves reads back.
    bool writeCurves(std::ostream& out) const;

    cGeometryNode* getSurface() const { return mSurface; }
    void setSurface(cGeometryNode* surface) { mSurface = surface; }

    float markerSize = 40.0f;
    int32_t selectedCurve = -1;
    uint16_t selectedKey = 0;
    bool editing = false;
    int32_t uScale = 1;
    int32_t vScale = 1;

private:
    void pickKeys(const cMouseState& mouse, std::vector<cVec3f>& markers);
    bool dragSelected(const cMouseState& mouse);

    std::array<cTcbController, kCurves> mCurves;
    cGeometryNode* mSurface = nullptr;
    bool mButtonWasDown = false;
    int32_t mDragX = 0;
    int32_t mDragY = 0;
};

} // namespace qvr
