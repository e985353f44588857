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

// Warm sodium tint of the street lamps.
const vec3 lampTint = vec3(1.0, 0.84, 0.62);
// Flakes per model unit on painted bodies.
const float flakeDensity = 55.0;

// Performance: the software renderer runs every line for every pixel (a
// switch on a uniform does not skip code), so the arithmetic is kept cheap:
// inverse square roots and Schlick's rational form of x^n. The shine
// (highlights, reflections, paint flakes) costs about half of a pixel; built
// with SCENERY defined it is left out, and the game draws with that variant
// whatever never shines (RefInt, NoiseNow and matSpecular all zero).
float powApprox(float x, float n)
{
    return x / (n - n * x + x);
}

vec3 unit(vec3 v)
{
    return v * inversesqrt(max(dot(v, v), 1.0e-8));
}

// Three pseudo-random numbers in 0..1 for one flake cell.
vec3 flakeHash(vec3 cell)
{
    vec3 p = fract(cell * vec3(0.1031, 0.1030, 0.0973));
    p += dot(p, p.yxz + 33.33);
    return fract((p.xxy + p.yxx) * p.zyx);
}

// How much of a lamp reaches the surface, and from where: a bright pool of
// light round the lamp's foot (6 / (1 + 0.03 d^2)), fading out between 16
// and 32 units; the lamp shines mostly downwards along lampDir (0.3 of it
// sideways and up), so its top stays dim.
float lampReach(vec3 lamp, vec3 lampDir, out vec3 L)
{
    vec3 toLamp = lamp - surfacePos;
    float d2 = dot(toLamp, toLamp);
    float inv = inversesqrt(max(d2, 1.0e-6));
    L = toLamp * inv;
    float fade = clamp(2.0 - d2 * inv * 0.0625, 0.0, 1.0);
    float cone = clamp((0.1 - dot(L, lampDir)) * 1.4286, 0.0, 1.0);
    return fade * fade * (3.0 - 2.0 * fade) * (0.3 + 0.7 * cone) * 6.0 / (1.0 + 0.03 * d2);
}

// The environment view seen along ray R, in the frame it was rendered in.
vec3 environment(vec3 R, vec3 forward, vec3 right, vec3 up)
{
    float depth = max(abs(dot(R, forward)), 0.25);
    vec2 envUv = 0.5 + (0.5 / depth) * vec2(dot(R, right), dot(R, up));
    envUv.x = 1.0 - envUv.x;
    return texture2D(decal2, envUv).rgb;
}

