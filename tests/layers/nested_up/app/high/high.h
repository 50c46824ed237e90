#pragma once

#include "app/low/low.h"
