// The uniform and attribute declarations the renderer reads from GLSL module lines, without GL.
#pragma once

#include <string>

namespace qvr {

enum class eDeclaration { kNone, kUniform, kAttribute };

//! What one source line declares: its first word "uniform" or "attribute", then the name taken
//! as the text after the type and one character, up to the next ';'. name is left alone for
//! kNone.
eDeclaration parseDeclaration(const std::string& line, std::string& name);

//! Whether GL can know a declared name as written: an identifier, optionally with an array size
//! ("qvrNoisePg[64]"). A blank, tab, comma or precision word in the declaration breaks it.
bool isPlainGlslName(const std::string& name);

} // namespace qvr
