#version 110
// Foliage, vertex stage. The lamps arrive in the layer's own coordinates; the
// camera is found from the inverse model-view matrix for the leaf sheen.

varying vec3 surfacePos;
varying vec3 surfaceNormal;
varying vec3 viewPoint;

void main()
{
    surfacePos = gl_Vertex.xyz / gl_Vertex.w;
    surfaceNormal = gl_Normal;
    vec4 eye = gl_ModelViewMatrixInverse * vec4(0.0, 0.0, 0.0, 1.0);
    viewPoint = eye.xyz / eye.w;
    gl_TexCoord[0] = gl_TextureMatrix[0] * gl_MultiTexCoord0;
    gl_Position = ftransform();
}
