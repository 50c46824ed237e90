// Sub-animatable tables; the tree itself is declared with Animatable.
#pragma once

#include "animatable.h"
