// The show's GLSL: small modules for GL 2.1 (GLSL 1.20) that llvmpipe runs within budget, doing
// per vertex what the look allows. Uniform and attribute lines are written "uniform TYPE NAME;"
// exactly: the renderer reads those lines to find the names it uploads.
#include "content/shaderSources.h"

namespace qvr::content {

namespace {

// Shared helpers: the moon light, distance fog, world position from the eye.
const char* kLibVertex = R"(#version 120
uniform mat4 qvrCamInverse;
uniform vec3 qvrCamPos;
varying float vFog;
const vec3 kMoon = vec3(-0.45, 0.74, 0.5);
vec3 worldOf(vec4 eye)
{
    return (qvrCamInverse * eye).xyz;
}
float fogOf(vec4 eye, float density)
{
    return exp(-length(eye.xyz) * density);
}
)";

const char* kLibFragment = R"(#version 120
varying float vFog;
const vec3 kFogColour = vec3(0.02, 0.03, 0.065);
const vec3 kMoon = vec3(-0.45, 0.74, 0.5);
const vec3 kLantern = vec3(1.0, 0.66, 0.3);
vec3 fogged(vec3 c)
{
    return mix(kFogColour, c, clamp(vFog, 0.0, 1.0));
}
)";

// City blocks: each block stands on the water at its "displace" place; its height breathes with
// the seed morph, and its lit windows come from the facade picture.
const char* kBlocksVertex = R"(attribute vec3 normals;
attribute vec2 texCoord1;
attribute vec2 displace;
uniform float fromSeed;
uniform float toSeed;
uniform float seedT;
varying vec2 vUv;
varying float vLight;
varying float vRise;
void main()
{
    float seed = mix(fromSeed, toSeed, clamp(seedT, 0.0, 1.0));
    float wave = 0.5 + 0.5 * sin(seed * 2.0 + displace.x * 0.0131 + displace.y * 0.0077);
    float stretch = 0.6 + 1.8 * wave;
    vec4 p = gl_Vertex;
    p.y = (p.y + 300.0) * stretch - 30.0;
    p.xz += displace;
    vUv = vec2(texCoord1.x * 2.0, (1.0 - texCoord1.y) * stretch * 3.0);
    vRise = wave;
    vLight = 0.3 + 0.7 * max(dot(normalize(normals), kMoon), 0.0);
    vec4 eye = gl_ModelViewMatrix * p;
    vFog = fogOf(eye, 0.00007);
    gl_Position = gl_ProjectionMatrix * eye;
}
)";

const char* kBlocksFragment = R"(uniform sampler2D facade;
uniform sampler2D ramp;
uniform float anim;
varying vec2 vUv;
varying float vLight;
varying float vRise;
void main()
{
    vec3 wall = texture2D(facade, vUv).rgb;
    float windows = smoothstep(0.3, 0.6, wall.r - wall.b);
    vec3 tint = texture2D(ramp, vec2(0.2 + 0.45 * vRise, 0.5)).rgb;
    float flicker = 0.85 + 0.15 * sin(anim * 40.0 + vUv.y * 7.0);
    vec3 c = (0.25 + wall) * tint * vLight * 0.55 + windows * kLantern * flicker * 1.2;
    gl_FragColor = vec4(fogged(c), 1.0);
}
)";

// The snake: a carpet of small cubes lifted by a wave that travels with the seeds.
const char* kSnakeVertex = R"(attribute vec3 normals;
attribute vec2 displace;
uniform float fromSeed;
uniform float toSeed;
uniform float seedT;
varying float vLight;
varying float vHeat;
void main()
{
    float seed = mix(fromSeed, toSeed, clamp(seedT, 0.0, 1.0));
    float w = sin(displace.y * 0.021 + seed * 3.0) * cos(displace.x * 0.029 - seed);
    float lift = max(w, 0.0);
    vec4 p = vec4(gl_Vertex.xyz * vec3(8.0, 8.0 + 60.0 * lift, 8.0), 1.0);
    p.xz += displace;
    p.y += 80.0 * w;
    vHeat = 0.5 + 0.5 * w;
    vLight = 0.35 + 0.65 * max(dot(normalize(normals), kMoon), 0.0);
    vec4 eye = gl_ModelViewMatrix * p;
    vFog = fogOf(eye, 0.00008);
    gl_Position = gl_ProjectionMatrix * eye;
}
)";

