// The backdrop's picture, read on a thread of its own while the backdrop already shows its
// colour: a large picture, or one on a share that does not answer, never keeps the desktop
// showing nor holds up the show.
#pragma once
#include "desktop/backdrop.h"
#include "platform/run_log.h"

// Starts reading the picture file name (a relative name taken in the current folder, now)
// for the backdrop, which shows it once it has been read. What happened goes to the log,
// which must live as long as the process.
void StartPictureLoading(RunLog *log, const char *name, const BackdropColor *color, HWND backdrop);
