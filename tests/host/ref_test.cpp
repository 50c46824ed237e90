// Reference bookkeeping: counting, refusal, loops, notifications, deletion and cloning.
#include <gtest/gtest.h>

#include <ref.h>

#include <memory>
#include <string>
#include <vector>

namespace {

int gLive = 0;

// A target with a few slots that records what it is told and can refuse targets.
class Node : public ReferenceTarget {
public:
    explicit Node(int slots = 3) : mSlots(slots, nullptr) { ++gLive; }
    ~Node() override {
        DeleteAllRefs();
        --gLive;
    }
    SClass_ID SuperClassID() override { return 0x1234; }
    int NumRefs() override { return static_cast<int>(mSlots.size()); }
    RefTargetHandle GetReference(int i) override {
        return i >= 0 && i < NumRefs() ? mSlots[i] : nullptr;
    }
    RefResult NotifyRefChanged(const Interval&, RefTargetHandle hTarget, PartID&,
                               RefMessage message, BOOL) override {
        messages.push_back(message);
        if (message == REFMSG_TARGET_DELETED) {
            for (auto& s : mSlots)
                if (s == hTarget) s = nullptr;
        }
        return stop ? REF_STOP : REF_SUCCEED;
    }
    RefTargetHandle Clone(RemapDir& remap) override {
        auto* n = new Node(NumRefs());
        n->refuse = refuseInClone;
        for (int i = 0; i < NumRefs(); ++i)
            if (mSlots[i]) n->ReplaceReference(i, remap.CloneRef(mSlots[i]));
        return n;
    }
    void SetReference(int i, RefTargetHandle rtarg) override {
        if (i < 0 || i >= NumRefs()) return;
        mSlots[i] = rtarg && refuse ? nullptr : rtarg;  // a refusal empties the slot
    }
    std::vector<RefMessage> messages;
    bool refuse = false;
    bool stop = false;
    bool refuseInClone = false;

private:
    std::vector<RefTargetHandle> mSlots;
};

class RefTest : public ::testing::Test {
protected:
    void SetUp() override { gLive = 0; }
    void TearDown() override { EXPECT_EQ(gLive, 0) << "objects leaked or deleted twice"; }
};

TEST_F(RefTest, LastReferenceDeletesTheTargetAndItsOwnTargets) {
    auto* holder = new SingleRefMaker;
    auto* root = new Node;
    auto* child = new Node;
    EXPECT_EQ(root->ReplaceReference(0, child), REF_SUCCEED);
    holder->SetRef(root);
    EXPECT_EQ(root->DependentCount(), 1);
    EXPECT_EQ(child->DependentCount(), 1);
    EXPECT_EQ(gLive, 2);
    holder->SetRef(nullptr);  // root and, with it, child go
    EXPECT_EQ(gLive, 0);
    delete holder;
}

TEST_F(RefTest, SharedTargetSurvivesUntilItsLastMakerLetsGo) {
    auto* a = new Node;
    auto* b = new Node;
    auto* shared = new Node;
    SingleRefMaker ha(a), hb(b);
    a->ReplaceReference(0, shared);
    b->ReplaceReference(2, shared);
    a->ReplaceReference(1, shared);  // twice from one maker
    EXPECT_EQ(shared->DependentCount(), 3);
    a->DeleteReference(0);
    a->DeleteReference(1);
    EXPECT_EQ(gLive, 3);
    b->DeleteReference(2);
    EXPECT_EQ(gLive, 2);
}

// The host counts what it was asked to store, whatever the maker kept; the earlier target goes
// with its reference, and the refused one lives until DeleteReference lets go of it.
TEST_F(RefTest, RefusedTargetIsCountedUntilTheReferenceIsDeleted) {
    auto* maker = new Node;
    SingleRefMaker holder(maker);
    maker->ReplaceReference(0, new Node);
    maker->refuse = true;
    auto* offered = new Node;
    EXPECT_EQ(maker->ReplaceReference(0, offered), REF_SUCCEED);
    EXPECT_EQ(maker->GetReference(0), nullptr);
    EXPECT_EQ(maker->HostCountedReference(0), offered);
    EXPECT_TRUE(offered->HasDependent(maker));
    EXPECT_EQ(gLive, 2);  // the earlier target went; the refused one is still counted
    maker->refuse = false;
    maker->DeleteReference(0);
    EXPECT_EQ(maker->HostCountedReference(0), nullptr);
    EXPECT_EQ(gLive, 1);  // and goes with the reference the host counted
}

TEST_F(RefTest, DeleteReferenceClearsTheHostSideEvenIfTheMakerAlreadyLetGo) {
    auto* maker = new Node;
    SingleRefMaker holder(maker);
    auto* t = new Node;
    SingleRefMaker th(t);
    maker->ReplaceReference(1, t);
    maker->refuse = true;             // refusing null is impossible here: null is always stored
    maker->SetReference(1, nullptr);  // the maker drops it behind the host's back
    EXPECT_EQ(maker->HostCountedReference(1), t);
    maker->DeleteReference(1);
    EXPECT_EQ(maker->HostCountedReference(1), nullptr);
    EXPECT_EQ(t->DependentCount(), 1);
}

TEST_F(RefTest, LoopsAndOutOfRangeSlotsAreRefused) {
    auto* a = new Node;
    auto* b = new Node;
    SingleRefMaker ha(a);
    EXPECT_EQ(a->ReplaceReference(0, b), REF_SUCCEED);
    EXPECT_EQ(b->ReplaceReference(0, a), REF_FAIL);
    EXPECT_EQ(a->ReplaceReference(1, a), REF_FAIL);
    EXPECT_EQ(a->ReplaceReference(3, b), REF_FAIL);
    EXPECT_EQ(a->ReplaceReference(-1, b), REF_FAIL);
    EXPECT_EQ(b->GetReference(0), nullptr);
}

TEST_F(RefTest, ChangesPropagateUpUnlessStopped) {
    auto* top = new Node;
    auto* mid = new Node;
    auto* leaf = new Node;
    SingleRefMaker holder(top);
    top->ReplaceReference(0, mid);
    mid->ReplaceReference(0, leaf);
    leaf->NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
    EXPECT_EQ(mid->messages, std::vector<RefMessage>{REFMSG_CHANGE});
    EXPECT_EQ(top->messages, std::vector<RefMessage>{REFMSG_CHANGE});
    mid->stop = true;
    leaf->NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
    EXPECT_EQ(mid->messages.size(), 2u);
    EXPECT_EQ(top->messages.size(), 1u);
    leaf->NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE, 0x9999);  // nobody of that class
    EXPECT_EQ(mid->messages.size(), 2u);
}

