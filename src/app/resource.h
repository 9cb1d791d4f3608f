// Resource identifiers shared by the resource script and the code.
#pragma once

#define IDR_MAINFRAME 128             // the program icon
#define IDD_LAUNCHER_STANDARD 102     // login companion (carries the controls)
#define IDD_GAME 107                  // game window
#define IDD_LAUNCHER_TRANSLUCENT 129  // login background (layered picture)
