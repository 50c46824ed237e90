// Interface: the host application as plug-ins see it: the current time and the scene.
#pragma once

#include "inode.h"

class Interface {
public:
    virtual ~Interface() = default;
    virtual TimeValue GetTime() = 0;
    virtual void SetTime(TimeValue t, BOOL redraw = TRUE) = 0;
    virtual INode* GetRootNode() = 0;
    // Deletes every node below the root (a new, empty scene).
    virtual void ResetScene() = 0;
};

// The host's interface; there is always one.
Interface* GetCOREInterface();
