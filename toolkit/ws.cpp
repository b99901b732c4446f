// The toolkit's object model: objects, properties, drawing areas and their
// procedures, the function register, the application's single objects.
#include "toolkit/ws.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "toolkit/recorder.h"
#include "toolkit/ws_backend.h"

/*
**  _WSNname, _WSNtitleString, _WSNx, _WSNy, _WSNwidth, _WSNheight,
**  _WSNtitleBar, _WSNvis, _WSNdet, _WSNpixmapStyle, _WSNusePixmap
**  The property names.
**
**  Returned (function value):
**          const char*   the name the properties are stored under ("name",
**                        "titleString", "x", ...)
*/
const char* _WSNname() { return "name"; }
const char* _WSNtitleString() { return "titleString"; }
const char* _WSNx() { return "x"; }
const char* _WSNy() { return "y"; }
const char* _WSNwidth() { return "width"; }
const char* _WSNheight() { return "height"; }
const char* _WSNtitleBar() { return "titleBar"; }
const char* _WSNvis() { return "vis"; }
const char* _WSNdet() { return "det"; }
const char* _WSNpixmapStyle() { return "pixmapStyle"; }
const char* _WSNusePixmap() { return "usePixmap"; }

// ---- WSCbase

/*
**  WSCbase::WSCbase
**  A toolkit object under its parent.
**
**  Given:
**     parent   WSCbase*      the parent (null for a main window); the new
**                            object is appended to its children
**     name     const char*   stored as the property "name" (may be null)
*/
WSCbase::WSCbase(WSCbase* parent, const char* name) : parent_(parent)
{
    if (parent_) parent_->children_.push_back(this);
    if (name) store("name", Value{true, 0, name});
}

/*
**  WSCbase::viewAsClass
**  This object seen as the named class.
**
**  Given:
**     className   const char*   "WSCbase" or the object's own class name
**
**  Returned (function value):
**                 WSCbase*      this, or null for any other name
*/
WSCbase* WSCbase::viewAsClass(const char* className)
{
    if (!className) return nullptr;
    if (std::strcmp(className, getClassName()) == 0 || std::strcmp(className, "WSCbase") == 0)
        return this;
    return nullptr;
}

void WSCbase::store(const char* property, Value v)
{
    if (!property) return;
    auto it = props_.find(property);
    if (it == props_.end()) order_.push_back(property);
    props_[property] = std::move(v);
}

/*
**  WSCbase::setPropertyV (text, short, unsigned short, char, unsigned char)
**  Set a property.
**
**  Given:
**     p   const char*   property name (_WSN...); null is ignored
**     v   the value: a text (null stored as "") or a number
**
**  Returned (function value):
**         long          0
**
**  Notes:
**  1) The value replaces any earlier one; the name keeps its place in
**     propertyOrder, and every call is appended to propertyCalls (a
**     number in decimal).
*/
long WSCbase::setPropertyV(const char* p, const char* v)
{
    if (p) calls_.emplace_back(p, v ? v : "");
    store(p, Value{true, 0, v ? v : ""});
    return 0;
}

long WSCbase::setNumber(const char* p, long v)
{
    if (p) calls_.emplace_back(p, std::to_string(v));
    store(p, Value{false, v, {}});
    return 0;
}

long WSCbase::setPropertyV(const char* p, short v) { return setNumber(p, v); }
long WSCbase::setPropertyV(const char* p, unsigned short v) { return setNumber(p, v); }
long WSCbase::setPropertyV(const char* p, char v) { return setNumber(p, v); }
long WSCbase::setPropertyV(const char* p, unsigned char v) { return setNumber(p, v); }

/*
**  WSCbase::setVisible
**  Show (non-zero) or hide the object; the backend, if any, is told.
*/
void WSCbase::setVisible(unsigned char visible)
{
    visible_ = visible != 0;
    if (WSGetBackend()) WSGetBackend()->setVisible(this, visible_);
}

