// The small framework layer the dialogs are written against, one header per concept.
#pragma once

#include "AfxControls.h"
#include "AfxDialog.h"
#include "AfxDpi.h"
#include "AfxHandles.h"
#include "AfxWnd.h"
