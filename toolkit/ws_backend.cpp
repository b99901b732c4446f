// The screen backend the toolkit hands repaints, timers and visibility to.
#include "toolkit/ws_backend.h"

namespace {
WSBackend* g_backend = nullptr;
}
/*
**  WSSetBackend, WSGetBackend
**  The screen backend that realises repaints, timers and visibility.
**
**  Given:
**     backend   WSBackend*   the backend, or null (calls are only
**                            recorded: tests, the snapshot)
**
**  Returned (function value, WSGetBackend):
**               WSBackend*   the backend set, or null
*/
void WSSetBackend(WSBackend* backend) { g_backend = backend; }
WSBackend* WSGetBackend() { return g_backend; }

