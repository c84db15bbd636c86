// The GL test context: a real context with the extension loader, drawing into its framebuffer.
#include "core/glWindow.h"
#include "tests/support/glTestContext.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

TEST(GlTestContext, GivesACurrentContextThatDrawsAndCompilesShaders)
{
    qvr::test::cGlTestContext context;
    ASSERT_TRUE(context.ok()) << context.error();
    EXPECT_TRUE(qvr::isGlewLoaded());

    qvr::resizeGlScene(800, 600);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);
    // A height of 0 keeps a one-pixel viewport but is stored as 0.
    qvr::resizeGlScene(800, 0);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[3], 1);
    EXPECT_EQ(qvr::getWindowHeight(), 0);
    qvr::resizeGlScene(800, 600);

    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    unsigned char pixel[4] = {};
    glReadPixels(400, 300, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 0);
    EXPECT_EQ(pixel[1], 255);

    const GLuint shader = glCreateShader(GL_FRAGMENT_SHADER);
    const char* source = "void main() { gl_FragColor = vec4(1.0); }";
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint compiled = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    EXPECT_EQ(compiled, GL_TRUE);
    glDeleteShader(shader);
}
