#include "chunk_io.h"

#include <algorithm>
#include <cstring>

namespace quarel_host {

namespace {
constexpr std::size_t kHeader = 6;
}  // namespace

// --- writer

void ChunkWriter::BeginChunk(USHORT id) {
    mOpen.push_back(mBytes.size());
    WriteU16(static_cast<std::uint16_t>(id));
    WriteU32(0);  // patched by EndChunk
}

void ChunkWriter::EndChunk() {
    if (mOpen.empty()) return;
    const std::size_t at = mOpen.back();
    mOpen.pop_back();
    const std::uint32_t len = static_cast<std::uint32_t>(mBytes.size() - at - kHeader);
    for (int i = 0; i < 4; ++i) mBytes[at + 2 + i] = static_cast<std::uint8_t>(len >> (8 * i));
}

void ChunkWriter::CloseAll() {
    while (!mOpen.empty()) EndChunk();
}

IOResult ChunkWriter::Write(const void* buf, ULONG nbytes, ULONG* nwrit) {
    if (!buf && nbytes) return IO_ERROR;
    WriteBytes(buf, nbytes);
    if (nwrit) *nwrit = nbytes;
    return IO_OK;
}

IOResult ChunkWriter::WriteWString(const MCHAR* str) {
    const std::wstring s = str ? str : L"";
    for (wchar_t c : s) WriteU32(static_cast<std::uint32_t>(c));
    WriteU32(0);
    return IO_OK;
}

IOResult ChunkWriter::WriteCString(const char* str) {
    const std::string s = str ? str : "";
    WriteBytes(s.c_str(), s.size() + 1);
    return IO_OK;
}

int ChunkWriter::GetRefID(void* ptarg) {
    if (!refTable || !ptarg) return -1;
    auto it = std::find(refTable->begin(), refTable->end(), static_cast<ReferenceTarget*>(ptarg));
    return it == refTable->end() ? -1 : static_cast<int>(it - refTable->begin());
}

void ChunkWriter::WriteU16(std::uint16_t v) {
    mBytes.push_back(static_cast<std::uint8_t>(v));
    mBytes.push_back(static_cast<std::uint8_t>(v >> 8));
}

void ChunkWriter::WriteU32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) mBytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void ChunkWriter::WriteBytes(const void* p, std::size_t n) {
    const auto* b = static_cast<const std::uint8_t*>(p);
    mBytes.insert(mBytes.end(), b, b + n);
}

// --- reader

ChunkReader::ChunkReader(const std::uint8_t* data, std::size_t size) : mData(data), mSize(size) {}

IOResult ChunkReader::OpenChunk() {
    if (mFailed) return IO_ERROR;
    const std::size_t end = LevelEnd();
    if (mPos == end) return IO_END;
    if (end - mPos < kHeader || mStack.size() >= OpenStack::kCapacity) {
        mFailed = true;
        return IO_ERROR;
    }
    const std::uint16_t id = static_cast<std::uint16_t>(mData[mPos] | (mData[mPos + 1] << 8));
    std::uint32_t len = 0;
    for (int i = 0; i < 4; ++i) len |= static_cast<std::uint32_t>(mData[mPos + 2 + i]) << (8 * i);
    if (len > end - mPos - kHeader) {
        mFailed = true;
        return IO_ERROR;
    }
    mPos += kHeader;
    mStack.push_back({id, mPos, mPos + len});
    return IO_OK;
}

USHORT ChunkReader::CurChunkID() {
    return mStack.empty() ? 0 : mStack.back().id;
}

ULONGLONG ChunkReader::CurChunkLength() {
    return mStack.empty() ? 0 : mStack.back().end - mStack.back().start;
}

ULONGLONG ChunkReader::CurChunkRemaining() {
    return LevelEnd() - mPos;
}

IOResult ChunkReader::CloseChunk() {
    if (mStack.empty()) return IO_ERROR;
    mPos = mStack.back().end;
    mStack.pop_back();
    return IO_OK;
}

void ChunkReader::CloseTo(int depth) {
    while (static_cast<int>(mStack.size()) > depth) CloseChunk();
}

IOResult ChunkReader::Read(void* buf, ULONG nbytes, ULONG* nread) {
    if (nread) *nread = 0;
    if (mFailed || (!buf && nbytes) || nbytes > LevelEnd() - mPos) return IO_ERROR;
    if (nbytes) std::memcpy(buf, mData + mPos, nbytes);
    mPos += nbytes;
    if (nread) *nread = nbytes;
    return IO_OK;
}

bool ChunkReader::ReadU16(std::uint16_t& v) {
    std::uint8_t b[2];
    if (Read(b, 2, nullptr) != IO_OK) return false;
    v = static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    return true;
}

// The scene's own fields are read this way, many to a file: no copy through Read.
bool ChunkReader::ReadU32(std::uint32_t& v) {
    if (mFailed || LevelEnd() - mPos < 4) return false;
    const std::uint8_t* b = mData + mPos;
    v = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
        (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    mPos += 4;
    return true;
}

bool ChunkReader::ReadI32(std::int32_t& v) {
    std::uint32_t u = 0;
    if (!ReadU32(u)) return false;
    v = static_cast<std::int32_t>(u);
    return true;
}

IOResult ChunkReader::ReadWStringChunk(MCHAR** buf) {
    mWide.clear();
    std::uint32_t c = 0;
    while (LevelEnd() - mPos >= 4 && ReadU32(c) && c != 0)
        mWide += static_cast<wchar_t>(c <= 0x10FFFF ? c : 0xFFFD);
    if (buf) *buf = mWide.data();
    return IO_OK;
}

IOResult ChunkReader::ReadCStringChunk(char** buf) {
    mNarrow.clear();
    while (mPos < LevelEnd() && mData[mPos] != 0) mNarrow += static_cast<char>(mData[mPos++]);
    if (mPos < LevelEnd()) ++mPos;  // the terminator
    if (buf) *buf = mNarrow.data();
    return IO_OK;
}

void ChunkReader::RegisterPostLoadCallback(PostLoadCallback* cb) {
    // Registered twice, a callback would run (and delete itself) twice.
    if (cb && std::find(callbacks.begin(), callbacks.end(), cb) == callbacks.end())
        callbacks.push_back(cb);
}

ReferenceTarget* ChunkReader::GetObjRef(int index) {
    if (!objects || index < 0 || static_cast<std::size_t>(index) >= objects->size()) return nullptr;
    return (*objects)[index];
}

}  // namespace quarel_host