/*
**  WSCbase::hasProperty, intProperty, stringProperty
**  A property read back (backend and tests).
**
**  Given:
**     p          std::string   property name
**     fallback   long          intProperty's value when p is not a number
**
**  Returned (function value):
**                whether p was set; its number (or fallback); its text (or
**                "" when not a text)
*/
bool WSCbase::hasProperty(const std::string& p) const { return props_.count(p) != 0; }

long WSCbase::intProperty(const std::string& p, long fallback) const
{
    auto it = props_.find(p);
    return (it == props_.end() || it->second.is_string) ? fallback : it->second.number;
}

std::string WSCbase::stringProperty(const std::string& p) const
{
    auto it = props_.find(p);
    return (it == props_.end() || !it->second.is_string) ? std::string() : it->second.text;
}

// ---- windows and areas

/*
**  WSCmainWindow::all, WSCvdrawingArea::all
**  The main windows and the drawing areas whose creation was completed,
**  in order (completeCreation adds them).
*/
std::vector<WSCmainWindow*>& WSCmainWindow::all()
{
    static std::vector<WSCmainWindow*> windows;
    return windows;
}

void WSCmainWindow::completeCreation()
{
    WSCbase::completeCreation();
    all().push_back(this);
}

std::vector<WSCvdrawingArea*>& WSCvdrawingArea::all()
{
    static std::vector<WSCvdrawingArea*> areas;
    return areas;
}

void WSCvdrawingArea::completeCreation()
{
    WSCbase::completeCreation();
    all().push_back(this);
}

/*
**  WSCvdrawingArea::setForeColor, setLineWidth, drawFillRect, drawLine,
**  drawLines, drawArc, drawFillArc, drawString
**  The drawing operations, handed to the area's painter.
**
**  Given:
**     color              const char*   "#rrggbb" (ParseColor; malformed: 0)
**     width              short         line width, pixels
**     x, y, w, h         box, pixels (top left, width, height)
**     x1, y1, x2, y2     line ends, pixels
**     xy, count          count lines' ends in turn (x1, y1, x2, y2 each)
**     start, extent      arc angles, 1/64 degree from 3 o'clock,
**                        counter-clockwise (kFullCircle: a whole circle)
**     text, length       Shift_JIS text; a negative length takes it up to
**                        its NUL
**
**  Notes:
**  1) Colour and line width stay in force until changed.
**  2) Without a painter (outside a repaint) nothing is drawn; a null text
**     draws nothing. The fill code of drawFillArc and the two char
**     arguments of drawString take no part.
*/
void WSCvdrawingArea::setForeColor(const char* color)
{
    if (painter_) painter_->setColor(ParseColor(color));
}

void WSCvdrawingArea::setLineWidth(short width)
{
    if (painter_) painter_->setLineWidth(width);
}

void WSCvdrawingArea::drawFillRect(short x, short y, unsigned short w, unsigned short h)
{
    if (painter_) painter_->fillRect(x, y, w, h);
}

void WSCvdrawingArea::drawLine(short x1, short y1, short x2, short y2)
{
    if (painter_) painter_->line(x1, y1, x2, y2);
}

void WSCvdrawingArea::drawLines(const int* xy, size_t count)
{
    if (painter_) painter_->lines(xy, count);
}

void WSCvdrawingArea::drawArc(short x, short y, unsigned short w, unsigned short h, short start,
                              short extent)
{
    if (painter_) painter_->arc(x, y, w, h, start, extent, false);
}

void WSCvdrawingArea::drawFillArc(short x, short y, unsigned short w, unsigned short h,
                                  short start, short extent, char)
{
    if (painter_) painter_->arc(x, y, w, h, start, extent, true);
}

void WSCvdrawingArea::drawString(long x, long y, unsigned long w, unsigned long h, char, char,
                                 const char* text, long length)
{
    if (!painter_ || !text) return;
    size_t n = length < 0 ? std::strlen(text) : static_cast<size_t>(length);
    painter_->text(static_cast<int>(x), static_cast<int>(y), static_cast<int>(w),
                   static_cast<int>(h), text, n);
}

/*
**  WSCvdrawingArea::bindProcedure
**  Bind a procedure to the area; those with the trigger WSEV_EXPOSE run at
**  every repaint, in the order bound. Null is ignored.
*/
void WSCvdrawingArea::bindProcedure(WSCprocedure* procedure)
{
    if (procedure) procedures_.push_back(procedure);
}