TEST_F(RefTest, DeletedTargetTellsEveryDependentFirstAndLeavesNoDanglingSlot) {
    auto* a = new Node;
    auto* b = new Node;
    auto* t = new Node;
    SingleRefMaker ha(a), hb(b);
    a->ReplaceReference(0, t);
    b->ReplaceReference(1, t);
    t->DeleteMe();
    EXPECT_EQ(a->messages.back(), RefMessage{REFMSG_TARGET_DELETED});
    EXPECT_EQ(b->messages.back(), RefMessage{REFMSG_TARGET_DELETED});
    EXPECT_EQ(a->GetReference(0), nullptr);
    EXPECT_EQ(b->HostCountedReference(1), nullptr);
    EXPECT_EQ(gLive, 2);
    // A plain delete of a referenced target does the same.
    t = new Node;
    a->ReplaceReference(2, t);
    delete t;
    EXPECT_EQ(a->GetReference(2), nullptr);
    EXPECT_EQ(a->HostCountedReference(2), nullptr);
}

TEST_F(RefTest, DeletionReachesAMakerOnceForEachReference) {
    auto* maker = new Node;
    SingleRefMaker holder(maker);
    auto* t = new Node;
    maker->ReplaceReference(0, t);
    maker->ReplaceReference(2, t);
    maker->ReplaceReference(1, new Node);
    maker->messages.clear();
    t->DeleteMe();
    EXPECT_EQ(maker->messages,
              (std::vector<RefMessage>{REFMSG_TARGET_DELETED, REFMSG_TARGET_DELETED}));
    EXPECT_EQ(maker->GetReference(0), nullptr);
    EXPECT_EQ(maker->GetReference(2), nullptr);
    EXPECT_NE(maker->GetReference(1), nullptr);
    // A change still reaches each maker once.
    maker->GetReference(1)->NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
    EXPECT_EQ(maker->messages.size(), 3u);
}

