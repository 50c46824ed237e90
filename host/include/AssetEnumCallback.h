// The receiver of Animatable::EnumAuxFiles: each file an object depends on, one call each.
#pragma once

#include "AssetManagement/AssetUser.h"
#include "FileEnumConstants.h"

class AssetEnumCallback {
public:
    virtual ~AssetEnumCallback() = default;
    virtual void RecordAsset(const MaxSDK::AssetManagement::AssetUser& asset) = 0;
};
