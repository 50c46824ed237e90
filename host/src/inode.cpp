#include "inode.h"

#include <algorithm>

#include "imtl.h"
#include "slot_target.h"

INode::INode(const MCHAR* name) : mName(name ? name : L"") {}

INode::~INode() {
    for (INode* c : mChildren) {
        c->mParent = nullptr;
        delete c;
    }
    mChildren.clear();
    DeleteAllRefs();
}

void INode::SetMtl(Mtl* m) {
    ReplaceReference(0, m);
}

RefTargetHandle INode::GetReference(int i) {
    return i == 0 ? mMtl : nullptr;
}

INode* INode::GetChildNode(int i) const {
    return i >= 0 && i < NumberOfChildren() ? mChildren[i] : nullptr;
}

INode* INode::CreateChild(const MCHAR* name) {
    auto* n = new INode(name);
    n->mParent = this;
    mChildren.push_back(n);
    return n;
}

bool INode::AttachChild(INode* node) {
    if (!node) return false;
    for (INode* p = this; p; p = p->mParent)
        if (p == node) return false;
    if (INode* old = node->mParent) {
        auto& siblings = old->mChildren;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), node), siblings.end());
    }
    node->mParent = this;
    mChildren.push_back(node);
    return true;
}

void INode::DeleteChild(INode* node) {
    auto it = std::find(mChildren.begin(), mChildren.end(), node);
    if (it == mChildren.end()) return;
    mChildren.erase(it);
    node->mParent = nullptr;
    delete node;
}

RefResult INode::NotifyRefChanged(const Interval&, RefTargetHandle hTarget, PartID&,
                                  RefMessage message, BOOL) {
    if (message == REFMSG_TARGET_DELETED && hTarget == mMtl) mMtl = nullptr;
    return REF_SUCCEED;
}

void INode::SetReference(int i, RefTargetHandle rtarg) {
    if (i == 0) mMtl = quarel_host::SlotTarget<Mtl>(rtarg, MATERIAL_CLASS_ID);
}
