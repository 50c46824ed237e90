#pragma once

#include "app/high/high.h"
#include "app/low/low.h"
