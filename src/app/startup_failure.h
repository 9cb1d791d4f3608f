#pragma once

// A failure that ends start-up: a box with no owner, the caption "启动失败"
// and an OK button.
void ShowStartupFailure(const char* message);
