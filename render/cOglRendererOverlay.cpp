// The OpenGL renderer's 2D overlay: fonts, the loading page, overlay items, the message console,
// and the key markers of a track node being edited.
#include "render/cOglRenderer.h"

#include "core/cSystemWrapper.h"
#include "scene/cTrackNode.h"

namespace qvr {

namespace {

constexpr size_t kLoadingPage = 5;

// A quad from (x0, y0) to (x1, y1) with texture coordinates (0, 0), (1, 0), (1, 1), (0, 1).
void flatQuad(float x0, float y0, float x1, float y1)
{
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(x0, y0);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(x1, y0);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(x1, y1);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(x0, y1);
    glEnd();
}

} // namespace

cOglRenderer::~cOglRenderer()
{
    if (findValue("timeUpdate") == &mTimeValue) {
        registerValue("timeUpdate", nullptr);
    }
}

cSystemWrapper& cOglRenderer::system()
{
    return mSystem ? *mSystem : getSystemWrapper();
}

void cOglRenderer::initOverlay(cScenegraph& scenegraph)
{
    loadFontCollection(mFonts, "Assets/Fonts/fontCollection.txt");
    registerValue("timeUpdate", &mTimeValue);
    cOverlay& overlay = scenegraph.getOverlay();
    // The loading page needs its first item; without it there is nothing to show meanwhile.
    if (overlay.pages.size() > kLoadingPage && !overlay.pages[kLoadingPage].empty() &&
        overlay.pages[kLoadingPage][0]) {
        drawLoadingPage(scenegraph);
    }
    for (cOverlayPage& page : overlay.pages) {
        for (size_t i = 0; i < page.size(); ++i) {
            cOverlayItem* item = page[i].get();
            if (i != kLoadingPage && item && item->prepareMarker != -1 && item->material) {
                prepareMaterial(*item->material, nullptr);
            }
        }
    }
}

void cOglRenderer::drawLoadingPage(cScenegraph& scenegraph)
{
    cOverlay& overlay = scenegraph.getOverlay();
    if (cMaterial* material = overlay.pages[kLoadingPage][0]->material) {
        prepareMaterial(*material, nullptr);
    }
    overlay.currentPage = static_cast<int32_t>(kLoadingPage);
    system().present();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawOverlay(scenegraph);
    system().present();
}

void cOglRenderer::drawOverlay(cScenegraph& scenegraph)
{
    cOverlayPage* page = scenegraph.getOverlay().current();
    if (!page) {
        return;
    }
    begin2D();
    if (!page->empty()) {
        glUseProgram(0);
        for (int unit = 7; unit >= 0; --unit) {
            glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + unit));
            glDisable(GL_TEXTURE_2D);
        }
    }
    mBlinkClock.beginPass(system().getTimeMs());
    for (const std::unique_ptr<cOverlayItem>& item : *page) {
        if (item) {
            drawOverlayItem(*item);
        }
    }
    mBlinkClock.endPass();
    if (mConsoleVisible) {
        glColor4f(1.0f, 0.4f, 0.4f, 1.0f);
        for (int i = 9; i >= 0; --i) {
            drawText(&mConsole.font, 10.0f, 200.0f + 14.0f * static_cast<float>(i),
                     mConsole.lines[static_cast<size_t>(i)]);
        }
    }
    end2D();
}

void cOglRenderer::drawOverlayItem(cOverlayItem& item)
{
    const bool blinkVisible = mBlinkClock.visible(item);
    if (!blinkVisible || !overlayConditionHolds(item, std::string())) {
        return;
    }
    glColor4f(item.colour.x, item.colour.y, item.colour.z, 1.0f);
    if (item.kind == kOverlayText && item.value) {
        if (item.fontIndex >= 0 && static_cast<size_t>(item.fontIndex) < mFonts.size()) {
            drawText(mFonts[static_cast<size_t>(item.fontIndex)].get(), item.x, item.y, overlayValueText(*item.value));
        }
    } else if (item.kind == kOverlayImage) {
        glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT | GL_TRANSFORM_BIT);
        if (item.material) {
            if (!item.materialPrepared) {
                prepareMaterial(*item.material, nullptr);
                item.materialPrepared = true;
            }
            applyMaterial(item.material, 0.0f);
        }
        glBegin(GL_QUADS);
        glTexCoord2f(0.0f, 1.0f);
        glVertex2f(item.x, item.y);
        glTexCoord2f(1.0f, 1.0f);
        glVertex2f(item.x + item.width, item.y);
        glTexCoord2f(1.0f, 0.0f);
        glVertex2f(item.x + item.width, item.y + item.height);
        glTexCoord2f(0.0f, 0.0f);
        glVertex2f(item.x, item.y + item.height);
        glEnd();
        glPopAttrib();
        glUseProgram(0);
    } else if (item.kind == kOverlayBar && item.value) {
        const float fill = overlayBarFill(item);
        glColor4f(item.background.x, item.background.y, item.background.z, 1.0f);
        flatQuad(item.x, item.y, item.x + item.width, item.y + item.height);
        glColor4f(item.colour.x, item.colour.y, item.colour.z, 1.0f);
        flatQuad(item.x, item.y, item.x + fill, item.y + item.height);
    }
}

void cOglRenderer::drawTrackEditor(cTrackNode* track)
{
    glDisable(GL_TEXTURE_2D);
    glColor3f(1.0f, 1.0f, 1.0f);
    glUseProgram(0);
    std::vector<cVec3f> markers;
    const bool regenerated = track->drawEditor(markers);
    glBegin(GL_LINES);
    for (const cVec3f& m : markers) {
        glVertex3f(m.x, m.y - track->markerSize, m.z);
        glVertex3f(m.x, m.y + track->markerSize, m.z);
    }
    glEnd();
    if (regenerated && track->getSurface()) {
        refreshVertexBuffers(track->getSurface());
    }
}

void cOglRenderer::refreshVertexBuffers(cGeometryNode* node)
{
    cSpatialNode::cMaterialList* materials = node->getEffectiveMaterials();
    const cPrimitiveState state = materials && !materials->empty() ? (*materials)[0].getPrimitiveState()
                                                                   : cPrimitiveState();
    const int32_t slot = node->getVertexBufferSlot();
    releaseVertexBuffers(node, state);
    createVertexBuffers(state, node);
    const int32_t created = node->getVertexBufferSlot();
    // The new set goes back into the old slot, so repeated drags do not grow the table.
    if (slot >= 0 && created >= 0 && created != slot &&
        static_cast<size_t>(created) + 1 == mVertexBuffers.size()) {
        mVertexBuffers[static_cast<size_t>(slot)] = mVertexBuffers.back();
        mVertexBuffers.pop_back();
        node->setVertexBufferSlot(slot);
    }
}

} // namespace qvr