void main()
{
    vec2 uv = gl_TexCoord[0].st;
    vec4 texel = texture2D(decal, uv);
    vec3 N = unit(surfaceNormal);
    vec3 viewPoint = cameraOri.xyz + cameraPos.xyz;
    // A zero direction counts as straight down.
    vec3 lampDir = dot(lightOri.xyz, lightOri.xyz) > 1.0e-8 ? unit(lightOri.xyz) : vec3(0.0, -1.0, 0.0);
    vec3 skyDir = -lampDir;

    // Lamps: diffuse with a soft wrap (0.8 N.L + 0.2).
    vec3 L1, L2, L3, L4;
    float reach1 = lampReach(lightPos.xyz, lampDir, L1);
    float reach2 = lampReach(light2Pos.xyz, lampDir, L2);
    float reach3 = lampReach(light3Pos.xyz, lampDir, L3);
    float reach4 = lampReach(light4Pos.xyz, lampDir, L4);
    float lampSum = reach1 * clamp(dot(N, L1) * 0.8 + 0.2, 0.0, 1.0)
                  + reach2 * clamp(dot(N, L2) * 0.8 + 0.2, 0.0, 1.0)
                  + reach3 * clamp(dot(N, L3) * 0.8 + 0.2, 0.0, 1.0)
                  + reach4 * clamp(dot(N, L4) * 0.8 + 0.2, 0.0, 1.0);
    // Where several lamps overlap the light saturates instead of adding up.
    float lampDiffuse = lampSum / (1.0 + 0.25 * lampSum);

    float distant = max(dot(N, unit(light5Pos.xyz - surfacePos)), 0.0);
    float sky = 0.55 + 0.45 * dot(N, skyDir);

    vec3 lampLight = lightColorLocal.rgb * lampTint;
    vec3 lit = ambientColor.rgb * matAmbient.rgb
             + matDiffuse.rgb * (lightColorGlobal.rgb * (0.25 * sky + 0.25 * distant)
                                 + lampLight * lampDiffuse)
             + emissive.rgb;
    vec3 colour = texel.rgb * lit;

#ifndef SCENERY
    // Shine: lamp highlights of the material (matSpecular, shininess), the
    // reflection of the environment view (RefInt x texel alpha) and the paint
    // flakes (NoiseNow).
    {
        vec3 V = unit(viewPoint - surfacePos);
        // Each small cell of the body tilts its normal a little.
        vec3 flake = flakeHash(floor(surfacePos * flakeDensity));
        vec3 flakeN = unit(N + (flake - 0.5) * 0.4);
        float specPower = max(shininess, 1.0);
        vec3 H1 = unit(L1 + V), H2 = unit(L2 + V), H3 = unit(L3 + V), H4 = unit(L4 + V);
        float highlight = reach1 * step(0.0, dot(N, L1)) * powApprox(max(dot(N, H1), 0.0), specPower)
                        + reach2 * step(0.0, dot(N, L2)) * powApprox(max(dot(N, H2), 0.0), specPower)
                        + reach3 * step(0.0, dot(N, L3)) * powApprox(max(dot(N, H3), 0.0), specPower)
                        + reach4 * step(0.0, dot(N, L4)) * powApprox(max(dot(N, H4), 0.0), specPower);
        float glint = reach1 * powApprox(max(dot(flakeN, H1), 0.0), 120.0)
                    + reach2 * powApprox(max(dot(flakeN, H2), 0.0), 120.0)
                    + reach3 * powApprox(max(dot(flakeN, H3), 0.0), 120.0)
                    + reach4 * powApprox(max(dot(flakeN, H4), 0.0), 120.0);
        colour += matSpecular.rgb * lampLight * highlight;

        // Reflection: the environment view was rendered from the model's
        // origin (the car) towards the camera with world up, 90 degrees wide,
        // and stored mirrored left to right. The reflected view ray is
        // expressed in that frame and projected; rays leaving backwards are
        // folded to the front.
        vec3 forward = unit(viewPoint);
        vec3 right = unit(vec3(-forward.z, 0.0, forward.x));
        vec3 up = cross(right, forward);
        vec3 reflection = environment(reflect(-V, N), forward, right, up);
        // Paint and glass reflect most at grazing angles (Schlick's Fresnel).
        float facingCamera = max(dot(N, V), 0.0);
        float edge = 1.0 - facingCamera;
        float fresnel = 0.2 + 0.8 * edge * edge * edge;
        colour += reflection * (RefInt * texel.a * fresnel);

        // Flakes sparkle under the lamps and where they catch a light of the
        // environment view.
        vec3 flakeSeen = environment(reflect(-V, flakeN), forward, right, up);
        float flakeEnv = max(dot(flakeSeen - reflection, vec3(0.3, 0.5, 0.2)), 0.0);
        colour += NoiseNow * (lampLight * glint * 0.25 + flakeSeen * flakeEnv * 0.2
                              + texel.rgb * (flake.x - 0.5) * 0.03);
    }

#endif
    // Self-illumination: texels with alpha below 1 glow with their own colour,
    // so RGB textures (alpha 1) never glow.
    colour += texel.rgb * (LightNow * (1.0 - texel.a));
    colour += texture2D(decal3, uv).rgb * StrongLightNow;

    gl_FragColor = vec4(colour, mix(1.0, GlassAlpha, GlassNow));
}
