// The whole Aidkern interface.
#pragma once

#include "aidkern/AKTypes.h"
#include "aidkern/CAKCommonTools.h"
#include "aidkern/CAKFileManager.h"
#include "aidkern/CAKPathManager.h"
#include "aidkern/CAKProcessUniqueFlag.h"
#include "aidkern/CAKRegister.h"