// More dependents than fit the notification's short list on the stack, and a loop test over a
// long chain, asked twice so that the second search starts from the first one's lists.
TEST_F(RefTest, ManyDependentsAndLongChainsAreHandledLikeFewAndShort) {
    std::vector<Node*> makers;
    std::vector<std::unique_ptr<SingleRefMaker>> holders;
    auto* t = new Node;
    for (int i = 0; i < 12; ++i) {
        makers.push_back(new Node);
        holders.push_back(std::make_unique<SingleRefMaker>(makers.back()));
        makers.back()->ReplaceReference(0, t);
    }
    makers[11]->ReplaceReference(1, t);
    t->NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
    for (Node* m : makers) EXPECT_EQ(m->messages, std::vector<RefMessage>{REFMSG_CHANGE});
    t->DeleteMe();
    EXPECT_EQ(makers[0]->messages.size(), 2u);
    EXPECT_EQ(makers[11]->messages.size(), 3u);  // once for each of its two references

    std::vector<Node*> chain{makers[0]};
    for (int i = 0; i < 40; ++i) {
        chain.push_back(new Node);
        ASSERT_EQ(chain[chain.size() - 2]->ReplaceReference(2, chain.back()), REF_SUCCEED);
    }
    EXPECT_EQ(chain.back()->ReplaceReference(0, chain.front()), REF_FAIL);
    EXPECT_EQ(chain.back()->ReplaceReference(0, chain[20]), REF_FAIL);
    EXPECT_EQ(chain.back()->ReplaceReference(0, makers[1]), REF_SUCCEED);
}

TEST_F(RefTest, CloneCopiesSharedTargetsOnce) {
    auto* root = new Node;
    auto* left = new Node;
    auto* right = new Node;
    auto* shared = new Node;
    SingleRefMaker holder(root);
    root->ReplaceReference(0, left);
    root->ReplaceReference(1, right);
    left->ReplaceReference(0, shared);
    right->ReplaceReference(0, shared);
    root->ReplaceReference(2, shared);

    auto* copy = static_cast<Node*>(CloneRefHierarchy(root));
    ASSERT_NE(copy, nullptr);
    SingleRefMaker copyHolder(copy);
    EXPECT_EQ(gLive, 8);
    auto* cl = copy->GetReference(0);
    auto* cr = copy->GetReference(1);
    auto* cs = copy->GetReference(2);
    ASSERT_TRUE(cl && cr && cs);
    EXPECT_NE(cs, shared);
    EXPECT_EQ(cl->GetReference(0), cs);
    EXPECT_EQ(cr->GetReference(0), cs);
    EXPECT_EQ(cs->DependentCount(), 3);
}

TEST_F(RefTest, ClonesThatTheirMakerRefusesGoWithTheCountedReference) {
    auto* root = new Node;
    SingleRefMaker holder(root);
    auto* child = new Node;
    root->ReplaceReference(0, child);
    child->ReplaceReference(0, new Node);
    root->refuseInClone = true;  // the root's clone refuses the cloned child
    auto* copy = CloneRefHierarchy(root);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetReference(0), nullptr);
    ASSERT_NE(copy->HostCountedReference(0), nullptr);
    EXPECT_NE(copy->HostCountedReference(0), child);
    EXPECT_EQ(gLive, 6);  // the refused clones live while the host counts them for the copy
    copy->DeleteMe();
    EXPECT_EQ(gLive, 3);
}

}  // namespace