const char* kSnakeFragment = R"(uniform float anim;
varying float vLight;
varying float vHeat;
void main()
{
    vec3 ember = mix(vec3(0.35, 0.05, 0.08), kLantern * 1.3, vHeat * vHeat);
    gl_FragColor = vec4(fogged(ember * vLight + kLantern * 0.4 * pow(vHeat, 6.0)), 1.0);
}
)";

// Water: the grid in the world, the screen position for the mirrored camera's picture.
const char* kWaterVertex = R"(varying vec2 vRipple;
varying vec4 vScreen;
varying vec3 vView;
void main()
{
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    vec3 world = worldOf(eye);
    vRipple = world.xz * 0.0016;
    vView = world - qvrCamPos;
    vFog = fogOf(eye, 0.00005);
    gl_Position = gl_ProjectionMatrix * eye;
    vScreen = gl_Position;
}
)";

// Reflecting water: the mirrored camera's picture, bent by two layers of ripples.
const char* kWaterFragment = R"(uniform sampler2D reflection;
uniform sampler2D ripples;
uniform float anim;
varying vec2 vRipple;
varying vec4 vScreen;
varying vec3 vView;
void main()
{
    vec2 a = texture2D(ripples, vRipple + vec2(0.05, 0.03) * anim).xy * 2.0 - 1.0;
    vec2 b = texture2D(ripples, vRipple * 2.7 - vec2(0.04, -0.06) * anim).xy * 2.0 - 1.0;
    vec2 bend = (a + b) * 0.012;
    vec2 s = vScreen.xy / vScreen.w * 0.5 + 0.5;
    vec3 mirror = texture2D(reflection, vec2(s.x, s.y) + bend).rgb;
    float facing = clamp(-normalize(vView).y, 0.0, 1.0);
    float fresnel = 0.3 + 0.7 * pow(1.0 - facing, 4.0);
    vec3 deep = vec3(0.012, 0.03, 0.05) + vec3(0.0, 0.02, 0.03) * (a.x + b.y);
    gl_FragColor = vec4(fogged(mix(deep, mirror * 0.9, fresnel)), 1.0);
}
)";

// Dark water without a mirror: the night's glow on its ripples.
const char* kDarkWaterFragment = R"(uniform sampler2D ripples;
uniform float anim;
varying vec2 vRipple;
varying vec4 vScreen;
varying vec3 vView;
void main()
{
    vec3 a = texture2D(ripples, vRipple + vec2(0.02, 0.013) * anim).xyz * 2.0 - 1.0;
    vec3 b = texture2D(ripples, vRipple * 3.1 - vec2(0.017, -0.02) * anim).xyz * 2.0 - 1.0;
    vec3 n = normalize(vec3(a.x + b.x, 2.5, a.y + b.y));
    vec3 v = normalize(vView);
    vec3 r = reflect(v, n);
    float facing = clamp(-v.y, 0.0, 1.0);
    float sheen = pow(max(dot(r, normalize(vec3(0.0, 0.25, -1.0))), 0.0), 24.0);
    vec3 sky = mix(vec3(0.1, 0.06, 0.1), vec3(0.01, 0.02, 0.05), clamp(r.y * 3.0, 0.0, 1.0));
    vec3 c = sky * (0.4 + 0.6 * pow(1.0 - facing, 3.0)) + kLantern * sheen * 0.5;
    gl_FragColor = vec4(fogged(c), 1.0);
}
)";

