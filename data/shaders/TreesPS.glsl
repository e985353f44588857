#version 110
// Foliage, pixel stage: leaves cut out by the texture's alpha, lit by the
// eight nearest street lamps through the leaves (both sides) and the ambient.

uniform vec4 lightColorLocal;
uniform vec4 lightPos;
uniform vec4 light2Pos;
uniform vec4 light3Pos;
uniform vec4 light4Pos;
uniform vec4 light6Pos;
uniform vec4 light7Pos;
uniform vec4 light8Pos;
uniform vec4 light9Pos;
uniform vec4 ambientColor;
uniform vec4 matAmbient;
uniform vec4 matDiffuse;
uniform vec4 emissive;
uniform float shininess;         // waxy leaf sheen; 0 for none
uniform sampler2D decal;

varying vec3 surfacePos;
varying vec3 surfaceNormal;
varying vec3 viewPoint;

const vec3 lampTint = vec3(1.0, 0.84, 0.62);

vec3 safeNormalize(vec3 v, vec3 fallback)
{
    float len = length(v);
    return len > 0.0001 ? v / len : fallback;
}

// A lamp's pool of light, as in the Light program (6 / (1 + 0.03 d^2),
// fading out between 16 and 32 units), a third of it on the leaves. Powers
// use Schlick's rational form.
void addLamp(vec3 lamp, vec3 N, vec3 V, inout float diffuse, inout float sheen)
{
    vec3 toLamp = lamp - surfacePos;
    float d2 = dot(toLamp, toLamp);
    float inv = inversesqrt(max(d2, 1.0e-6));
    vec3 L = toLamp * inv;
    float fade = clamp(2.0 - d2 * inv * 0.0625, 0.0, 1.0);
    float att = fade * fade * (3.0 - 2.0 * fade) * 2.0 / (1.0 + 0.03 * d2);
    // Light passes through thin leaves: the back side gets a share too.
    float facing = dot(N, L);
    diffuse += att * (0.25 + 0.75 * abs(facing));
    vec3 H = safeNormalize(L + V, N);
    float n = max(shininess, 1.0);
    float x = abs(dot(N, H));
    sheen += att * x / (n - n * x + x);
}

void main()
{
    vec4 texel = texture2D(decal, gl_TexCoord[0].st);
    if (texel.a < 0.5)
        discard;
    vec3 N = safeNormalize(surfaceNormal, vec3(0.0, 1.0, 0.0));
    vec3 V = safeNormalize(viewPoint - surfacePos, N);

    float diffuse = 0.0;
    float sheen = 0.0;
    addLamp(lightPos.xyz, N, V, diffuse, sheen);
    addLamp(light2Pos.xyz, N, V, diffuse, sheen);
    addLamp(light3Pos.xyz, N, V, diffuse, sheen);
    addLamp(light4Pos.xyz, N, V, diffuse, sheen);
    addLamp(light6Pos.xyz, N, V, diffuse, sheen);
    addLamp(light7Pos.xyz, N, V, diffuse, sheen);
    addLamp(light8Pos.xyz, N, V, diffuse, sheen);
    addLamp(light9Pos.xyz, N, V, diffuse, sheen);

    vec3 lampLight = lightColorLocal.rgb * lampTint;
    vec3 lit = ambientColor.rgb * matAmbient.rgb + matDiffuse.rgb * lampLight * diffuse + emissive.rgb;
    vec3 colour = texel.rgb * lit + lampLight * sheen * (0.2 * min(shininess, 1.0));
    gl_FragColor = vec4(colour, 1.0);
}
