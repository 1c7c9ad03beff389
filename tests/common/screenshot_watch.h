// For the screenshot tools: once a dialog of this thread is up, prints
// "ready X Y WIDTH HEIGHT" (its screen rectangle) on standard output, and ends it after
// the given seconds (30 when seconds is not positive). Call before opening the dialog.
#pragma once

void WatchDialogForScreenshot(int seconds);
