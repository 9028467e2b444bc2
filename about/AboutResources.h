// Resource identifiers of the About box's pictures (about/About.rc).
#pragma once

#include "win/IconResource.h"

// The About box's 48 x 48 true-colour picture.
#define IDI_ABOUT_PICTURE 2
