/* Everything a plug-in may use of the platform. */
#pragma once

#include "pf/clock.h"
#include "pf/controls.h"
#include "pf/dialog.h"
#include "pf/files.h"
#include "pf/html_viewer.h"
#include "pf/module.h"
#include "pf/paint.h"
#include "pf/shell.h"
#include "pf/text.h"
#include "pf/types.h"
#include "pf/window.h"
