#pragma once
// Font faces for libwmf's players, opened once per thread instead of once per
// player.
//
// libwmf opens the FreeType face of every font a metafile names afresh for
// each player, and a picture is read by three of them (the frame, the scan
// and the play): opening a Type 1 face with its metrics is most of the time a
// small metafile takes. The faces are kept per thread because a FreeType face
// must not be used by two threads at once.

struct _wmfAPI; // libwmf's wmfAPI

namespace wmffonts
{

// Lets a fresh player take its fonts' faces from the calling thread's faces.
// libwmf still decides which font file a metafile's font comes from; it
// opens a file only for a font the thread has not opened before, and a
// player that failed on a font leaves nothing behind.
void ShareFaces(_wmfAPI *api);

// What the calling thread holds: its faces, and how often libwmf opened a
// face itself.
struct Counts {
    int faces = 0;
    int libwmfOpened = 0;
};
Counts ThreadCounts();

} // namespace wmffonts