// The sculpture: a glossy surface whose skin ripples with "anim".
const char* kSculptureVertex = R"(attribute vec3 normals;
uniform float anim;
uniform vec3 posOff;
varying vec3 vNormal;
varying vec3 vView;
varying float vBand;
void main()
{
    vec3 n = normalize(normals);
    float ripple = sin(gl_Vertex.y * 0.025 + anim) * cos(gl_Vertex.x * 0.02 - anim * 0.7 + posOff.y * 0.001);
    vec4 eye = gl_ModelViewMatrix * vec4(gl_Vertex.xyz + n * ripple * 18.0, 1.0);
    vNormal = normalize((qvrCamInverse * vec4(gl_NormalMatrix * n, 0.0)).xyz);
    vView = normalize(worldOf(eye) - qvrCamPos);
    vBand = ripple;
    vFog = fogOf(eye, 0.00004);
    gl_Position = gl_ProjectionMatrix * eye;
}
)";

const char* kSculptureFragment = R"(uniform sampler2D ramp;
varying vec3 vNormal;
varying vec3 vView;
varying float vBand;
void main()
{
    vec3 n = normalize(vNormal);
    float diffuse = max(dot(n, kMoon), 0.0);
    float gloss = pow(max(dot(reflect(vView, n), kMoon), 0.0), 40.0);
    float rim = pow(1.0 - abs(dot(n, -vView)), 3.0);
    vec3 base = texture2D(ramp, vec2(0.35 + 0.3 * vBand, 0.5)).rgb;
    vec3 c = base * (0.15 + 0.85 * diffuse) + vec3(1.0, 0.95, 0.9) * gloss + vec3(0.3, 0.6, 0.9) * rim * 0.6;
    gl_FragColor = vec4(fogged(c), 1.0);
}
)";

// The tubes: grown up to "anim" along their length, a hot front where they grow.
const char* kTubeVertex = R"(attribute vec3 normals;
attribute vec2 texCoord1;
uniform float anim;
varying vec2 vUv;
varying float vGrowth;
varying float vLight;
void main()
{
    vec3 outward = -normalize(normals);
    vUv = texCoord1;
    vGrowth = anim;
    vLight = 0.3 + 0.7 * max(dot(outward, kMoon), 0.0);
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    vFog = fogOf(eye, 0.00006);
    gl_Position = gl_ProjectionMatrix * eye;
}
)";

const char* kTubeFragment = R"(uniform sampler2D ramp;
uniform float glow;
varying vec2 vUv;
varying float vGrowth;
varying float vLight;
void main()
{
    float ahead = vGrowth - vUv.y;
    if (ahead < 0.0) {
        discard;
    }
    float front = exp(-ahead * 0.05);
    float rings = 0.6 + 0.4 * sin(vUv.y * 0.6);
    vec3 skin = texture2D(ramp, vec2(0.3 + 0.4 * fract(vUv.y * 0.0007), 0.5)).rgb;
    vec3 c = skin * vLight * rings + kLantern * (front * 2.0 + glow);
    gl_FragColor = vec4(fogged(c), 1.0);
}
)";

// Point sprites: the ball cloud turning slowly, the particles on the ice tree.
const char* kCloudVertex = R"(uniform float anim;
varying float vTwinkle;
void main()
{
    float a = anim * 400.0 + gl_Vertex.y * 0.002;
    vec4 p = gl_Vertex;
    p.xz = mat2(cos(a), sin(a), -sin(a), cos(a)) * p.xz;
    vTwinkle = 0.6 + 0.4 * sin(gl_Vertex.x * 0.31 + gl_Vertex.z * 0.17 + anim * 9000.0);
    vec4 eye = gl_ModelViewMatrix * p;
    vFog = fogOf(eye, 0.00004);
    gl_Position = gl_ProjectionMatrix * eye;
}
)";

const char* kSpriteFragment = R"(uniform sampler2D sprite;
varying float vTwinkle;
void main()
{
    vec4 s = texture2D(sprite, gl_PointCoord);
    gl_FragColor = vec4(vec3(0.45, 0.7, 1.0) * s.rgb * vTwinkle, s.a * 0.22 * vFog);
}
)";

