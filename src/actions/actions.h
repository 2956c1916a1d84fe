#pragma once
// Every action record class.

#include "actions/action.h"
#include "actions/mouse_actions.h"
#include "actions/stick_actions.h"
#include "actions/tilt_actions.h"
#include "actions/touch_actions.h"
