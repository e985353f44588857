#version 110
// Night-city lighting, pixel stage: four street lamps, a faint distant light,
// the sky light, reflections of the environment view, paint flakes,
// self-illumination and glass. See docs/shaders.md.

uniform vec4 lightColorGlobal;   // sky and distant light, grey
uniform vec4 lightColorLocal;    // street lamps, grey
uniform vec4 lightOri;           // direction the lamps shine (down), model space
uniform vec4 lightPos;           // the four nearest street lamps, model space
uniform vec4 light2Pos;
uniform vec4 light3Pos;
uniform vec4 light4Pos;
uniform vec4 light5Pos;          // faint distant light
uniform vec4 ambientColor;
uniform vec4 matAmbient;
uniform vec4 matDiffuse;
uniform vec4 matSpecular;
uniform vec4 emissive;
uniform float shininess;
uniform vec4 cameraPos;          // offset added to cameraOri (left at 0)
uniform vec4 cameraOri;          // camera position, model space
uniform sampler2D decal;         // unit 0: the surface texture
uniform sampler2D decal2;        // unit 1: the environment view
uniform sampler2D decal3;        // unit 2: extra glow map, scaled by StrongLightNow
uniform float RefInt;            // reflection strength, times the texel's alpha
uniform float GlassNow;          // 1 while glass is drawn
uniform float GlassAlpha;        // alpha written by glass
uniform float LightNow;          // self-illumination, times (1 - texel alpha)
uniform float StrongLightNow;
uniform float NoiseNow;          // metallic flakes of car paint

varying vec3 surfacePos;
varying vec3 surfaceNormal;

// Warm sodium tint of the street lamps and how far they reach.
const vec3 lampTint = vec3(1.0, 0.84, 0.62);
const float lampReach = 40.0;
// Flakes per model unit on painted bodies.
const float flakeDensity = 55.0;

vec3 safeNormalize(vec3 v, vec3 fallback)
{
    float len = length(v);
    return len > 0.0001 ? v / len : fallback;
}

// Three pseudo-random numbers in 0..1 for one flake cell.
vec3 flakeHash(vec3 cell)
{
    vec3 p = fract(cell * vec3(0.1031, 0.1030, 0.0973));
    p += dot(p, p.yxz + 33.33);
    return fract((p.xxy + p.yxx) * p.zyx);
}

// Light of one lamp: diffuse with a soft wrap, a highlight for the material,
// and the glint of the paint flakes. The lamp shines mostly downwards along
// lightOri, so the street around its foot is lit and its top stays dim.
void addLamp(vec3 lamp, vec3 lampDir, vec3 N, vec3 V, vec3 flakeN,
             inout float diffuse, inout float highlight, inout float glint)
{
    vec3 toLamp = lamp - surfacePos;
    float d = length(toLamp);
    vec3 L = toLamp / max(d, 0.0001);
    float fade = 1.0 - smoothstep(lampReach * 0.5, lampReach, d);
    float cone = 0.3 + 0.7 * smoothstep(-0.1, 0.6, dot(-L, lampDir));
    float att = fade * cone / (1.0 + 0.006 * d * d);
    float facing = dot(N, L);
    diffuse += att * clamp(facing * 0.8 + 0.2, 0.0, 1.0);
    vec3 H = safeNormalize(L + V, N);
    highlight += att * step(0.0, facing) * pow(max(dot(N, H), 0.0001), max(shininess, 1.0));
    glint += att * pow(max(dot(flakeN, H), 0.0001), 24.0);
}

// The environment view seen along ray R, in the frame it was rendered in.
vec3 environment(vec3 R, vec3 forward, vec3 right, vec3 up)
{
    float depth = max(abs(dot(R, forward)), 0.25);
    vec2 envUv = 0.5 + 0.5 * vec2(dot(R, right), dot(R, up)) / depth;
    envUv.x = 1.0 - envUv.x;
    return texture2D(decal2, envUv).rgb;
}

void main()
{
    vec2 uv = gl_TexCoord[0].st;
    vec4 texel = texture2D(decal, uv);
    vec3 N = safeNormalize(surfaceNormal, vec3(0.0, 1.0, 0.0));
    vec3 viewPoint = cameraOri.xyz + cameraPos.xyz;
    vec3 V = safeNormalize(viewPoint - surfacePos, N);
    vec3 lampDir = safeNormalize(lightOri.xyz, vec3(0.0, -1.0, 0.0));
    vec3 skyDir = -lampDir;

    // Paint flakes: each small cell of the body tilts its normal a little.
    vec3 flake = flakeHash(floor(surfacePos * flakeDensity));
    vec3 flakeN = normalize(N + (flake - 0.5) * 0.7);

    float lampDiffuse = 0.0;
    float lampHighlight = 0.0;
    float glint = 0.0;
    addLamp(lightPos.xyz, lampDir, N, V, flakeN, lampDiffuse, lampHighlight, glint);
    addLamp(light2Pos.xyz, lampDir, N, V, flakeN, lampDiffuse, lampHighlight, glint);
    addLamp(light3Pos.xyz, lampDir, N, V, flakeN, lampDiffuse, lampHighlight, glint);
    addLamp(light4Pos.xyz, lampDir, N, V, flakeN, lampDiffuse, lampHighlight, glint);

    vec3 toDistant = safeNormalize(light5Pos.xyz - surfacePos, skyDir);
    float distant = max(dot(N, toDistant), 0.0);
    float sky = 0.55 + 0.45 * dot(N, skyDir);

    vec3 lampLight = lightColorLocal.rgb * lampTint;
    vec3 lit = ambientColor.rgb * matAmbient.rgb
             + matDiffuse.rgb * (lightColorGlobal.rgb * (0.35 * sky + 0.25 * distant)
                                 + lampLight * lampDiffuse)
             + emissive.rgb;
    vec3 colour = texel.rgb * lit + matSpecular.rgb * lampLight * lampHighlight;

    // Reflection: the environment view was rendered from the model's origin
    // (the car) towards the camera with world up, 90 degrees wide, and stored
    // mirrored left to right. The reflected view ray is expressed in that
    // frame and projected; rays leaving backwards are folded to the front.
    vec3 forward = safeNormalize(viewPoint, vec3(0.0, 0.0, 1.0));
    vec3 right = safeNormalize(cross(forward, vec3(0.0, 1.0, 0.0)), vec3(1.0, 0.0, 0.0));
    vec3 up = cross(right, forward);
    vec3 reflection = environment(reflect(-V, N), forward, right, up);
    colour += reflection * (RefInt * texel.a);

    // Flakes sparkle under the lamps and where they catch a light of the
    // environment view.
    vec3 flakeSeen = environment(reflect(-V, flakeN), forward, right, up);
    float flakeEnv = max(dot(flakeSeen - reflection, vec3(0.3, 0.5, 0.2)), 0.0);
    colour += NoiseNow * (lampLight * glint + flakeSeen * flakeEnv * 1.5
                          + texel.rgb * (flake.x - 0.5) * 0.08);

    // Self-illumination: texels with alpha below 1 glow with their own colour,
    // so RGB textures (alpha 1) never glow.
    colour += texel.rgb * (LightNow * (1.0 - texel.a));
    colour += texture2D(decal3, uv).rgb * StrongLightNow;

    gl_FragColor = vec4(colour, mix(1.0, GlassAlpha, GlassNow));
}
