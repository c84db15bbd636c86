// Where a camera pass or a post-processing step draws: a texture through a framebuffer object,
// or the current framebuffer. A plain value; the renderer owns the GL objects behind its id.
#pragma once

#include "states/cTextureState.h"

namespace qvr {

//! Render target kinds.
enum eRenderTargetKind : int32_t {
    kTargetTexture = 1,  //!< a colour texture attached to a framebuffer object
    kTargetScreen = 2,   //!< the current framebuffer
};

struct cRenderTarget {
    int32_t kind = kTargetScreen;
    //! The colour texture: type, width, height and filter.
    cTextureState texture = renderTexture();
    //! Entry in the renderer's render target table; -1 until the renderer creates it.
    int32_t id = -1;

    static cTextureState renderTexture()
    {
        cTextureState t;
        t.setType(kTexture2D);
        t.setSource(kTextureFromRenderTarget);
        return t;
    }
};

} // namespace qvr
