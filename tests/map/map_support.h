// Test support for the map object: a fixture with the module's classes in the host's class
// directory, an empty scene and the diagnostic log open in a private directory; maps made
// through their descriptor and held as a material-editor slot holds them; a probe map that
// records its updates; and a map whose stored data can never be read back.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/class_lookup.h"
#include "host/scene_file.h"
#include "imtl.h"
#include "log_fixture.h"
#include "map/quarel_map.h"
#include "relief/quarel_bump_proc_map.h"
#include "relief/quarel_normal_map.h"

namespace QuarelTest {

using namespace QuarelNS;

// A new object of one of the module's classes, made through its descriptor, held by nothing yet.
template <typename T>
T* Create(QuarelClass cls, bool loading = false) {
    return dynamic_cast<T*>(
        static_cast<Animatable*>(QuarelClassDescOf(cls).Create(loading ? TRUE : FALSE)));
}

// A new map, held by nothing yet, whose generator passes the context's coordinates through
// unchanged: one context unit is one tile.
QuarelMap* PlainMap();

class MapTest : public LogDirTest {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // A new map from its class descriptor, held by the fixture until the test ends.
    QuarelMap* NewMap(bool loading = false);
    // The same with the generator of PlainMap.
    QuarelMap* NewPlainMap() { return Keep(PlainMap()); }
    template <typename T>
    T* Keep(T* target) {
        mHolders.push_back(std::make_unique<SingleRefMaker>(target));
        return target;
    }
    // Lets go of the fixture's hold (the host deletes the target if nothing else holds it).
    void Release(ReferenceTarget* target);

    // How many log messages since the last Mark equal `text` (start with it, with `prefix`).
    void Mark() { mMark = LogLines().size(); }
    int CountNew(const std::string& text, bool prefix = false) const;

    // The roots saved to a scene file and loaded back.
    void RoundTrip(const std::vector<ReferenceTarget*>& roots, LoadedScene& loaded);

private:
    std::vector<std::unique_ptr<SingleRefMaker>> mHolders;
    std::size_t mMark = 0;
    std::optional<ScopedEnv> mLogOn;
};

// Makes the snapshot valid at time 0, so that a test can see what empties it.
void MakeValid(QuarelMap* map);

// Holds a target and counts the change messages that reach it.
class Watcher : public ReferenceMaker {
public:
    explicit Watcher(RefTargetHandle target) { ReplaceReference(0, target); }
    ~Watcher() override { DeleteAllRefsFromMe(); }
    int NumRefs() override { return 1; }
    RefTargetHandle GetReference(int i) override { return i == 0 ? mRef : nullptr; }
    RefResult NotifyRefChanged(const Interval&, RefTargetHandle, PartID&, RefMessage message,
                               BOOL) override {
        if (message == REFMSG_CHANGE) ++changes;
        return REF_DONTCARE;
    }
    int changes = 0;

protected:
    void SetReference(int i, RefTargetHandle rtarg) override { mRef = rtarg; }

private:
    RefTargetHandle mRef = nullptr;
};

// A nested map that counts its updates and may run a hook inside them.
class ProbeMap : public Texmap {
public:
    Class_ID ClassID() override { return Class_ID(0x7E57AB01, 0x1); }
    AColor EvalColor(ShadeContext&) override { return AColor(0.25f, 0.5f, 0.75f, 1.f); }
    Point3 EvalNormalPerturb(ShadeContext&) override { return Point3(); }
    void Update(TimeValue, Interval& valid) override {
        ++updates;
        valid &= validity;
        if (onUpdate) onUpdate();
    }
    void Reset() override {}
    Interval Validity(TimeValue) override { return FOREVER; }
    ParamDlg* CreateParamDlg(HWND, IMtlParams*) override { return nullptr; }

    int updates = 0;
    Interval validity = FOREVER;  // what each Update narrows the caller's interval to
    std::function<void()> onUpdate;
};

// Its data can never be read back: a scene holding it fails after every object was made.
class UnloadableMap : public ProbeMap {
public:
    Class_ID ClassID() override;
    IOResult Load(ILoad*) override { return IO_ERROR; }
};

}  // namespace QuarelTest
