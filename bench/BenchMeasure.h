// What the drawing benchmarks share: the process's peak memory, elapsed seconds, and a view
// drawn by the renderer into a headless offscreen target.
#pragma once

#include <GL/gl.h>
#include <sys/resource.h>

#include <array>
#include <chrono>
#include <memory>
#include <string>

#include "display/Renderer.h"
#include "display/View.h"
#include "platform/HeadlessGL.h"
#include "platform/StderrHost.h"

inline long peakRssKb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

inline double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// A model view of width x height pixels with its renderer in a headless context.
struct OffscreenView {
    std::unique_ptr<kestrel::platform::HeadlessGlContext> gl;
    kestrel::platform::StderrHost host;
    mmOriginOffset origin;
    mmView view{origin};
    std::unique_ptr<mmRenderer> renderer;

    // False, with the reason, without headless OpenGL. The view's glyph table is the one given
    // (null: the system's).
    bool Create(int width, int height, std::string& error, mmGlyphTablePtr glyphs = nullptr) {
        gl = kestrel::platform::HeadlessGlContext::create(width, height, &error);
        if (!gl) {
            error = "no headless OpenGL: " + error;
            return false;
        }
        view.glyphs = std::move(glyphs);
        renderer = std::make_unique<mmRenderer>(host);
        renderer->InitializeGl(view);
        view.Resize(width, height);
        return true;
    }

    // The seconds of a first and a second drawing of the scene, each finished by the GL.
    std::array<double, 2> TimeTwoDraws(const mmSceneSource& scene) {
        std::array<double, 2> draws{};
        for (double& d : draws) {
            view.requestRedraw();
            const auto start = std::chrono::steady_clock::now();
            renderer->Paint(view, scene);
            glFinish();
            d = seconds(start);
        }
        return draws;
    }
};
