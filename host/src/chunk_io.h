// Nested chunks over a byte buffer: the writer behind ISave and the reader behind ILoad.
//
// A chunk is a 2-byte id, a 4-byte payload length (little-endian) and the payload. The reader
// checks every length against the enclosing chunk, so corrupt or hostile input is reported as
// IO_ERROR and nothing is read past the data.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "host/asset_paths.h"
#include "ioapi.h"

namespace quarel_host {

class ChunkWriter : public ISave {
public:
    void BeginChunk(USHORT id) override;
    void EndChunk() override;
    int CurChunkDepth() override { return static_cast<int>(mOpen.size()); }
    IOResult Write(const void* buf, ULONG nbytes, ULONG* nwrit) override;
    IOResult WriteWString(const MCHAR* str) override;
    IOResult WriteCString(const char* str) override;
    int GetRefID(void* ptarg) override;

    void WriteU16(std::uint16_t v);
    void WriteU32(std::uint32_t v);
    void WriteI32(std::int32_t v) { WriteU32(static_cast<std::uint32_t>(v)); }
    void WriteBytes(const void* p, std::size_t n);
    // Closes whatever chunks are still open (an object that forgot an EndChunk).
    void CloseAll();
    const std::vector<std::uint8_t>& Bytes() const { return mBytes; }
    std::vector<std::uint8_t>& Bytes() { return mBytes; }
    // Set by the scene writer: the target → index table that GetRefID answers from.
    std::vector<ReferenceTarget*>* refTable = nullptr;
    // The folder of the file being written, for paths stored relative to it; empty when the
    // bytes have no file yet.
    std::string assetBase;

private:
    std::vector<std::uint8_t> mBytes;
    std::vector<std::size_t> mOpen;  // offsets of open chunk headers
};

class ChunkReader : public ILoad {
public:
    ChunkReader(const std::uint8_t* data, std::size_t size);

    IOResult OpenChunk() override;
    USHORT CurChunkID() override;
    ULONGLONG CurChunkLength() override;
    ULONGLONG CurChunkRemaining() override;
    int CurChunkDepth() override { return static_cast<int>(mStack.size()); }
    IOResult CloseChunk() override;
    IOResult Read(void* buf, ULONG nbytes, ULONG* nread) override;
    IOResult ReadWStringChunk(MCHAR** buf) override;
    IOResult ReadCStringChunk(char** buf) override;
    void RegisterPostLoadCallback(PostLoadCallback* cb) override;
    ReferenceTarget* GetObjRef(int index) override;

    bool ReadU16(std::uint16_t& v);
    bool ReadU32(std::uint32_t& v);
    bool ReadI32(std::int32_t& v);
    // Closes chunks until the depth is `depth` (after an object's Load left some open).
    void CloseTo(int depth);
    std::size_t Position() const { return mPos; }
    bool Failed() const { return mFailed; }

    std::vector<PostLoadCallback*> callbacks;
    std::vector<ReferenceTarget*>* objects = nullptr;
    // Where the objects being loaded look for the files they refer to; null: nowhere but the
    // paths as stored.
    const AssetSearch* assets = nullptr;

private:
    struct Open {
        std::uint16_t id;
        std::size_t start;  // first payload byte
        std::size_t end;    // one past the last payload byte
    };
    // The open chunks, no deeper than a file may nest them: a reader allocates nothing.
    class OpenStack {
    public:
        static constexpr std::size_t kCapacity = 64;
        std::size_t size() const { return mCount; }
        bool empty() const { return mCount == 0; }
        const Open& back() const { return mItems[mCount - 1]; }
        void push_back(const Open& o) { mItems[mCount++] = o; }
        void pop_back() { --mCount; }

    private:
        std::array<Open, kCapacity> mItems;  // only the first mCount are set
        std::size_t mCount = 0;
    };
    std::size_t LevelEnd() const { return mStack.empty() ? mSize : mStack.back().end; }
    const std::uint8_t* mData;
    std::size_t mSize;
    std::size_t mPos = 0;
    bool mFailed = false;
    OpenStack mStack;
    std::wstring mWide;
    std::string mNarrow;
};

}  // namespace quarel_host
