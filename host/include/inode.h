// INode: a node of the scene tree, with a name, a material and child nodes it owns.
#pragma once

#include <vector>

#include "ref.h"

class Mtl;

class INode : public ReferenceTarget {
public:
    explicit INode(const MCHAR* name = L"");
    ~INode() override;  // deletes the children

    SClass_ID SuperClassID() override { return BASENODE_CLASS_ID; }
    Class_ID ClassID() override { return Class_ID(BASENODE_CLASS_ID, 0); }
    void GetClassName(MSTR& s, bool) const override { s = L"Node"; }

    const MCHAR* GetName() const { return mName.data(); }
    void SetName(const MCHAR* s) { mName = s ? s : L""; }

    int NumberOfChildren() const { return static_cast<int>(mChildren.size()); }
    INode* GetChildNode(int i) const;
    INode* GetParentNode() const { return mParent; }
    BOOL IsRootNode() const { return mParent == nullptr; }

    // A new child node at the end of the children.
    INode* CreateChild(const MCHAR* name);
    // Moves `node` (and its subtree) under this node; refused if that would make a loop.
    bool AttachChild(INode* node);
    // Deletes a child and its subtree.
    void DeleteChild(INode* node);

    Mtl* GetMtl() { return mMtl; }
    void SetMtl(Mtl* m);

    int NumRefs() override { return 1; }
    RefTargetHandle GetReference(int i) override;
    RefResult NotifyRefChanged(const Interval&, RefTargetHandle hTarget, PartID&,
                               RefMessage message, BOOL) override;

protected:
    void SetReference(int i, RefTargetHandle rtarg) override;

private:
    MSTR mName;
    Mtl* mMtl = nullptr;
    INode* mParent = nullptr;
    std::vector<INode*> mChildren;
};
