#pragma once
// The marks of the results list's State column: a picture for each state, so that no state is told by
// colour alone.
#include <windows.h>
#include <commctrl.h>

#include "engine/runlist/RunListRow.h"

enum class StateImage : int { Listed, Deleted, Freed, CutShort, Missing };

StateImage StateImageOf(const RunListRow& row);

// The five pictures in StateImage order, side pixels wide and high.
HIMAGELIST CreateStateImages(int side);
