// Test support for the relief outputs: the map fixture with a parent whose generator passes the
// context's coordinates through, a context placed at tile points, the joint-to-brick edges of
// the parent's pattern, and a nested map that counts its evaluations from any thread.
#pragma once

#include <atomic>

#include "cells.h"
#include "host/scripted_shade_context.h"
#include "map_support.h"

namespace QuarelTest {

// Counts its evaluations (render threads included) and answers a fixed colour.
class CountingMap : public ProbeMap {
public:
    AColor EvalColor(ShadeContext&) override {
        calls.fetch_add(1, std::memory_order_relaxed);
        return color;
    }
    AColor color{0.2f, 0.3f, 0.7f, 1.f};
    std::atomic<int> calls{0};
};

class ReliefTest : public MapTest {
protected:
    // A context at tile point (u, v) with that filter size, at time t.
    static void Place(ScriptedShadeContext& sc, float u, float v, float filter = 0.001f,
                      TimeValue t = 0) {
        sc.SetUVW(Point3(u, v, 0.f), Point3(filter, filter, 0.f));
        sc.time = t;
    }
    void Place(float u, float v, float filter = 0.001f) { Place(sc, u, v, filter); }

    ScriptedShadeContext sc;
};

}  // namespace QuarelTest
