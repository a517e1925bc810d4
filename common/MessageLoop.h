#pragma once
// Stand-in for the toolkit application's exec() while no toolkit window exists yet: hands out the
// messages already queued and returns the code of a posted WM_QUIT, or 0 when none was posted
// (with no window, nothing could post one later).

int runPlainMessageLoop();