/*
**  WSCvdrawingArea::askRepaint
**  Ask for a repaint: counted (repaintRequests) and passed to the backend,
**  which repaints later through repaint().
*/
void WSCvdrawingArea::askRepaint()
{
    ++repaint_requests_;
    if (WSGetBackend()) WSGetBackend()->askRepaint(this);
}

/*
**  WSCvdrawingArea::deliver
**  A key press or a turn of the mouse wheel to the area's procedures.
**
**  Given:
**     event   const WSEvent&   the trigger (WSEV_KEY_PRESS or
**                              WSEV_MOUSE_WHEEL) and what happened
**
**  Notes:
**  1) The procedures bound with the event's trigger run with this area,
**     in the order they were bound; they read the event from event(),
**     which is empty again afterwards.
*/
void WSCvdrawingArea::deliver(const WSEvent& event)
{
    event_ = event;
    for (WSCprocedure* p : procedures_)
        if (p->trigger() == event.trigger) p->call(this);
    event_ = WSEvent();
}

/*
**  WSCvdrawingArea::repaint
**  One repaint into a painter.
**
**  Given:
**     painter   Painter*   the window's, a PNG's or a recorder
**
**  Notes:
**  1) The expose procedures run with this area and the painter in force,
**     then the painter is flushed; the painter held before is restored.
*/
void WSCvdrawingArea::repaint(Painter* painter)
{
    Painter* saved = painter_;
    painter_ = painter;
    for (WSCprocedure* p : procedures_)
        if (p->trigger() == WSEV_EXPOSE) p->call(this);
    if (painter_) painter_->flush();
    painter_ = saved;
}

// ---- procedures and registers

/*
**  WSCprocedure::WSCprocedure, setFunction
**  A procedure: its name, its trigger (WSEV_EXPOSE: every repaint) and
**  the function it calls with the object, under the function's name.
*/
WSCprocedure::WSCprocedure(const char* name, long trigger) : name_(name ? name : ""), trigger_(trigger) {}

void WSCprocedure::setFunction(void (*function)(WSCbase*), const char* name)
{
    function_ = function;
    function_name_ = name ? name : "";
}

namespace {
std::map<std::string, void*>& registry()
{
    static std::map<std::string, void*> functions;
    return functions;
}
}

/*
**  WSCfunctionRegister::WSCfunctionRegister, lookup
**  Functions registered by name at static initialisation.
**
**  Given:
**     name       const char*   the function's name (null is ignored)
**     function   void*         the function
**
**  Returned (function value, lookup):
**                void*         the function registered under name, or null
*/
WSCfunctionRegister::WSCfunctionRegister(const char* name, void* function)
{
    if (name) registry()[name] = function;
}

void* WSCfunctionRegister::lookup(const std::string& name)
{
    auto it = registry().find(name);
    return it == registry().end() ? nullptr : it->second;
}

// ---- application singletons

/*
**  WSDappDev::setInitHandler, initHandlers, runInitHandlers
**  The init handlers of the application.
**
**  Notes:
**  1) setInitHandler appends a handler (null is ignored); runInitHandlers
**     runs them once, in that order (a second call does nothing).
*/
void WSDappDev::setInitHandler(void (*handler)())
{
    if (handler) initHandlers().push_back(handler);
}

std::vector<void (*)()>& WSDappDev::initHandlers()
{
    static std::vector<void (*)()> handlers;
    return handlers;
}

void WSDappDev::runInitHandlers()
{
    static bool done = false;
    if (done) return;
    done = true;
    for (auto h : initHandlers()) h();
}

/*
**  WSGIappDev, WSGIappLocaleSet, WSGIappTimer
**  The application's single objects: the application (instance name), the
**  locale settings (default encoding) and the timer.
*/
WSDappDev* WSGIappDev()
{
    static WSDappDev app;
    return &app;
}

WSClocaleSet* WSGIappLocaleSet()
{
    static WSClocaleSet locale;
    return &locale;
}