const char* kTreeParticleVertex = R"(uniform float anim;
uniform vec3 spherePos;
varying float vTwinkle;
void main()
{
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    vec3 world = worldOf(eye);
    float near = clamp(1.0 - length(world - spherePos) / 260.0, 0.0, 1.0);
    vTwinkle = 0.3 + 0.3 * sin(anim * 0.02 + gl_Vertex.x * 0.1 + gl_Vertex.y * 0.07) + near * 1.2;
    vFog = fogOf(eye, 0.00004);
    gl_Position = gl_ProjectionMatrix * eye;
}
)";

// Rain: streaks running down quads that stand still; "logoShow" lets the title shine through.
const char* kRainVertex = R"(attribute vec2 tex1;
uniform float anim;
varying vec2 vUv;
varying vec4 vScreen;
void main()
{
    vUv = tex1;
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    vFog = fogOf(eye, 0.0001);
    gl_Position = gl_ProjectionMatrix * eye;
    vScreen = gl_Position;
}
)";

const char* kRainFragment = R"(uniform sampler2D streak;
uniform sampler2D logo;
uniform float anim2;
uniform float logoShow;
varying vec2 vUv;
varying vec4 vScreen;
void main()
{
    float s = texture2D(streak, vec2(vUv.x, vUv.y * 2.0 + anim2)).a;
    vec2 screen = vScreen.xy / vScreen.w * 0.5 + 0.5;
    vec3 title = texture2D(logo, vec2(screen.x, 1.0 - screen.y)).rgb;
    vec3 c = vec3(0.5, 0.65, 0.9) + title * logoShow * 3.0;
    gl_FragColor = vec4(c, s * 0.35 * vFog);
}
)";

// Ice: translucent, pushed away where the wandering sphere passes.
const char* kIceVertex = R"(attribute vec3 normals;
uniform vec3 spherePos;
varying vec3 vNormal;
varying vec3 vView;
varying float vPush;
void main()
{
    vec4 p = gl_Vertex;
    vec3 away = p.xyz - spherePos;
    float d = length(away);
    vPush = clamp(1.0 - d / 180.0, 0.0, 1.0);
    p.xyz += away / max(d, 1.0) * vPush * 60.0;
    vec4 eye = gl_ModelViewMatrix * p;
    vNormal = normalize((qvrCamInverse * vec4(gl_NormalMatrix * normalize(normals), 0.0)).xyz);
    vView = normalize(worldOf(eye) - qvrCamPos);
    vFog = fogOf(eye, 0.00004);
    gl_Position = gl_ProjectionMatrix * eye;
}
)";

const char* kIceFragment = R"(uniform sampler2D ramp;
varying vec3 vNormal;
varying vec3 vView;
varying float vPush;
void main()
{
    vec3 n = normalize(vNormal);
    float edge = pow(1.0 - abs(dot(n, -vView)), 2.0);
    float gloss = pow(max(dot(reflect(vView, n), kMoon), 0.0), 30.0);
    vec3 body = texture2D(ramp, vec2(0.4 + 0.5 * edge, 0.5)).rgb;
    vec3 c = body * (0.35 + 0.65 * edge) + vec3(gloss) + vec3(0.5, 0.8, 1.0) * vPush;
    gl_FragColor = vec4(fogged(c), 0.55 + 0.45 * edge);
}
)";

// The corridor: dark stone walls with lamps in rings along the way.
const char* kCorridorVertex = R"(attribute vec3 normals;
attribute vec2 texCoord1;
varying vec2 vUv;
varying float vLight;
void main()
{
    vUv = texCoord1;
    vLight = 0.35 + 0.65 * abs(dot(normalize(normals), vec3(0.0, 1.0, 0.0)));
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    vFog = fogOf(eye, 0.012);
    gl_Position = gl_ProjectionMatrix * eye;
}
)";

