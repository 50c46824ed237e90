// Parameters by internal name, for presets and scripts: which block of a class holds a name and
// with what id, type and range.
#pragma once

#include <span>
#include <string_view>

#include "params/main_params.h"
#include "params/relief_params.h"

namespace QuarelNS {

// The blocks of each class, in registration order.
inline constexpr const BlockDecl* kQuarelMapBlocks[] = {&kMainBlock, &kBumpBlock,
                                                        &kNormalButtonBlock, &kBumpButtonBlock};
inline constexpr const BlockDecl* kNormalMapBlocks[] = {&kNormalBlock};
inline constexpr const BlockDecl* kBumpProcMapBlocks[] = {&kBumpProcBlock};
inline constexpr const BlockDecl* kCarrierBlocks[] = {&kCarrierBlock};

struct ParamRef {
    const BlockDecl* block = nullptr;
    const ParamDecl* param = nullptr;
    explicit operator bool() const { return param != nullptr; }
};

// The parameter whose internal name is `name` (ASCII, exact), searching the blocks in order;
// empty when none has it.
constexpr ParamRef FindParamByName(std::span<const BlockDecl* const> blocks,
                                   std::string_view name) {
    for (const BlockDecl* b : blocks) {
        for (const ParamDecl& p : b->params) {
            std::size_t i = 0;
            while (i < name.size() && p.name[i] != L'\0' &&
                   p.name[i] == static_cast<wchar_t>(static_cast<unsigned char>(name[i])))
                ++i;
            if (i == name.size() && p.name[i] == L'\0') return {b, &p};
        }
    }
    return {};
}

}  // namespace QuarelNS
