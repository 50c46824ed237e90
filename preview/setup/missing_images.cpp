#include "preview/setup/missing_images.h"

namespace QuarelPreview {

std::size_t ReportMissingImages(const std::string& scene, const std::vector<MissingAsset>& missing,
                                std::FILE* err) {
    for (const MissingAsset& m : missing) {
        std::string line = m.reason;
        for (std::size_t i = 0; i < m.wantedBy.size(); ++i)
            line += (i == 0 ? "; wanted by " : "; ") + m.wantedBy[i];
        std::fprintf(err, "quarel-preview: %s: %s\n", scene.c_str(), line.c_str());
    }
    return missing.size();
}

}  // namespace QuarelPreview
