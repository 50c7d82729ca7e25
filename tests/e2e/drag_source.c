// drag_source PATH X Y: a file manager's window reduced to one file. A drag started on it
// with the mouse offers file://PATH by XDND to the top-level window under the pointer, as
// a Linux file manager does; Wine turns the drop into WM_DROPFILES. Prints "ready" once
// shown and ends when the target has finished with the drop; what it took, the target shows.
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static Display *d;
static Window source, target;

static Atom A(const char *name) { return XInternAtom(d, name, False); }

static void Send(const char *type, long l1, long l2, long l3, long l4)
{
    XEvent ev = {.xclient = {.type = ClientMessage, .window = target, .message_type = A(type), .format = 32,
                             .data.l = {(long)source, l1, l2, l3, l4}}};
    XSendEvent(d, target, False, NoEventMask, &ev);
}

int main(int argc, char **argv)
{
    char uri[4096];
    if (argc != 4 || !(d = XOpenDisplay(NULL))) return 2;
    snprintf(uri, sizeof uri, "file://%s\r\n", argv[1]);  // plain ASCII paths need no escaping
    Window root = DefaultRootWindow(d), under;
    XSetWindowAttributes wa = {.override_redirect = True, .event_mask = ButtonPressMask | ButtonReleaseMask | ButtonMotionMask};
    source = XCreateWindow(d, root, atoi(argv[2]), atoi(argv[3]), 80, 40, 0, CopyFromParent, InputOutput,
                           CopyFromParent, CWOverrideRedirect | CWEventMask, &wa);
    XMapRaised(d, source);
    XSync(d, False);
    puts("ready");
    fflush(stdout);
    int waiting = 0, released = 0, x, y;
    Time when = CurrentTime;
    for (XEvent ev;;) {
        XNextEvent(d, &ev);
        if (ev.type == ButtonPress) {
            XSetSelectionOwner(d, A("XdndSelection"), source, ev.xbutton.time);
        } else if (ev.type == MotionNotify) {
            XTranslateCoordinates(d, root, root, ev.xmotion.x_root, ev.xmotion.y_root, &x, &y, &under);
            if (under == source || under == None) continue;
            if (under != target) target = under, Send("XdndEnter", 5L << 24, A("text/uri-list"), 0, 0);
            Send("XdndPosition", 0, ((long)x << 16) | y, ev.xmotion.time, A("XdndActionCopy"));
            waiting = 1;
        } else if (ev.type == ClientMessage && ev.xclient.message_type == A("XdndStatus")) {
            waiting = 0;
        } else if (ev.type == ButtonRelease) {
            released = 1, when = ev.xbutton.time;
        } else if (ev.type == SelectionRequest) {
            XSelectionRequestEvent *r = &ev.xselectionrequest;
            XChangeProperty(d, r->requestor, r->property, r->target, 8, PropModeReplace, (unsigned char *)uri, strlen(uri));
            XEvent reply = {.xselection = {.type = SelectionNotify, .requestor = r->requestor, .selection = r->selection,
                                           .target = r->target, .property = r->property, .time = r->time}};
            XSendEvent(d, r->requestor, False, NoEventMask, &reply);
        } else if (ev.type == ClientMessage && ev.xclient.message_type == A("XdndFinished")) {
            return 0;
        }
        // Let go only once the target has answered the last position.
        if (released == 1 && !waiting) {
            Send("XdndDrop", 0, when, 0, 0);
            released = 2;
        }
        XFlush(d);
    }
}
