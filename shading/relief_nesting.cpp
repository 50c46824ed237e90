#include "shading/relief_common.h"

namespace QuarelNS {
namespace {

// Deep enough for maps nested in maps nested in maps; a chain longer than this is a cycle in
// all but name.
constexpr int kMaxNesting = 8;

// Plain values with constant initialisation: nothing to construct per thread, no lock.
struct NestingStack {
    const void* maps[kMaxNesting];
    int depth;
};
thread_local NestingStack tNesting = {{}, 0};

}  // namespace

ReliefNestingScope::ReliefNestingScope(const void* map, bool wanted) {
    if (!wanted) return;
    NestingStack& s = tNesting;
    if (s.depth >= kMaxNesting) return;
    for (int i = 0; i < s.depth; ++i) {
        if (s.maps[i] == map) return;
    }
    s.maps[s.depth++] = map;
    mEntered = true;
}

ReliefNestingScope::~ReliefNestingScope() {
    if (mEntered) --tNesting.depth;
}

}  // namespace QuarelNS
