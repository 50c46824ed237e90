#pragma once

#include "app/high/high.h"
