// Parameters by internal name, for presets and scripts: which block of a class holds a name and
// with what id, type and range.
#pragma once

#include <span>
#include <string_view>

#include "params/main_params.h"
#include "params/relief_params.h"

namespace QuarelNS {

// The blocks of each class, in registration order.
inline constexpr const BlockSpec* kQuarelMapBlocks[] = {&kMainBlock, &kBumpBlock,
                                                        &kNormalButtonBlock, &kBumpButtonBlock};
inline constexpr const BlockSpec* kNormalMapBlocks[] = {&kNormalBlock};
inline constexpr const BlockSpec* kBumpProcMapBlocks[] = {&kBumpProcBlock};
inline constexpr const BlockSpec* kCarrierBlocks[] = {&kCarrierBlock};

struct ParamRef {
    const BlockSpec* block = nullptr;
    const ParamSpec* param = nullptr;
    explicit operator bool() const { return param != nullptr; }
};

// The parameter whose internal name is `name` (ASCII, exact), searching the blocks in order;
// empty when none has it.
constexpr ParamRef FindParamByName(std::span<const BlockSpec* const> blocks,
                                   std::string_view name) {
    for (const BlockSpec* b : blocks) {
        for (const ParamSpec& p : b->params) {
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
