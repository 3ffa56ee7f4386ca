#pragma once

// The application-wide style: the platform's style with the program's hint
// timing and tool bar glyphs of its own.
void InstallProgramStyle();
