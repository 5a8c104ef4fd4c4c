/* raylib's web platform calls two GLFW functions that Emscripten 3.1.6's GLFW
   emulation neither declares nor provides; they serve only run-time window
   flags and HiDPI scaling, which the page handles itself. This header is
   forced into raylib's web build (scripts/setup-deps.sh web) so the calls have
   their real prototypes; glfw_compat.c gives them bodies that do nothing. */
#ifndef CINDERVALE_GLFW_COMPAT_H
#define CINDERVALE_GLFW_COMPAT_H

#ifdef __cplusplus
extern "C" {
#endif

struct GLFWwindow;
typedef void (*cindervale_glfw_scale_fn)(struct GLFWwindow* window, float xscale, float yscale);

void glfwSetWindowAttrib(struct GLFWwindow* window, int attrib, int value);
cindervale_glfw_scale_fn glfwSetWindowContentScaleCallback(struct GLFWwindow* window,
                                                           cindervale_glfw_scale_fn callback);

#ifdef __cplusplus
}
#endif

#endif
