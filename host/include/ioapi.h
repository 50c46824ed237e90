// Scene I/O seen from an object: its own data as nested chunks, and callbacks that run once
// the whole scene is loaded.
//
// A chunk is an id and a length; reading never passes the end of the chunk being read (Read
// then answers IO_ERROR and reads nothing), so an object's Load cannot run past its own data.
#pragma once

#include "maxtypes.h"

class ILoad;
class ReferenceTarget;

// Runs after the whole scene is loaded, lowest Priority first, each once. A callback is
// registered as an object made with new; proc usually ends with `delete this`. If the load
// fails before the callbacks run, the host deletes the callbacks without running them.
class PostLoadCallback {
public:
    virtual ~PostLoadCallback() = default;
    virtual void proc(ILoad* iload) = 0;
    virtual int Priority() { return 5; }
};

class ISave {
public:
    virtual ~ISave() = default;
    virtual void BeginChunk(USHORT id) = 0;
    virtual void EndChunk() = 0;
    virtual int CurChunkDepth() = 0;
    virtual IOResult Write(const void* buf, ULONG nbytes, ULONG* nwrit) = 0;
    // A zero-terminated string in a chunk of its own is the caller's choice; these write the
    // characters and the terminator into the current chunk.
    virtual IOResult WriteWString(const MCHAR* str) = 0;
    virtual IOResult WriteCString(const char* str) = 0;
    // The index under which the scene stores a target, or -1 when it is not being saved.
    virtual int GetRefID(void* ptarg) = 0;
};

class ILoad {
public:
    virtual ~ILoad() = default;
    // IO_OK: a chunk is open; IO_END: no more chunks at this level; IO_ERROR: corrupt data.
    virtual IOResult OpenChunk() = 0;
    virtual USHORT CurChunkID() = 0;
    virtual ULONGLONG CurChunkLength() = 0;
    // Bytes not yet read in the current chunk (a stand-in helper for bounds checks).
    virtual ULONGLONG CurChunkRemaining() = 0;
    virtual int CurChunkDepth() = 0;
    virtual IOResult CloseChunk() = 0;
    virtual IOResult Read(void* buf, ULONG nbytes, ULONG* nread) = 0;
    // The rest of the current chunk as a zero-terminated string owned by the loader, valid
    // until the next call.
    virtual IOResult ReadWStringChunk(MCHAR** buf) = 0;
    virtual IOResult ReadCStringChunk(char** buf) = 0;
    virtual void RegisterPostLoadCallback(PostLoadCallback* cb) = 0;
    // The target stored under that index, or null.
    virtual ReferenceTarget* GetObjRef(int index) = 0;
};
