// The evaluators' log lines. A program of its own: the first-call line is once per process.
#include <cmath>
#include <string>

#include "base/diag_log.h"
#include "log_fixture.h"
#include "shading/eval_log.h"
#include "support.h"

namespace QuarelTest {
namespace {

using namespace QuarelNS;

class EvalLogTest : public LogDirTest {};

TEST_F(EvalLogTest, FirstCallAndMasterChanges) {
    DiagLogOpen();
    EvalSnapshot snap;
    ScriptedShadeContext sc;
    const BrickEvalSource src{&snap, nullptr, nullptr, nullptr,
                              reinterpret_cast<const void*>(std::uintptr_t{0xABC0})};
    sc.SetUVW(Point3(0.3f, 0.2f, 0.f), Point3());
    EvalMapColor(src, nullptr, 0, sc);
    EvalMapColor(src, nullptr, 0, sc);  // nothing changed: no line
    snap.master_u_tiling = 2.f;
    snap.master_angle = 0.5f;
    EvalMapColor(src, nullptr, 0, sc);
    snap.master_v_offset = NAN;  // a NaN compares unequal to itself, yet is logged once
    for (int i = 0; i < 3; ++i) EvalMapColor(src, nullptr, 0, sc);
    DiagLogClose();

    std::vector<std::string> messages;
    for (const std::string& line : LogLines())
        if (LinePrefixLength(line) > 0) messages.emplace_back(LineMessage(line));
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0], "QuarelMap::EvalColor FIRST CALL, this=0x000000000000ABC0");
    EXPECT_EQ(messages[1],
              "EvalColor master changed: uv_in=(0.300,0.200) -> uv_out=(0.300,0.200)  "
              "masterT=(1.000,1.000) masterO=(0.000,0.000) masterA=0.000  "
              "this=0x000000000000ABC0");
    // (0.3, 0.2) tiled by 2 in u is (0.1, 0.2), then turned by 0.5 rad about the centre.
    EXPECT_EQ(messages[2],
              "EvalColor master changed: uv_in=(0.300,0.200) -> uv_out=(0.293,0.045)  "
              "masterT=(2.000,1.000) masterO=(0.000,0.000) masterA=0.500  "
              "this=0x000000000000ABC0");
    EXPECT_EQ(messages[3].rfind("EvalColor master changed: ", 0), 0u);
    EXPECT_NE(messages[3].find("masterO=(0.000,nan)"), std::string::npos) << messages[3];
}

// A rebuilt snapshot carries a new stamp: the values are compared once per stamp, and still
// every change is logged, also when two maps take turns.
TEST_F(EvalLogTest, StampedSnapshotsLogEveryChangeOnce) {
    DiagLogOpen();
    EvalSnapshot a, b;
    a.master_u_offset = 0.25f;
    b.master_u_offset = 0.5f;
    const void* owner = reinterpret_cast<const void*>(std::uintptr_t{0xABC0});
    BrickEvalSource srcA{&a, nullptr, nullptr, nullptr, owner, NewLogStamp()};
    const BrickEvalSource srcB{&b, nullptr, nullptr, nullptr, owner, NewLogStamp()};
    ScriptedShadeContext sc;
    sc.SetUVW(Point3(0.3f, 0.2f, 0.f), Point3());
    for (int i = 0; i < 3; ++i) EvalMapColor(srcA, nullptr, 0, sc);  // one line
    srcA.logStamp = NewLogStamp();                                   // rebuilt, unchanged
    EvalMapColor(srcA, nullptr, 0, sc);
    EvalMapColor(srcB, nullptr, 0, sc);  // another map's values: a line
    EvalMapColor(srcA, nullptr, 0, sc);  // and back: a line
    EvalMapColor(srcA, nullptr, 0, sc);
    DiagLogClose();

    std::vector<std::string> offsets;
    for (const std::string& line : LogLines()) {
        const std::size_t at = line.find("masterO=(");
        if (LinePrefixLength(line) > 0 && at != std::string::npos)
            offsets.emplace_back(line.substr(at + 9, 5));
    }
    EXPECT_EQ(offsets, (std::vector<std::string>{"0.250", "0.500", "0.250"}));
}

}  // namespace
}  // namespace QuarelTest
