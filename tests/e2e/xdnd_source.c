/* xdnd_source WIDTH HEIGHT X Y PATH: a file manager's window reduced to one file, for the
 * end-to-end suite. It shows a window at X,Y; a drag started on it with the mouse (button 1
 * pressed there, moved, released, all by real input through the X server) offers PATH as
 * text/uri-list by the XDND protocol to the window under the pointer, as a Linux file
 * manager does. Prints "ready" once the window is shown, then one of "dropped" (the target
 * accepted the drop and said it was finished), "refused" (no target took it) or "timeout",
 * and exits 0 only for "dropped". Built with the host's compiler: it is an X client. */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <time.h>

static Display *display;
static Window source;
static Atom aAware, aEnter, aPosition, aStatus, aLeave, aDrop, aFinished, aSelection, aActionCopy, aUriList;
static char uri_list[8192];

/* file:// URI of a path, with every byte outside the unreserved set percent-encoded (UTF-8 names). */
static void make_uri_list(const char *path)
{
    static const char keep[] = "-._~/";
    char *out = uri_list + sprintf(uri_list, "file://");
    for (const unsigned char *p = (const unsigned char *)path; *p && out < uri_list + sizeof(uri_list) - 8; p++) {
        if ((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') || (*p >= '0' && *p <= '9') || strchr(keep, *p))
            *out++ = (char)*p;
        else
            out += sprintf(out, "%%%02X", *p);
    }
    strcpy(out, "\r\n");
}

static void send_message(Window target, Atom type, long l1, long l2, long l3, long l4)
{
    XEvent ev;
    memset(&ev, 0, sizeof(ev));
    ev.xclient.type = ClientMessage;
    ev.xclient.window = target;
    ev.xclient.message_type = type;
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = (long)source;
    ev.xclient.data.l[1] = l1;
    ev.xclient.data.l[2] = l2;
    ev.xclient.data.l[3] = l3;
    ev.xclient.data.l[4] = l4;
    XSendEvent(display, target, False, NoEventMask, &ev);
    XFlush(display);
}

/* The top-level window under the root point that speaks XDND (version 5 accepted), or None. */
static Window aware_window_at(int x, int y)
{
    Window root = DefaultRootWindow(display), child = None;
    int cx, cy;
    if (!XTranslateCoordinates(display, root, root, x, y, &cx, &cy, &child) || child == None || child == source)
        return None;
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char *data = NULL;
    int aware = XGetWindowProperty(display, child, aAware, 0, 1, False, AnyPropertyType, &type, &format, &count,
                                   &after, &data) == Success && count == 1;
    if (data) XFree(data);
    return aware ? child : None;
}

static void answer_selection(XSelectionRequestEvent *req)
{
    XEvent reply;
    memset(&reply, 0, sizeof(reply));
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = req->requestor;
    reply.xselection.selection = req->selection;
    reply.xselection.target = req->target;
    reply.xselection.time = req->time;
    reply.xselection.property = None;
    if (req->target == aUriList) {
        Atom property = req->property != None ? req->property : req->target;
        XChangeProperty(display, req->requestor, property, aUriList, 8, PropModeReplace,
                        (unsigned char *)uri_list, (int)strlen(uri_list));
        reply.xselection.property = property;
    }
    XSendEvent(display, req->requestor, False, NoEventMask, &reply);
    XFlush(display);
}

/* The next event, or 0 after the deadline. */
static int next_event(XEvent *ev, time_t deadline)
{
    while (!XPending(display)) {
        time_t now = time(NULL);
        if (now >= deadline) return 0;
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(ConnectionNumber(display), &fds);
        struct timeval tv = {1, 0};
        select(ConnectionNumber(display) + 1, &fds, NULL, NULL, &tv);
    }
    XNextEvent(display, ev);
    return 1;
}

int main(int argc, char **argv)
{
    if (argc != 6) {
        fprintf(stderr, "usage: xdnd_source WIDTH HEIGHT X Y PATH\n");
        return 64;
    }
    int width = atoi(argv[1]), height = atoi(argv[2]);
    make_uri_list(argv[5]);
    display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "xdnd_source: cannot open the display\n");
        return 69;
    }
    aAware = XInternAtom(display, "XdndAware", False);
    aEnter = XInternAtom(display, "XdndEnter", False);
    aPosition = XInternAtom(display, "XdndPosition", False);
    aStatus = XInternAtom(display, "XdndStatus", False);
    aLeave = XInternAtom(display, "XdndLeave", False);
    aDrop = XInternAtom(display, "XdndDrop", False);
    aFinished = XInternAtom(display, "XdndFinished", False);
    aSelection = XInternAtom(display, "XdndSelection", False);
    aActionCopy = XInternAtom(display, "XdndActionCopy", False);
    aUriList = XInternAtom(display, "text/uri-list", False);

    int screen = DefaultScreen(display);
    XSetWindowAttributes attributes;
    attributes.override_redirect = True;  /* placed where asked, with or without a window manager */
    attributes.background_pixel = WhitePixel(display, screen);
    attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | ButtonMotionMask;
    source = XCreateWindow(display, DefaultRootWindow(display), atoi(argv[3]), atoi(argv[4]), width, height, 1,
                           CopyFromParent, InputOutput, CopyFromParent,
                           CWOverrideRedirect | CWBackPixel | CWEventMask, &attributes);
    XStoreName(display, source, "xdnd_source");
    XMapRaised(display, source);
    XSync(display, False);
    printf("ready\n");
    fflush(stdout);

    Window target = None;
    int waiting_status = 0, moved = 0, accepted = 0, released = 0, dropped = 0;
    int px = 0, py = 0;
    Time last_time = CurrentTime;
    const char *result = "timeout";
    time_t deadline = time(NULL) + 60;
    XEvent ev;
    while (next_event(&ev, deadline)) {
        if (ev.type == Expose) {
            XDrawString(display, source, DefaultGC(display, screen), 8, height / 2, argv[5], (int)strlen(argv[5]));
        } else if (ev.type == ButtonPress && ev.xbutton.button == Button1) {
            /* The press's implicit grab sends every motion and the release here. */
            XSetSelectionOwner(display, aSelection, source, ev.xbutton.time);
            last_time = ev.xbutton.time;
        } else if (ev.type == MotionNotify && !released) {
            px = ev.xmotion.x_root;
            py = ev.xmotion.y_root;
            last_time = ev.xmotion.time;
            Window under = aware_window_at(px, py);
            if (under != target) {
                if (target != None) send_message(target, aLeave, 0, 0, 0, 0);
                target = under;
                accepted = waiting_status = 0;
                if (target != None) send_message(target, aEnter, 5L << 24, (long)aUriList, 0, 0);
            }
            moved = 1;
        } else if (ev.type == ClientMessage && ev.xclient.message_type == aStatus) {
            waiting_status = 0;
            accepted = ev.xclient.data.l[1] & 1;
        } else if (ev.type == SelectionRequest) {
            answer_selection(&ev.xselectionrequest);
        } else if (ev.type == ButtonRelease && ev.xbutton.button == Button1) {
            last_time = ev.xbutton.time;
            released = 1;
        } else if (ev.type == ClientMessage && ev.xclient.message_type == aFinished && dropped) {
            result = "dropped";
            break;
        }
        if (target != None && moved && !waiting_status) {
            send_message(target, aPosition, 0, ((long)px << 16) | py, (long)last_time, (long)aActionCopy);
            waiting_status = 1;
            moved = 0;
        }
        /* The target's answer to the last position decides what the release does. */
        if (released && !dropped && !waiting_status) {
            if (target == None || !accepted) {
                if (target != None) send_message(target, aLeave, 0, 0, 0, 0);
                result = "refused";
                break;
            }
            send_message(target, aDrop, 0, (long)last_time, 0, 0);
            dropped = 1;
            deadline = time(NULL) + 20;
        }
    }
    printf("%s\n", result);
    fflush(stdout);
    XCloseDisplay(display);
    return strcmp(result, "dropped") == 0 ? 0 : 1;
}
