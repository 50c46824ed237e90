// What the stand-in made of a block declaration. The SDK reads declarations without checking
// them; the stand-in parses each strictly and keeps the first fault it found, which it also
// prints on stderr. A module whose declarations have a fault is refused at load.
#pragma once

#include <string>

class ParamBlockDesc2;

namespace quarel_host {

// The first fault of the descriptor's declaration, its AddParam and ParamOption calls; empty
// when there is none.
std::string DeclarationError(const ParamBlockDesc2& desc);

}  // namespace quarel_host
