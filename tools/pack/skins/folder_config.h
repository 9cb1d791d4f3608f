// --from-utf8: a skin folder's configuration written in UTF-8 becomes the
// GBK text the launcher reads, before it is checked or packed.
#pragma once

#include <optional>

#include "checks/finding.h"
#include "skins/skin_source.h"

// Nothing when the folder's config/cg.txt is converted, pure ASCII or
// missing; a finding when it is not UTF-8 or holds a character GBK lacks.
std::optional<Finding> ConvertConfigFromUtf8(FolderSkin& skin);
