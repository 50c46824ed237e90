// Test support for whole scenes: nodes with materials under the scene root, a test material
// with both sub-maps and a sub-material, maps whose coordinates are the context's own, and a
// way to find the loaded copy of an object after a scene has been saved and loaded.
#pragma once

#include <string>
#include <vector>

#include "host/builtin_classes.h"
#include "host/scripted_shade_context.h"
#include "inode.h"
#include "map_support.h"
#include "relief/quarel_bump_map.h"
#include "relief/quarel_normal_carrier_mtl.h"

namespace QuarelTest {

// Two sub-maps and one sub-material, each a reference: a material that is searched in all
// three ways. Not in the class directory (never saved).
class MixMtl : public Mtl {
public:
    MixMtl(Texmap* a, Texmap* b, Mtl* sub);
    ~MixMtl() override { DeleteAllRefs(); }
    Class_ID ClassID() override { return Class_ID(0x7E57AB03, 0x1); }

    int NumRefs() override { return 3; }
    RefTargetHandle GetReference(int i) override { return i >= 0 && i < 3 ? mRefs[i] : nullptr; }
    RefResult NotifyRefChanged(const Interval&, RefTargetHandle, PartID&, RefMessage,
                               BOOL) override {
        return REF_SUCCEED;
    }
    int NumSubTexmaps() override { return 2; }
    Texmap* GetSubTexmap(int i) override;
    int NumSubMtls() override { return 1; }
    Mtl* GetSubMtl(int i) override;

    Color GetAmbient(int, BOOL) override { return Color(); }
    Color GetDiffuse(int, BOOL) override { return Color(); }
    Color GetSpecular(int, BOOL) override { return Color(); }
    float GetShininess(int, BOOL) override { return 0.f; }
    float GetShinStr(int, BOOL) override { return 0.f; }
    float GetXParency(int, BOOL) override { return 0.f; }
    void SetAmbient(Color, TimeValue) override {}
    void SetDiffuse(Color, TimeValue) override {}
    void SetSpecular(Color, TimeValue) override {}
    void SetShininess(float, TimeValue) override {}
    void Shade(ShadeContext&) override {}
    void Update(TimeValue, Interval&) override {}
    void Reset() override {}
    Interval Validity(TimeValue) override { return FOREVER; }
    ParamDlg* CreateParamDlg(HWND, IMtlParams*) override { return nullptr; }

protected:
    void SetReference(int i, RefTargetHandle rtarg) override {
        if (i >= 0 && i < 3) mRefs[i] = rtarg;
    }

private:
    RefTargetHandle mRefs[3] = {};
};

// A standard material with these maps in its diffuse and bump slots.
StdMtl* Material(Texmap* diffuse, Texmap* bump = nullptr);

class SceneTest : public MapTest {
protected:
    void TearDown() override;

    // A new node at the end of `parent`'s children (the root's by default) with material m.
    INode* AddNode(const wchar_t* name, Mtl* m, INode* parent = nullptr);
    // Sub-map `sub` of the material of the root's child `node`, after a load.
    static Texmap* LoadedMap(int node, int sub);

    // Colour of `map` at (u, v) with the context's own coordinates.
    AColor At(Texmap* map, float u, float v, bool doMaps = true);
    ScriptedShadeContext sc;
};

// With the default pattern, (0.3, 0.06) lies on a brick and (0.3, 0) in a joint.
constexpr float kBrickU = 0.3f, kBrickV = 0.06f, kJointU = 0.3f, kJointV = 0.f;

}  // namespace QuarelTest
