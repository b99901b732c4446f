// The toolkit names the program calls, as a thin layer of our own. This part
// needs no display: the objects, their properties, the procedures and the
// drawing operations over a Painter (here), the backend (ws_backend.h), the
// timers and the tick (ws_timing.h), the font and cursor tables
// (ws_fonts.h). The GTK backend
// (shell/gtk) realises windows, repaints and timers on the screen.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/painter.h"
#include "toolkit/ws_backend.h"
#include "toolkit/ws_fonts.h"
#include "toolkit/ws_timing.h"

class WSCbase;
class WSCvdrawingArea;
class WSCprocedure;

// ---- property names
const char* _WSNname();
const char* _WSNtitleString();
const char* _WSNx();
const char* _WSNy();
const char* _WSNwidth();
const char* _WSNheight();
const char* _WSNtitleBar();
const char* _WSNvis();
const char* _WSNdet();
const char* _WSNpixmapStyle();
const char* _WSNusePixmap();

// ---- objects
class WSCbase {
public:
    WSCbase(WSCbase* parent, const char* name);
    virtual ~WSCbase() = default;
    virtual const char* getClassName() const { return "WSCbase"; }
    // This object seen as the named class, or null when it is not one.
    virtual WSCbase* viewAsClass(const char* className);
    virtual void completeCreation() { created_ = true; }
    bool created() const { return created_; }

    long setPropertyV(const char* property, const char* value);
    long setPropertyV(const char* property, short value);
    long setPropertyV(const char* property, unsigned short value);
    long setPropertyV(const char* property, char value);
    long setPropertyV(const char* property, unsigned char value);
    void setVisible(unsigned char visible);

    // Reading back what was set (backend and tests).
    bool hasProperty(const std::string& property) const;
    long intProperty(const std::string& property, long fallback = 0) const;
    std::string stringProperty(const std::string& property) const;
    // Property names in the order they were first set.
    const std::vector<std::string>& propertyOrder() const { return order_; }
    // Every setPropertyV call, in order: property name and value (a string
    // value as its bytes, a number in decimal).
    const std::vector<std::pair<std::string, std::string>>& propertyCalls() const { return calls_; }
    WSCbase* parent() const { return parent_; }
    const std::vector<WSCbase*>& children() const { return children_; }
    bool visible() const { return visible_; }

private:
    struct Value { bool is_string = false; long number = 0; std::string text; };
    void store(const char* property, Value v);
    long setNumber(const char* property, long value);
    WSCbase* parent_;
    std::vector<WSCbase*> children_;
    std::map<std::string, Value> props_;
    std::vector<std::string> order_;
    std::vector<std::pair<std::string, std::string>> calls_;
    bool created_ = false;
    bool visible_ = false;
};

class WSCmainWindow : public WSCbase {
public:
    WSCmainWindow(WSCbase* parent, const char* name) : WSCbase(parent, name) {}
    const char* getClassName() const override { return "WSCmainWindow"; }
    static std::vector<WSCmainWindow*>& all();  // created main windows, in order
    void completeCreation() override;
};

class WSCprocedure {
public:
    WSCprocedure(const char* name, long trigger);
    void setFunction(void (*function)(WSCbase*), const char* name);
    long trigger() const { return trigger_; }
    void call(WSCbase* object) const { if (function_) function_(object); }
    const std::string& functionName() const { return function_name_; }
private:
    std::string name_;
    long trigger_;
    void (*function_)(WSCbase*) = nullptr;
    std::string function_name_;
};

constexpr long WSEV_EXPOSE = 9;        // trigger: called at every repaint
constexpr long WSEV_KEY_PRESS = 10;    // trigger: a key pressed in the area's window
constexpr long WSEV_MOUSE_WHEEL = 11;  // trigger: the mouse wheel turned over the area

// The key or wheel event a procedure of those triggers is called for.
enum class WSKey { Other, Left, Right, Home };
struct WSEvent {
    long trigger = 0;
    WSKey key = WSKey::Other;  // key press: the key (the keypad's too)
    bool shift = false;        // key press: Shift held (and no Ctrl or Alt)
    int wheel = 0;             // wheel: +1 up or right, -1 down or left
    int x = 0, y = 0;          // wheel: the pointer in the area, pixels
};

class WSCvdrawingArea : public WSCbase {
public:
    WSCvdrawingArea(WSCbase* parent, const char* name) : WSCbase(parent, name) {}
    const char* getClassName() const override { return "WSCvdrawingArea"; }
    static std::vector<WSCvdrawingArea*>& all();
    void completeCreation() override;

    // Drawing: state (colour, line width) persists until changed.
    void setForeColor(const char* color);
    void setLineWidth(short width);
    void drawFillRect(short x, short y, unsigned short w, unsigned short h);
    void drawLine(short x1, short y1, short x2, short y2);
    // count lines, x1, y1, x2, y2 of each in turn: drawLine for each
    void drawLines(const int* xy, size_t count);
    void drawArc(short x, short y, unsigned short w, unsigned short h, short start, short extent);
    void drawFillArc(short x, short y, unsigned short w, unsigned short h, short start,
                     short extent, char code);
    void drawString(long x, long y, unsigned long w, unsigned long h, char, char,
                    const char* text, long length);

    virtual void bindProcedure(WSCprocedure* procedure);
    virtual void askRepaint();
    // Run the procedures bound to the event's trigger with this area; they
    // read the event from event() (backend and tests).
    void deliver(const WSEvent& event);
    const WSEvent& event() const { return event_; }

    // One repaint into the given painter: the expose procedures run with
    // this area (backend, snapshot and tests).
    void repaint(Painter* painter);
    Painter* painter() const { return painter_; }
    void setPainter(Painter* painter) { painter_ = painter; }
    long repaintRequests() const { return repaint_requests_; }
    const std::vector<WSCprocedure*>& procedures() const { return procedures_; }

private:
    Painter* painter_ = nullptr;
    std::vector<WSCprocedure*> procedures_;
    long repaint_requests_ = 0;
    WSEvent event_;
};

// ---- application
class WSDappDev {
public:
    static void setInitHandler(void (*handler)());
    static std::vector<void (*)()>& initHandlers();
    void setInstanceName(const char* name) { instance_name_ = name; }
    const std::string& instanceName() const { return instance_name_; }
    // Run the registered handlers once, in order (the event loop does this first).
    static void runInitHandlers();
private:
    std::string instance_name_;
};
WSDappDev* WSGIappDev();

class WSClocaleSet {
public:
    void setDefaultEncoding(long code) { encoding_ = code; }
    long defaultEncoding() const { return encoding_; }
private:
    long encoding_ = 0;
};
WSClocaleSet* WSGIappLocaleSet();

class WSCfunctionRegister {
public:
    WSCfunctionRegister(const char* name, void* function);
    static void* lookup(const std::string& name);
};

// The entry: runs the init handlers, then the event loop (shell/gtk).
int _win_main(void* instance, void* prev, char* cmdline, int show);
