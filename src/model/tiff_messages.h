#pragma once
// libtiff writes its warnings and errors to standard error in English, ahead
// of the program's own German message. Its handlers are process-wide; Qt's
// TIFF reader uses the same library.

// Makes libtiff quiet, once; what went wrong is told by the reader's own
// message. Without the library (another version) nothing changes.
void QuietTiffMessages();
