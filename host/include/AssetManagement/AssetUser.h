// A file that a scene object uses, as the object names it.
#pragma once

#include "strclass.h"

namespace MaxSDK {
namespace AssetManagement {

class AssetUser {
public:
    AssetUser() = default;
    // The stand-in's own way to make one: the host hands them out from its asset table.
    explicit AssetUser(const MSTR& fileName) : mFileName(fileName) {}

    const MSTR& GetFileName() const { return mFileName; }

private:
    MSTR mFileName;
};

}  // namespace AssetManagement
}  // namespace MaxSDK
