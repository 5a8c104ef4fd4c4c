#pragma once
// The slow-motion colour grade: a cold, blue, nearly monochrome look laid
// over the whole frame while time is slowed in the intro.

inline constexpr const char* SLOWMO_DESKTOP_PATH = "assets/shaders/intro_slowmo.fs";
inline constexpr const char* SLOWMO_WEB_PATH = "assets/shaders/intro_slowmo_web.fs";

// Desktop GLSL 330 and the GLSL ES 1.00 twin; same arithmetic.
const char* slowmo_shader_text();
const char* slowmo_web_shader_text();

// The grade on one colour (components 0 to 1), as the shaders compute it.
struct GradeColour {
    float r, g, b, a;
};
GradeColour slowmo_grade(GradeColour c);
