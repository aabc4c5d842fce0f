#pragma once

// Every control kind of the platform layer.
#include "platform/bars.h"
#include "platform/buttons.h"
#include "platform/containers.h"
#include "platform/control.h"
#include "platform/edit.h"
#include "platform/form.h"
#include "platform/image.h"
#include "platform/lists.h"
#include "platform/memo.h"
#include "platform/status.h"
