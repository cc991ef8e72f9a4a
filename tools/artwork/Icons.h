// The program's icon (a leather-bound book with a ribbon) and the book
// file's icon (a sheet bearing that book). Sizes of 24 pixels and less get
// a plainer drawing that stays readable on so few pixels.
#pragma once

#include "VectorIcon.h"

namespace icons {

VectorIcon programIcon(int size);
VectorIcon bookTypeIcon(int size);

}  // namespace icons
