#version 110
// Zoom blur towards the centre of the picture. speed 0..1 sets how far the
// ten samples reach inwards: nothing at 0, 15 % of the way at 1.

uniform float speed;
uniform sampler2D decal;

void main()
{
    vec2 uv = gl_TexCoord[0].st;
    vec2 toCentre = (vec2(0.5, 0.5) - uv) * (clamp(speed, 0.0, 1.0) * 0.15 / 9.0);
    vec3 sum = vec3(0.0);
    for (int i = 0; i < 10; i++)
        sum += texture2D(decal, uv + toCentre * float(i)).rgb;
    gl_FragColor = vec4(sum * 0.1, 1.0);
}
