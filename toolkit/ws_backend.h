// What a screen backend provides to the toolkit (none in tests: calls are
// recorded).
#pragma once

class WSCbase;
class WSCvdrawingArea;

class WSBackend {
public:
    virtual ~WSBackend() = default;
    virtual void askRepaint(WSCvdrawingArea* area) = 0;
    virtual void addTimer(void (*proc)(unsigned char, void*), unsigned char rate, void* data) = 0;
    virtual void setVisible(WSCbase* object, bool visible) = 0;
};
void WSSetBackend(WSBackend* backend);
WSBackend* WSGetBackend();

