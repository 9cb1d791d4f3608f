// Tells the player about a load that failed, as start-up failures are told.
#pragma once

#include "package/load_outcome.h"

// Shows FailureText(outcome), where it has one, in a box without owner,
// with the caption "启动失败" and an OK button. True when `outcome` is
// kLoaded.
bool ReportLoad(LoadOutcome outcome);
