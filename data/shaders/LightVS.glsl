#version 110
// Night-city lighting, vertex stage. Lights and camera arrive in the model's
// own coordinates, so the surface is handed on in model space too.

varying vec3 surfacePos;
varying vec3 surfaceNormal;

void main()
{
    surfacePos = gl_Vertex.xyz / gl_Vertex.w;
    surfaceNormal = gl_Normal;
    gl_TexCoord[0] = gl_TextureMatrix[0] * gl_MultiTexCoord0;
    gl_Position = ftransform();
}
