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
const float lampReach = 40.0;

vec3 safeNormalize(vec3 v, vec3 fallback)
{
    float len = length(v);
    return len > 0.0001 ? v / len : fallback;
}

void addLamp(vec3 lamp, vec3 N, vec3 V, inout float diffuse, inout float sheen)
{
    vec3 toLamp = lamp - surfacePos;
    float d = length(toLamp);
    vec3 L = toLamp / max(d, 0.0001);
    float att = (1.0 - smoothstep(lampReach * 0.5, lampReach, d)) / (1.0 + 0.006 * d * d);
    // Light passes through thin leaves: the back side gets a share too.
    float facing = dot(N, L);
    diffuse += att * (0.25 + 0.75 * abs(facing));
    vec3 H = safeNormalize(L + V, N);
    sheen += att * pow(max(abs(dot(N, H)), 0.0001), max(shininess, 1.0));
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
