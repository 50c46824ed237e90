// The module's string table: rollout titles, combo items, parameter display names, and the
// pattern and category names of the pattern catalogue, sorted by id. Every id occurs once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "w32_resources.h"

namespace QuarelRes {

// All strings, sorted by id; built once, on first use, and never changed.
std::span<const W32StringResource> StringTable();

// The text of string `id`, or null when the module has no such string.
const wchar_t* FindString(std::uint32_t id);

}  // namespace QuarelRes