const char* kCorridorFragment = R"(uniform sampler2D stone;
uniform sampler2D ramp;
uniform float anim2;
varying vec2 vUv;
varying float vLight;
void main()
{
    vec3 grain = texture2D(stone, vec2(vUv.x * 2.0, vUv.y * 300.0)).rgb;
    float ring = pow(max(cos(vUv.y * 6.2831853 * 90.0), 0.0), 30.0);
    float strip = smoothstep(0.55, 0.6, vUv.x) * smoothstep(0.68, 0.63, vUv.x);
    vec3 wall = texture2D(ramp, vec2(0.15 + 0.3 * grain.g, 0.5)).rgb * vLight;
    vec3 c = wall * 0.6 + kLantern * (ring * 1.4 + strip * (0.5 + 0.5 * sin(vUv.y * 400.0 - anim2 * 2000.0)));
    gl_FragColor = vec4(fogged(c), 1.0);
}
)";

const char* kChannelFragment = R"(uniform sampler2D ripples;
uniform float anim;
varying vec2 vUv;
varying float vLight;
void main()
{
    vec3 a = texture2D(ripples, vec2(vUv.x * 2.0, vUv.y * 180.0 - anim * 0.02)).xyz;
    vec3 b = texture2D(ripples, vec2(vUv.x * 3.0 + 0.3, vUv.y * 260.0 - anim * 0.035)).xyz;
    float glint = pow(max(a.x * b.y, 0.0), 6.0);
    vec3 c = vec3(0.02, 0.12, 0.16) + vec3(0.3, 0.7, 0.8) * glint * 2.0;
    gl_FragColor = vec4(fogged(c), 0.85);
}
)";

// Splashes and falling water: bright, additive, moving with their "anim".
const char* kSplashVertex = R"(attribute vec2 tex1;
uniform float anim;
varying vec2 vUv;
varying float vPulse;
void main()
{
    vUv = tex1;
    vPulse = 0.5 + 0.5 * sin(anim * 3.0 + gl_Vertex.x * 0.7 + gl_Vertex.z * 0.9);
    vec4 p = gl_Vertex;
    p.y += vPulse * 0.8;
    vec4 eye = gl_ModelViewMatrix * p;
    vFog = fogOf(eye, 0.012);
    gl_Position = gl_ProjectionMatrix * eye;
}
)";

const char* kSplashFragment = R"(uniform sampler2D ring;
varying vec2 vUv;
varying float vPulse;
void main()
{
    vec4 s = texture2D(ring, vUv);
    gl_FragColor = vec4(vec3(0.6, 0.85, 1.0) * s.rgb, s.a * (0.3 + 0.5 * vPulse) * vFog);
}
)";

const char* kCreakVertex = R"(attribute vec2 tex1;
varying vec2 vUv;
void main()
{
    vUv = tex1;
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    vFog = fogOf(eye, 0.012);
    gl_Position = gl_ProjectionMatrix * eye;
}
)";

const char* kCreakFragment = R"(uniform sampler2D streak;
uniform float anim2;
varying vec2 vUv;
void main()
{
    float s = texture2D(streak, vec2(vUv.x, vUv.y * 3.0 + anim2 * 0.1)).a;
    float edge = sin(vUv.x * 3.1415927);
    gl_FragColor = vec4(vec3(0.55, 0.8, 1.0), s * edge * 0.6 * vFog);
}
)";

// The greeting's letters: brushed metal lit by the corridor lamps.
const char* kLetterVertex = R"(attribute vec3 normals;
attribute vec2 texCoord1;
varying vec2 vUv;
varying float vLight;
void main()
{
    vUv = texCoord1;
    vec3 n = normalize(gl_NormalMatrix * normalize(normals));
    vLight = 0.45 + 0.55 * abs(n.z);
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    vFog = fogOf(eye, 0.008);
    gl_Position = gl_ProjectionMatrix * eye;
}
)";

const char* kLetterFragment = R"(uniform sampler2D surface;
varying vec2 vUv;
varying float vLight;
void main()
{
    vec3 metal = texture2D(surface, vUv).rgb;
    gl_FragColor = vec4(fogged(mix(metal * 0.6, kLantern, 0.35) * vLight), 1.0);
}
)";

