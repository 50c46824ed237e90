// Shared pieces of the shading tests: a nested map that records what it is shown, a fixture
// with a snapshot and a scripted context, and a finder for points well inside bricks.
#pragma once

#include <gtest/gtest.h>

#include <host/scripted_shade_context.h>
#include <imtl.h>

#include <cstdint>
#include <vector>

#include "cells.h"
#include "pattern/evaluate.h"
#include "shading/brick_eval.h"

namespace QuarelTest {

// A nested map that remembers the context of its last evaluation and answers a fixed colour.
class ProbeMap : public Texmap {
public:
    AColor EvalColor(ShadeContext& sc) override;
    Point3 EvalNormalPerturb(ShadeContext&) override { return Point3(); }
    void Update(TimeValue, Interval&) override {}
    void Reset() override {}
    Interval Validity(TimeValue) override { return FOREVER; }
    ParamDlg* CreateParamDlg(HWND, IMtlParams*) override { return nullptr; }

    AColor color{0.2f, 0.4f, 0.6f, 0.5f};
    int calls = 0;
    Point3 uvw, duvw, dP[3];
    int nodeId = 0, faceNumber = 0, mtlNum = 0;
};

// A point of the unit tile and the cell the pattern engine gives it.
struct BrickPoint {
    float u, v;
    QuarelNS::BrickCell cell;
};

// One point per brick, each well inside its brick (local coordinates in [0.3, 0.7]), for the
// settings `snap` and `count` bricks across (the master transform is left out).
std::vector<BrickPoint> BrickCentres(const QuarelNS::EvalSnapshot& snap, int count = -1);

class ShadingTest : public ::testing::Test {
protected:
    QuarelNS::BrickEvalSource Src() { return {&snap, brickMap, groutMap, brickMap2, this}; }
    AColor At(float u, float v, const QuarelNS::ShadeOverrides* ov = nullptr, int count = -1,
              int element = 0) {
        return QuarelNS::EvalBrickPoint(Src(), sc, Point3(u, v, 0.f), duvw, {count, element}, ov);
    }

    QuarelNS::EvalSnapshot snap;
    ScriptedShadeContext sc;
    Point3 duvw{0.001f, 0.002f, 0.f};
    Texmap* brickMap = nullptr;
    Texmap* groutMap = nullptr;
    Texmap* brickMap2 = nullptr;
};

}  // namespace QuarelTest
