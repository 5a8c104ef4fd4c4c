#include "glfw_compat.h"

void glfwSetWindowAttrib(struct GLFWwindow* window, int attrib, int value) {
    (void)window;
    (void)attrib;
    (void)value;
}

cindervale_glfw_scale_fn glfwSetWindowContentScaleCallback(struct GLFWwindow* window,
                                                           cindervale_glfw_scale_fn callback) {
    (void)window;
    (void)callback;
    return 0;
}
