#include "shaders.h"

namespace {

// The numbers are kept in one place in the text below and in slowmo_grade;
// the tests read them back out of both shader texts.
constexpr const char* DESKTOP = R"(#version 330

// Cold, nearly monochrome grade for the slowed moment of the intro.
in vec2 fragTexCoord;
in vec4 fragColor;

uniform sampler2D texture0;
uniform vec4 colDiffuse;

out vec4 finalColor;

void main()
{
    vec4 c = texture(texture0, fragTexCoord) * colDiffuse * fragColor;
    float luma = 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
    c.rgb = mix(c.rgb, vec3(0.32, 0.66, 1.32) * luma, 0.62);
    finalColor = c;
}
)";

constexpr const char* WEB = R"(#version 100

precision mediump float;

// Cold, nearly monochrome grade for the slowed moment of the intro.
varying vec2 fragTexCoord;
varying vec4 fragColor;

uniform sampler2D texture0;
uniform vec4 colDiffuse;

void main()
{
    vec4 c = texture2D(texture0, fragTexCoord) * colDiffuse * fragColor;
    float luma = 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
    c.rgb = mix(c.rgb, vec3(0.32, 0.66, 1.32) * luma, 0.62);
    gl_FragColor = c;
}
)";

float mixf(float a, float b, float t) { return a * (1.0f - t) + b * t; }

}  // namespace

const char* slowmo_shader_text() { return DESKTOP; }

const char* slowmo_web_shader_text() { return WEB; }

GradeColour slowmo_grade(GradeColour c) {
    const float luma = 0.299f * c.r + 0.587f * c.g + 0.114f * c.b;
    return {mixf(c.r, 0.32f * luma, 0.62f), mixf(c.g, 0.66f * luma, 0.62f), mixf(c.b, 1.32f * luma, 0.62f), c.a};
}
