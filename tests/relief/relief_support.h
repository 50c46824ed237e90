// Test support for the relief outputs: the map fixture with a parent whose generator passes the
// context's coordinates through, a context placed at tile points, the joint-to-brick edges of
// the parent's pattern, and a nested map that counts its evaluations from any thread.
#pragma once

#include <atomic>

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
                      TimeValue t = 0);
    void Place(float u, float v, float filter = 0.001f) { Place(sc, u, v, filter); }

    ScriptedShadeContext sc;
};

// The u of the edge from joint (at u0) to brick (at u1) on the row through v, to float
// precision.
float RisingEdge(const EvalSnapshot& s, float v, float u0, float u1);

// Whether the point of the tile lies in a joint of the snapshot's pattern.
bool InJoint(const EvalSnapshot& s, float u, float v);

}  // namespace QuarelTest
