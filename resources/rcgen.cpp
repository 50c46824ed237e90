// quarel_rcgen: writes resource.h and QuarelMap.rc for the Windows build.
// Usage: quarel_rcgen <output directory>
#include <cstdio>
#include <fstream>
#include <string>

#include "resources/rc_writer.h"

namespace {

bool WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) std::fprintf(stderr, "quarel_rcgen: cannot write %s\n", path.c_str());
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quarel_rcgen <output directory>\n");
        return 2;
    }
    const std::string dir = argv[1];
    const bool ok = WriteFile(dir + "/resource.h", QuarelRes::RenderResourceHeader()) &&
                    WriteFile(dir + "/QuarelMap.rc", QuarelRes::RenderResourceScript());
    return ok ? 0 : 1;
}
