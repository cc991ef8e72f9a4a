// The reading views the frame shows: the two-page view and the one-page view
// over their shared base.
#pragma once

#include "CBookView.h"
#include "COnePageView.h"
#include "CTwoPageView.h"
