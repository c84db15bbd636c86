// The files the content generator writes into the run directory.
#pragma once

#include <string>
#include <vector>

namespace qvr::content {

//! Where templates and glyphs sit: far below the water, out of every camera's reach.
constexpr float kHiddenDepth = -200000.0f;

//! Writes the mesh files under root ("Assets/...QVS"). False when a file cannot be written.
bool writeMeshFiles(const std::string& root);

//! One picture of the resource list.
struct cPictureEntry {
    std::string path;     //!< relative to the run directory
    std::string purpose;
};

//! Writes every picture under root, in resource-list order.
bool writePictures(const std::string& root, std::vector<cPictureEntry>& written);

//! Writes "Assets/Data/resources.dat", "Assets/Data/cont.txt", the font list and its font files.
bool writeDataFiles(const std::string& root, const std::vector<cPictureEntry>& pictures);

//! Writes the material files ("Assets/Mat/*.mat") and their GLSL modules ("Assets/Shaders/").
bool writeMaterials(const std::string& root);

//! The resource indices the scenes name for their overlay pictures.
constexpr int kSculptureOverlayIndex = 34;
constexpr int kFirstCreditIndex = 35;
constexpr int kClosingOverlayIndex = 38;
//! Cells of the title city's glyph strip, from the space character on.
constexpr int kGlyphStripCells = 66;

} // namespace qvr::content