// The title city: blocks show their glyph cell, appear as the growth reaches them, fly apart.
const char* kTitleBlocksVertex = R"(attribute vec3 normals;
attribute vec2 texCoord1;
attribute vec3 displace;
uniform float blowup;
varying vec2 vUv;
varying float vLight;
void main()
{
    vUv = texCoord1;
    float spin = fract(sin(dot(displace, vec3(12.9898, 78.233, 37.719))) * 43758.5453);
    vec3 spread = normalize(displace - vec3(1400.0, 1500.0, 0.0) + vec3(0.0, 1.0, 0.0));
    vec4 p = vec4(gl_Vertex.xyz + displace + spread * blowup * (0.5 + spin) * 6.0, 1.0);
    p.y += blowup * blowup * 0.004 * (spin - 0.3);
    vLight = 0.35 + 0.65 * max(dot(normalize(normals), kMoon), 0.0);
    vec4 eye = gl_ModelViewMatrix * p;
    vFog = fogOf(eye, 0.00004);
    gl_Position = gl_ProjectionMatrix * eye;
}
)";

const char* kTitleBlocksFragment = R"(uniform sampler2D glyphs;
uniform sampler2D ramp;
uniform float anim;
varying vec2 vUv;
varying float vLight;
void main()
{
    // A block's faces carry its place in the growth as the whole part of v.
    float order = floor(vUv.y);
    if (order > anim) {
        discard;
    }
    vec4 glyph = texture2D(glyphs, vec2(vUv.x, 1.0 - fract(vUv.y)));
    vec3 stone = texture2D(ramp, vec2(0.2 + 0.5 * fract(order * 0.013), 0.5)).rgb * vLight;
    float fresh = exp(-(anim - order) * 0.08);
    vec3 c = mix(stone, kLantern * 1.4, glyph.a * glyph.r) + kLantern * fresh * 0.8;
    gl_FragColor = vec4(fogged(c), 1.0);
}
)";

// The racing track of the track editor: asphalt lit by the moon from either side, red and white
// kerbs on the raised edges, a dashed lantern line down the middle.
const char* kTrackVertex = R"(attribute vec3 normals;
attribute vec2 texCoord1;
varying vec3 vNormal;
varying vec2 vUv;
void main()
{
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    vNormal = normalize((qvrCamInverse * vec4(gl_NormalMatrix * normals, 0.0)).xyz);
    vUv = texCoord1;
    vFog = fogOf(eye, 0.00002);
    gl_Position = gl_ProjectionMatrix * eye;
}
)";

const char* kTrackFragment = R"(varying vec3 vNormal;
varying vec2 vUv;
void main()
{
    float light = 0.45 + 0.55 * abs(dot(normalize(vNormal), kMoon));
    float across = fract(vUv.x);
    float kerb = step(across, 0.333) + step(0.667, across);
    vec3 kerbColour = mix(vec3(0.85, 0.18, 0.13), vec3(0.95), step(0.5, fract(vUv.y * 60.0)));
    float centre = (1.0 - step(0.008, abs(across - 0.5))) * step(0.5, fract(vUv.y * 90.0));
    vec3 c = mix(vec3(0.3, 0.31, 0.35), kerbColour, min(kerb, 1.0));
    c = mix(c, kLantern, centre);
    gl_FragColor = vec4(fogged(c * light), 1.0);
}
)";

} // namespace

