// The shell's half of a page command: the call's DISPPARAMS copied into the
// core's parameter block, then read by the core's rules with the system's
// code pages.
#pragma once

#include <oaidl.h>

#include <string_view>

#include "browser/page_command.h"

// The entries of `params` in their own order (last script argument first),
// a variable passed by reference (VT_BYREF | VT_VARIANT) as the value it
// holds. No block, or a block without its entries, gives an empty one.
PageCallBlock ReadPageCallBlock(const DISPPARAMS* params);

// What the call asks of the game window; `configuredTitle` is [global]
// title. Texts stay as the page wrote them; their limits are counted in the
// skin's `encoding`.
PageCommand ReadPageCommand(const DISPPARAMS* params, std::string_view configuredTitle,
                            TextEncoding encoding = TextEncoding::kGbk);
