#include "preview/picture/exr_writer.h"

#include <ImfChannelList.h>
#include <ImfFrameBuffer.h>
#include <ImfHeader.h>
#include <ImfIO.h>
#include <ImfOutputFile.h>

#include <exception>
#include <vector>

namespace QuarelPreview {
namespace {

// The encoder writes into memory; the atomic file then takes the bytes whole.
class MemoryStream : public Imf::OStream {
public:
    MemoryStream() : Imf::OStream("memory") {}
    void write(const char c[], int n) override {
        if (mAt + static_cast<std::size_t>(n) > mBytes.size()) mBytes.resize(mAt + n);
        std::copy(c, c + n, mBytes.begin() + static_cast<std::ptrdiff_t>(mAt));
        mAt += static_cast<std::size_t>(n);
    }
    uint64_t tellp() override { return mAt; }
    void seekp(uint64_t pos) override { mAt = static_cast<std::size_t>(pos); }
    const std::vector<char>& Bytes() const { return mBytes; }

private:
    std::vector<char> mBytes;
    std::size_t mAt = 0;
};

}  // namespace

bool WriteHeightExr(const Image& height, quarel_host::AtomicFile& file, std::string& error) {
    if (height.width <= 0 || height.height <= 0 || !height.IsDeep()) {
        error = "cannot write " + file.Path() + ": no 16-bit height";
        return false;
    }
    const std::size_t pixels = static_cast<std::size_t>(height.width) * height.height;
    std::vector<float> values(pixels);
    for (std::size_t i = 0; i < pixels; ++i)
        values[i] = static_cast<float>(height.rgb16[i * 3] / 65535.0);
    MemoryStream stream;
    try {
        Imf::Header header(height.width, height.height);
        header.channels().insert("Y", Imf::Channel(Imf::FLOAT));
        header.compression() = Imf::ZIP_COMPRESSION;
        Imf::FrameBuffer frame;
        frame.insert("Y", Imf::Slice(Imf::FLOAT, reinterpret_cast<char*>(values.data()),
                                     sizeof(float), sizeof(float) * height.width));
        Imf::OutputFile out(stream, header);
        out.setFrameBuffer(frame);
        out.writePixels(height.height);
    } catch (const std::exception& e) {
        error = "cannot write " + file.Path() + ": " + e.what();
        return false;
    }
    return file.Write(stream.Bytes().data(), stream.Bytes().size(), &error);
}

}  // namespace QuarelPreview
