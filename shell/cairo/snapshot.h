// The PNG snapshot: one repaint of a drawing area painted offscreen by the
// Cairo painter and written whole.
#pragma once
#include <string>

class WSCvdrawingArea;

// RenderSnapshotPng: one repaint of the area into an ARGB image of the
//   picture at the scale (530 x 300 at 1; each side times the scale,
//   rounded to whole pixels), written as PNG to path. The picture is
//   painted and encoded first, then written by ReplaceFile
//   (shell/cairo/snapshot_file.h): whole or not at all, through a symbolic
//   link, with the old file's mode, never into a file the user may not
//   write.
//   Returned: true on success; false with a message in *error otherwise.
bool RenderSnapshotPng(WSCvdrawingArea* area, const std::string& path, std::string* error,
                       double scale = 1.0);
// RenderSnapshotPngTo: the same PNG written to an open descriptor (standard
//   output for "--snapshot -").
bool RenderSnapshotPngTo(WSCvdrawingArea* area, int fd, std::string* error, double scale = 1.0);
