#pragma once
// The fixed pauses of backup and compaction. They let the user watch the
// progress bar move, so the window keeps painting while they last, but no
// click or key reaches it meanwhile (the work must not be started twice).

namespace tk {

// Waits `milliseconds` times the wait scale.
void waitPainting(int milliseconds);

// 1.0 in the program; tests shorten the pauses with a smaller scale (0 = no pause).
void setWaitScale(double scale);
double waitScale();

} // namespace tk
