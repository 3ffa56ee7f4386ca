#pragma once
// Work every start of the window program needs, begun on a thread of its own
// at the first line of main() while the main thread connects to the display
// and builds the window: reading the font configuration and asking the
// scheduler about the default printer.

namespace platform
{

// Starts the work once per process; later calls do nothing.
void StartWarmUp();

} // namespace platform
