// The host's directory of class descriptors: where scene loading finds the class of each
// stored object. Loaded modules register their descriptors; the host's own classes (standard
// UV generator, bitmap, checker, multi-sub map, standard and multi materials) are always there.
#pragma once

#include <iparamb2.h>

// Adds a descriptor; a second descriptor for the same superclass and class id replaces none
// and is refused (false).
bool RegisterClassDesc(ClassDesc* cd);
void UnregisterClassDesc(ClassDesc* cd);
// The descriptor of that class, or null.
ClassDesc* FindClassDesc(SClass_ID sclass, const Class_ID& cid);
int NumRegisteredClassDescs();
ClassDesc* GetRegisteredClassDesc(int i);
