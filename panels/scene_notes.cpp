// The notes of the last repaint: one record, rewritten by the panels.
#include "panels/scene_notes.h"

namespace {
SceneNotes g_notes;
}

const SceneNotes& Scene_Notes() { return g_notes; }
SceneNotes& Scene_NotesToWrite() { return g_notes; }
