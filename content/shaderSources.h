// The GLSL modules of the show, by module name; each is written to "Assets/Shaders/<name>.glsl".
// A program's first vertex and first fragment module is "lib_v" / "lib_f" (they hold the version
// line and the shared helpers) unless it is a full-screen quad's.
#pragma once

#include <map>
#include <string>

namespace qvr::content {

const std::map<std::string, std::string>& shaderModules();

} // namespace qvr::content