const std::map<std::string, std::string>& shaderModules()
{
    static const std::map<std::string, std::string> modules = {
        {"lib_v", kLibVertex},
        {"lib_f", kLibFragment},
        // Full-screen quads: the overlay's corners are already in clip space.
        // A mirrored camera (the water's) draws with a model-view of negative determinant: the
        // overlays are pictures on the screen, not things in the world, so they stay out of it.
        {"overlay_v", R"(#version 120
attribute vec2 tex1;
varying vec2 uv;
void main()
{
    uv = vec2(tex1.x, 1.0 - tex1.y);
    mat4 m = gl_ModelViewMatrix;
    float turn = dot(m[0].xyz, cross(m[1].xyz, m[2].xyz));
    float mirrored = 1.0 - step(0.0, turn);
    gl_Position = vec4(gl_Vertex.xy + vec2(mirrored * 4.0), 0.0, 1.0);
}
)"},
        {"overlay_f", R"(uniform sampler2D picture;
uniform float fadeToColor;
varying vec2 uv;
void main()
{
    vec4 c = texture2D(picture, uv);
    gl_FragColor = vec4(c.rgb, c.a * clamp(fadeToColor, 0.0, 1.0));
}
)"},
        {"tocolor_f", R"(uniform float fadeToColor;
void main()
{
    gl_FragColor = vec4(0.98, 0.91, 0.76, clamp(fadeToColor, 0.0, 1.0));
}
)"},
        // Post-processing: quads of the 2D space, texture coordinates 0..1 over the target.
        {"post_v", R"(varying vec2 uv;
void main()
{
    uv = gl_MultiTexCoord0.xy;
    gl_Position = ftransform();
}
)"},
        {"blurv_f", R"(uniform sampler2D source;
varying vec2 uv;
void main()
{
    vec2 a = vec2(0.0, 1.3846 / 128.0);
    vec2 b = vec2(0.0, 3.2308 / 128.0);
    vec4 s = texture2D(source, uv) * 0.2270;
    s += (texture2D(source, uv + a) + texture2D(source, uv - a)) * 0.3162;
    s += (texture2D(source, uv + b) + texture2D(source, uv - b)) * 0.0703;
    gl_FragColor = s;
}
)"},
        {"blurh_f", R"(uniform sampler2D source;
varying vec2 uv;
void main()
{
    vec2 a = vec2(1.3846 / 128.0, 0.0);
    vec2 b = vec2(3.2308 / 128.0, 0.0);
    vec4 s = texture2D(source, uv) * 0.2270;
    s += (texture2D(source, uv + a) + texture2D(source, uv - a)) * 0.3162;
    s += (texture2D(source, uv + b) + texture2D(source, uv - b)) * 0.0703;
    gl_FragColor = s;
}
)"},
        // The bloom: only what is bright in the blurred glow image is added to the screen.
        {"composite_f", R"(uniform sampler2D glow;
varying vec2 uv;
void main()
{
    vec3 g = texture2D(glow, uv).rgb;
    vec3 bright = max(g - vec3(0.45), vec3(0.0)) * 1.4;
    gl_FragColor = vec4(bright, 1.0);
}
)"},
        {"blocks_v", kBlocksVertex},
        {"blocks_f", kBlocksFragment},
        {"snake_v", kSnakeVertex},
        {"snake_f", kSnakeFragment},
        {"water_v", kWaterVertex},
        {"water_f", kWaterFragment},
        {"darkwater_f", kDarkWaterFragment},
        {"sculpture_v", kSculptureVertex},
        {"sculpture_f", kSculptureFragment},
        {"tube_v", kTubeVertex},
        {"tube_f", kTubeFragment},
        {"cloud_v", kCloudVertex},
        {"sprite_f", kSpriteFragment},
        {"treeparticle_v", kTreeParticleVertex},
        {"rain_v", kRainVertex},
        {"rain_f", kRainFragment},
        {"ice_v", kIceVertex},
        {"ice_f", kIceFragment},
        {"corridor_v", kCorridorVertex},
        {"corridor_f", kCorridorFragment},
        {"channel_f", kChannelFragment},
        {"splash_v", kSplashVertex},
        {"splash_f", kSplashFragment},
        {"creak_v", kCreakVertex},
        {"creak_f", kCreakFragment},
        {"letter_v", kLetterVertex},
        {"letter_f", kLetterFragment},
        {"titleblocks_v", kTitleBlocksVertex},
        {"titleblocks_f", kTitleBlocksFragment},
        {"track_v", kTrackVertex},
        {"track_f", kTrackFragment},
    };
    return modules;
}

} // namespace qvr::content
